#!/usr/bin/env bash
# The item context menu with real input: a right click on a shortcut shows the shell's
# entries and the program's own, a separator shows nothing, the context-menu key and
# Shift+F10 open the hot item's menu on the item, "this menu" of the sort entries reorders
# the level on screen and in sort.txt, and "New Folder" creates the typed folder in the
# user's Start Menu, which the rebuilt menu then shows.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

user_menu="$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu"
user_menu_unix=$(winepath -u "$user_menu" 2>/dev/null)
sort_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\sort.txt' 2>/dev/null)
shortcut() {  # NAME TARGET
  wine "$E2E_TESTS/make_shortcut.exe" "$user_menu\\$1.lnk" "$2" "" "" >/dev/null 2>&1
}
# The user's Start Menu and the custom order written here would reorder the next scripts'
# menus: both are put back as they were at the end.
saved_menu="$E2E_WORK/start-menu.saved"
rm -rf "$saved_menu"
[ -d "$user_menu_unix" ] && cp -a "$user_menu_unix" "$saved_menu"
# Three shortcuts, which the custom order puts first in the order Zeta, Mid, Alpha; the
# all-users Programs folder follows, then the special section from its separator on.
rm -rf "$user_menu_unix"
mkdir -p "$user_menu_unix"
for name in Alpha Mid Zeta; do shortcut "$name" 'C:\windows\notepad.exe'; done
mkdir -p "$(dirname "$sort_file")"
saved_sort="$E2E_WORK/sort.txt.saved"
cp "$sort_file" "$saved_sort" 2>/dev/null || rm -f "$saved_sort"
restore_sort() {
  if [ -f "$saved_sort" ]; then cp "$saved_sort" "$sort_file"; else rm -f "$sort_file"; fi
  rm -rf "$user_menu_unix"
  if [ -d "$saved_menu" ]; then cp -a "$saved_menu" "$user_menu_unix"; fi
}
printf '*NULL\r\n%s\\Zeta.lnk\r\n%s\\Mid.lnk\r\n%s\\Alpha.lnk\r\n|' "$user_menu" "$user_menu" \
  "$user_menu" | iconv -f UTF-8 -t UTF-16LE >"$sort_file"

# The shortcuts of the root record of sort.txt, in order.
root_order() {
  iconv -f UTF-16LE -t UTF-8 "$sort_file" 2>/dev/null | tr -d '\r' |
    awk 'NR > 1 && /^\*/ {exit} NR > 1' | grep -o '[A-Za-z]*\.lnk' | tr '\n' ' '
}
order_is() { test "$(root_order)" = "$1"; }
sort_inode() { stat -c %i "$sort_file" 2>/dev/null; }
sort_replaced() { test "$(sort_inode)" != "$1"; }

# The root level as "left top right bottom"; items are 40 pixels high from 4 below its top.
root_rect() { e2e_visible TVRA_MenuWindow | awk 'NR == 1 {print $4, $5, $6, $7}'; }
root_top() { root_rect | cut -d' ' -f2; }
item_y() { echo $(($(root_top) + 24 + 40 * $1)); }
item_x=110
separator_y() { echo $(($(root_top) + 4 + 40 * 4 + 1)); }
special_y() { echo $(($(root_top) + 4 + 40 * 4 + 3 + 20 + 40 * $1)); }
menu_shown() { test -n "$(e2e_visible TVRA_MenuWindow)"; }
menu_hidden() { test -z "$(e2e_visible TVRA_MenuWindow)"; }
popup() { e2e_visible '#32768' | head -1; }
popup_shown() { test -n "$(popup)"; }
popup_gone() { test -z "$(popup)"; }
popup_height() { popup | awk '{print $7 - $5}'; }
dialog_shown() { test -n "$(e2e_visible '#32770')"; }
dialog_gone() { test -z "$(e2e_visible '#32770')"; }
focused() { test "$(e2e_probe foreground)" = "$1"; }
# A toggle followed by a rewrite of sort.txt (see the menu window script); repeated until
# the ready timer after a close lets it through.
toggle_shows() {
  local before
  before=$(sort_inode)
  e2e_probe post-all TVRA_MainWindow 1124 1042
  e2e_eventually sort_replaced "$before" && menu_shown
}
open_menu() {
  xdotool mousemove 900 200
  e2e_eventually toggle_shows && e2e_eventually focused TVRA_MenuWindow
}
right_click() { xdotool mousemove "$1" "$2" click 3; }
# The captions of row N of the root level, without the side band and the frame.
row_crop() {  # SCREENSHOT ROW OUT
  local rect left top right
  rect=$(root_rect)
  read -r left top right _ <<<"$rect"
  convert "$1" -crop "$((right - left - 50))x36+$((left + 40))+$((top + 6 + 40 * $2))" +repage "$3"
}
# Rows differ by a shade of the level's background from row to row; captions by whole pixels.
same_picture() { test "$(compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1)" = 0; }

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null

open_menu
e2e_check "the custom order puts Zeta, Mid, Alpha first" order_is "Zeta.lnk Mid.lnk Alpha.lnk "
height_before=$(root_rect | awk '{print $4 - $2}')

# A right click on the separator opens nothing: Esc then reaches the level and closes the
# menu (an open pop-up would take it, as the next check shows).
right_click "$item_x" "$(separator_y)"
e2e_key Escape
e2e_check "Esc after a right click on the separator closes the menu" e2e_eventually menu_hidden
e2e_check "and no pop-up was shown" popup_gone

