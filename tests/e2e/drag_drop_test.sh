#!/usr/bin/env bash
# Drag and drop with real xdotool drags: a line dragged within the top level changes the
# order on screen and in sort.txt and no file; an all-users shortcut rested on an all-users
# folder opens that folder's level, and dropped there it moves into the same folder of the
# user's tree; an address dragged from a program of its own (another process) becomes a
# shortcut at the drop place.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

user_menu="$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu"
common_menu="$(wine cmd /c echo %ProgramData% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu"
user_unix=$(winepath -u "$user_menu" 2>/dev/null)
common_unix=$(winepath -u "$common_menu" 2>/dev/null)
sort_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\sort.txt' 2>/dev/null)
shortcut() {  # FOLDER NAME
  mkdir -p "$(dirname "$(winepath -u "$1\\$2.lnk" 2>/dev/null)")"
  wine "$E2E_TESTS/make_shortcut.exe" "$1\\$2.lnk" 'C:\windows\notepad.exe' "" "" >/dev/null 2>&1
}
# Both Start Menu folders and the custom order are put back as they were at the end.
saved="$E2E_WORK/saved"
mkdir -p "$saved"
[ -d "$user_unix" ] && cp -a "$user_unix" "$saved/user"
[ -d "$common_unix" ] && cp -a "$common_unix" "$saved/common"
cp "$sort_file" "$saved/sort.txt" 2>/dev/null
restore() {
  rm -rf "$user_unix" "$common_unix"
  [ -d "$saved/user" ] && cp -a "$saved/user" "$user_unix"
  [ -d "$saved/common" ] && cp -a "$saved/common" "$common_unix"
  if [ -f "$saved/sort.txt" ]; then cp "$saved/sort.txt" "$sort_file"; else rm -f "$sort_file"; fi
}
# The top level, in the folders' own order (no custom order yet): Alpha Beta Games Zeta from
# the user's tree, then Office and Setup from the all-users tree, then the special section.
rm -rf "$user_unix" "$common_unix" "$sort_file"
mkdir -p "$user_unix" "$common_unix"
for name in Alpha Beta Zeta 'Games\Mines'; do shortcut "$user_menu" "$name"; done
for name in 'Office\Write' Setup; do shortcut "$common_menu" "$name"; done
files_of() { (cd "$1" && find . | sort | tr '\n' ' '); }

root_order() {
  iconv -f UTF-16LE -t UTF-8 "$sort_file" 2>/dev/null | tr -d '\r' |
    awk 'NR > 1 && /^\*/ {exit} NR > 1' | grep -o '[A-Za-z]*\.lnk' | tr '\n' ' '
}
order_is() { test "$(root_order)" = "$1"; }
sort_inode() { stat -c %i "$sort_file" 2>/dev/null; }
sort_replaced() { test "$(sort_inode)" != "$1"; }

# The levels on screen, leftmost (the top level) first, as "left top right bottom".
levels() { e2e_visible TVRA_MenuWindow | awk '{print $4, $5, $6, $7}' | sort -n; }
root_top() { levels | awk 'NR == 1 {print $2}'; }
level_count() { levels | wc -l; }
# Rows of the top level are 40 pixels high from 4 below its top; of a sub-level 24.
row_upper() { echo $(($(root_top) + 4 + 40 * $1 + 8)); }
row_middle() { echo $(($(root_top) + 24 + 40 * $1)); }
item_x=110
menu_shown() { test "$(level_count)" -ge 1; }
menu_hidden() { test "$(level_count)" -eq 0; }
focused() { test "$(e2e_probe foreground)" = "$1"; }
toggle_shows() {
  local before
  before=$(sort_inode)
  e2e_probe post-all TVRA_MainWindow 1124 1042
  e2e_eventually sort_replaced "$before" && menu_shown
}
open_menu() {
  xdotool mousemove 900 400
  e2e_eventually toggle_shows && e2e_eventually focused TVRA_MenuWindow
}
# A drag with the left button from one point to another in small steps, the button still
# down at the end.
drag_to() {  # X1 Y1 X2 Y2
  local i steps=12
  move_to "$1" "$2"
  xdotool mousedown 1
  for i in $(seq $steps); do
    local x=$(($1 + ($3 - $1) * i / steps)) y=$(($2 + ($4 - $2) * i / steps))
    move_to "$x" "$y"
  done
}
release() { xdotool mouseup 1; }
pointer_at() { test "$(xdotool getmouselocation --shell | sed -n '1,2p' | tr '\n' ' ')" = "X=$1 Y=$2 "; }
# Each step of a drag is a motion of its own: the next is sent once the pointer is there.
move_to() { xdotool mousemove "$1" "$2" && e2e_eventually pointer_at "$1" "$2"; }
row_crop() {  # SCREENSHOT ROW OUT
  local left top right
  read -r left top right _ <<<"$(levels | head -1)"
  convert "$1" -crop "$((right - left - 50))x36+$((left + 40))+$((top + 6 + 40 * $2))" +repage "$3"
}
same_picture() { test "$(compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1)" = 0; }

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null

# ---- Within the top level: Zeta (row 3) into the gap above Alpha (row 0) ----
open_menu
e2e_check "the folders' order" order_is "Alpha.lnk Beta.lnk Zeta.lnk Setup.lnk "
xdotool mousemove 900 400
e2e_screenshot "$E2E_WORK/before_reorder.png"
row_crop "$E2E_WORK/before_reorder.png" 3 "$E2E_WORK/zeta_before.png"
files_before=$(files_of "$user_unix")$(files_of "$common_unix")
before=$(sort_inode)
drag_to $item_x "$(row_middle 3)" $item_x "$(row_upper 0)"
release
e2e_check "the drop rewrites sort.txt" e2e_eventually sort_replaced "$before"
e2e_check "with Zeta first" order_is "Zeta.lnk Alpha.lnk Beta.lnk Setup.lnk "
e2e_check "and no file changed" test "$(files_of "$user_unix")$(files_of "$common_unix")" = "$files_before"
# The level is shown again after the drop, but may lose the focus and close as after a sort
# command (HACKING.md); opened again it shows Zeta in the first row.
e2e_eventually menu_hidden || true
open_menu
# Another row hot, so that the first is drawn as before.
xdotool mousemove $item_x "$(row_middle 2)" mousemove $((item_x + 2)) "$(row_middle 2)"
zeta_on_top() {
  e2e_screenshot "$E2E_WORK/after_reorder.png"
  row_crop "$E2E_WORK/after_reorder.png" 0 "$E2E_WORK/zeta_after.png"
  same_picture "$E2E_WORK/zeta_after.png" "$E2E_WORK/zeta_before.png"
}
e2e_check "the level shows Zeta in the first row" e2e_eventually zeta_on_top

# ---- To another level: the all-users Setup (row 5) rests on the all-users Office (row 4) ----
drag_to $item_x "$(row_middle 5)" $item_x "$(row_middle 4)"
e2e_check "a drag resting on a folder opens its level" e2e_eventually test "$(level_count)" -eq 2
e2e_screenshot "$E2E_WORK/spring_loaded.png"
read -r sub_left sub_top sub_right _ <<<"$(levels | tail -1)"
# Into the sub-level along the Office row, then onto the lower half of its line Write.
move_to $((sub_left + 30)) "$(row_middle 4)"
move_to $((sub_left + 40)) $((sub_top + 4 + 18))
move_to $((sub_left + 42)) $((sub_top + 4 + 19))
e2e_screenshot "$E2E_WORK/marker.png"
before=$(sort_inode)
release
e2e_check "the shortcut leaves the all-users tree" e2e_eventually test ! -e "$common_unix/Setup.lnk"
e2e_check "for the same folder of the user's tree" test -f "$user_unix/Office/Setup.lnk"
e2e_check "the all-users Office keeps its own" test -f "$common_unix/Office/Write.lnk"
e2e_check "sort.txt is rewritten" e2e_eventually sort_replaced "$before"
e2e_check "with Setup in the Office record" \
  sh -c "iconv -f UTF-16LE -t UTF-8 '$sort_file' | tr -d '\r' | grep -q 'Office.Setup.lnk'"

# ---- From another process: an address dropped into the gap below Alpha (row 1) ----
address='http://orvella.example/news'
e2e_start source "$E2E_TESTS/drag_source.exe" --at 900 120 --address "$address" \
  --log "$(e2e_winpath "$E2E_WORK/source.log")"
e2e_eventually grep -qs ready "$E2E_WORK/source.log"
e2e_eventually menu_hidden || true
open_menu
links_before=$(ls "$user_unix" | grep -c '\.lnk$')
drag_to 960 180 $item_x "$(($(row_middle 1) + 10))"
move_to $((item_x + 2)) "$(($(row_middle 1) + 11))"
e2e_screenshot "$E2E_WORK/address_over.png"
release
e2e_check "the drag source saw its drag end" e2e_eventually grep -qs "^done" "$E2E_WORK/source.log"
new_link() { ls "$user_unix" | grep '\.lnk$' | grep -v -e Alpha -e Beta -e Zeta; }
e2e_check "a shortcut for the address is made in the user's Start Menu" \
  e2e_eventually test "$(ls "$user_unix" | grep -c '\.lnk$')" -eq $((links_before + 1))
e2e_check "in the gap below Alpha in the custom order" \
  e2e_eventually sh -c "test \"\$(iconv -f UTF-16LE -t UTF-8 '$sort_file' | tr -d '\r' | sed -n 4p | grep -o '[^\\\\]*\$')\" = '$(new_link)'"
tr -d '\r' <"$E2E_WORK/source.log"

e2e_stop source
e2e_stop tvra
restore
e2e_finish