# A right click on a shortcut: the shell's entries and the program's three, far taller
# than the short menu of a special item; Esc closes the pop-up alone.
open_menu
right_click "$item_x" "$(special_y 3)"
e2e_eventually popup_shown
special_height=$(popup_height)
e2e_key Escape
e2e_eventually popup_gone
right_click "$item_x" "$(item_y 0)"
e2e_check "a right click on a shortcut shows a pop-up" e2e_eventually popup_shown
e2e_check "with the pointer at its corner" test "$(popup | awk '{print $4, $5}')" = "$item_x $(item_y 0)"
e2e_check "holding the shell's entries besides the program's (more than twice the special item's $special_height pixels)" \
  test "$(popup_height)" -gt $((2 * special_height))
e2e_screenshot "$E2E_WORK/shortcut_menu.png"
e2e_key Escape
e2e_check "Esc closes the pop-up" e2e_eventually popup_gone
e2e_check "and leaves the menu open" menu_shown

# The context-menu key and Shift+F10 open the hot item's menu on the item itself: halfway
# down it, half its height from its left edge, whatever the pointer does.
xdotool mousemove 900 200
e2e_key Down
e2e_key Menu
e2e_check "the context-menu key opens a pop-up" e2e_eventually popup_shown
e2e_check "halfway down the hot item" test "$(popup | awk '{print $5}')" = "$(item_y 1)"
e2e_key Escape
e2e_eventually popup_gone
e2e_key shift+F10
e2e_check "Shift+F10 opens the same pop-up" e2e_eventually popup_shown
e2e_check "at the same place" test "$(popup | awk '{print $5}')" = "$(item_y 1)"
e2e_key Escape
e2e_eventually popup_gone

# Sort this menu: the shortcuts come back in a to z order after the folder, on the screen
# (rows compared with the rows before, none of them hot) and in sort.txt.
xdotool mousemove "$item_x" "$(item_y 1)" mousemove $((item_x + 2)) "$(item_y 1)"
e2e_screenshot "$E2E_WORK/before_sort.png"
for row in 0 2; do row_crop "$E2E_WORK/before_sort.png" $row "$E2E_WORK/before_$row.png"; done
before=$(sort_inode)
right_click "$item_x" "$(item_y 1)"
e2e_eventually popup_shown
e2e_key Up Right Return
e2e_check "sorting rewrites sort.txt" e2e_eventually sort_replaced "$before"
e2e_check "in a to z order" order_is "Alpha.lnk Mid.lnk Zeta.lnk "
# The sorted level is shown again, but here it loses the focus to the desktop at once (the
# focus Wine hands on when the menu was hidden before the command lingers) and closes;
# opened again, it shows the new order.  Mid is hot on the third row now; Alpha moved from
# the third row to the second and Zeta from the first to the fourth.
open_menu
xdotool mousemove "$item_x" "$(item_y 2)" mousemove $((item_x + 2)) "$(item_y 2)"
sorted_rows() {
  e2e_screenshot "$E2E_WORK/after_sort.png"
  row_crop "$E2E_WORK/after_sort.png" 1 "$E2E_WORK/after_1.png"
  row_crop "$E2E_WORK/after_sort.png" 3 "$E2E_WORK/after_3.png"
  same_picture "$E2E_WORK/after_1.png" "$E2E_WORK/before_2.png" &&
    same_picture "$E2E_WORK/after_3.png" "$E2E_WORK/before_0.png"
}
e2e_check "the level shows Alpha and Zeta in their new rows" e2e_eventually sorted_rows

# New Folder: the dialog opens with the suggested name; the typed name replaces it and Enter
# creates the folder in the user's Start Menu.  The watcher sees it and the menu is rebuilt
# once, with the folder in it.
right_click "$item_x" "$(item_y 3)"
e2e_eventually popup_shown
e2e_key Up Up Up Return
e2e_check "New Folder opens the name dialog" e2e_eventually dialog_shown
e2e_screenshot "$E2E_WORK/new_folder.png"
e2e_eventually focused '#32770'
e2e_key End shift+Home
e2e_type "Made Here"
before=$(sort_inode)
e2e_key Return
e2e_check "Enter closes the dialog" e2e_eventually dialog_gone
e2e_check "the folder exists in the user's Start Menu" e2e_eventually test -d "$user_menu_unix/Made Here"
e2e_check "nothing else was created there" \
  test "$(ls "$user_menu_unix" | tr '\n' ' ')" = "Alpha.lnk Made Here Mid.lnk Zeta.lnk "
made_listed() { iconv -f UTF-16LE -t UTF-8 "$sort_file" 2>/dev/null | grep -c 'Made Here'; }
rebuilt_with_folder() { sort_replaced "$before" && test "$(made_listed)" -gt 0; }
e2e_check "the rebuild rewrites sort.txt with the new folder" e2e_eventually rebuilt_with_folder
e2e_check "once" test "$(made_listed)" -eq 2  # its line in the root record and its own header
open_menu
e2e_check "the rebuilt menu shows one more line" \
  test "$(root_rect | awk '{print $4 - $2}')" -eq $((height_before + 40))
e2e_screenshot "$E2E_WORK/rebuilt.png"

# Stopped first, so that the program cannot rewrite sort.txt after it is put back.
e2e_stop tvra
restore_sort
e2e_finish
