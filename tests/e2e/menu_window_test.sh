#!/usr/bin/env bash
# The menu levels driven with real input: the root level opens beside the stand-in taskbar
# on 1124, folders open after the menu delay, keys and type-ahead navigate, a click runs a
# shortcut (a command that writes a marker file), focus leaving the menu closes it, and a
# toggle right after a close is ignored.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

taskbar_top=760  # 800 pixel screen, 40 pixel stand-in taskbar

user_menu="$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu"
sort_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\sort.txt' 2>/dev/null)
work_win=$(e2e_winpath "$E2E_WORK")
shortcut() {  # NAME TARGET [DESCRIPTION [ARGS]]
  local path="$user_menu\\$1.lnk"
  mkdir -p "$(dirname "$(winepath -u "$path" 2>/dev/null)")"
  wine "$E2E_TESTS/make_shortcut.exe" "$path" "$2" "${3:-}" "${4:-}" >/dev/null 2>&1
}
# The root level starts: Files, Folder, Marker, Notepad, Typed, then the special section.
# A custom order left by an earlier run would reorder these.
rm -rf "$(winepath -u "$user_menu" 2>/dev/null)" "$sort_file"
shortcut "Files\\Inner" 'C:\windows\notepad.exe'
shortcut "Folder\\Inner" 'C:\windows\notepad.exe'
shortcut Marker 'C:\windows\system32\cmd.exe' "Writes the click marker" "/c echo clicked>\"$work_win\\clicked.txt\""
shortcut Notepad 'C:\windows\notepad.exe'
shortcut Typed 'C:\windows\system32\cmd.exe' "" "/c echo typed>\"$work_win\\typed.txt\""

# Visible menu levels as "left top width height" lines (a one-line tooltip is lower than
# a level of one item).
levels() {
  local w
  for w in $(xdotool search --onlyvisible --classname tvra.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$HEIGHT" -ge 28 ] && echo "$X $Y $WIDTH $HEIGHT"
  done | sort -n
}
level_count() { levels | wc -l; }
root_left() { levels | head -1 | awk '{print $1}'; }
root_top() { levels | head -1 | awk '{print $2}'; }
# Centre of item K of the root level (the file items are 40 pixels high: icon 32 + 8).
item_y() { echo $(($(root_top) + 24 + 40 * $1)); }
item_x() { echo $(($(root_left) + 110)); }
levels_are() { test "$(level_count)" -eq "$1"; }
wait_levels() { e2e_eventually levels_are "$1"; }
# What the program itself thinks is shown, at once after it handled a message.
shown_levels() { e2e_visible TVRA_MenuWindow | wc -l; }
menu_focused() { test "$(e2e_probe foreground)" = TVRA_MenuWindow; }
sort_inode() { stat -c %i "$sort_file" 2>/dev/null; }
sort_replaced() { test "$(sort_inode)" != "$1"; }
# A toggle followed by a rewrite of sort.txt: posted messages are handled in order, so once
# sort.txt is replaced the toggle has been handled.  After a close the ready timer ignores
# toggles for a moment; the caller repeats this until the root level is shown (a shown one
# is never toggled again).
toggle_shows() {
  local before
  before=$(sort_inode)
  e2e_probe post-all TVRA_MainWindow 1124 1042
  e2e_eventually sort_replaced "$before" && test "$(shown_levels)" -ge 1
}
# The checks after these look at the settled menu: shown (or hidden) on the screen and,
# once open, holding the focus that keys go to.
open_menu() {
  e2e_eventually toggle_shows && wait_levels 1 && e2e_eventually menu_focused
}
close_menu() {
  e2e_probe post TVRA_MainWindow 1053
  wait_levels 0
}

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
# An answer comes once the window is made and its thread reads messages.
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null

# 1124 opens the root level beside the taskbar, focused.
e2e_probe post TVRA_MainWindow 1124
wait_levels 1
e2e_eventually menu_focused
root=$(levels | head -1)
e2e_check "1124 shows one level" test "$(level_count)" -eq 1
e2e_check "the root level stands on the taskbar at the left edge" \
  test "$(awk '{print $1, $2 + $4}' <<<"$root")" = "0 $taskbar_top"
e2e_check "the root level has the focus" test "$(e2e_probe foreground)" = TVRA_MenuWindow
e2e_screenshot "$E2E_WORK/open.png"

# Resting on a folder opens its level after the delay, beside the root level; resting on a
# plain item closes it again.
xdotool mousemove "$(item_x)" "$(item_y 1)" sleep 0.1 mousemove "$(($(item_x) + 2))" "$(item_y 1)"
e2e_check "resting on the folder opens its level" wait_levels 2
sub_left=$(levels | awk 'NR == 2 {print $1}')
e2e_check "the folder's level opens to the right, overlapping by half an icon" \
  test "$sub_left" -gt 100 -a "$sub_left" -lt "$(awk '{print $3}' <<<"$root")"
xdotool mousemove "$(item_x)" "$(item_y 3)" sleep 0.1 mousemove "$(($(item_x) + 2))" "$(item_y 3)"
e2e_check "resting on a plain item closes the folder's level" wait_levels 1

# A press on one item released on another does nothing.  Resting on the folder afterwards
# opens its level once the release has been handled (input is handled in order); running
# an item would have closed the menu.
xdotool mousemove "$(item_x)" "$(item_y 2)" mousedown 1 mousemove "$(item_x)" "$(item_y 3)" \
  mouseup 1 mousemove "$(item_x)" "$(item_y 1)" mousemove "$(($(item_x) + 2))" "$(item_y 1)"
e2e_check "press and release on different items leaves the menu open" wait_levels 2
e2e_check "and runs nothing" test ! -e "$E2E_WORK/clicked.txt"
close_menu

# Keys: Down skips to the next item, Right/Left open and close the folder, Enter opens it,
# Esc closes a sub-level and then the menu.  The pointer is parked off the menu.
xdotool mousemove 900 200
open_menu
e2e_key Right
e2e_check "Right opens the hot folder" wait_levels 2
e2e_key Left
e2e_check "Left closes it" wait_levels 1
e2e_key Down Up Return
e2e_check "Down, Up and Enter open the first item's folder" wait_levels 2
e2e_key Escape
e2e_check "Esc closes the sub-level" wait_levels 1
e2e_key Escape
e2e_check "Esc on the root level closes the menu" wait_levels 0

# Type-ahead: a letter of several captions moves the hot item to the next of them (Folder,
# then wrapping to Files) and Enter opens that one; a letter of one caption runs its item.
sub_offset() { levels | awk 'NR == 1 {top = $2} NR == 2 {print $2 - top}'; }
open_menu
e2e_type f
e2e_key Return
e2e_check "a letter of several captions keeps the menu open; Enter opens the first match after the hot item (Folder)" \
  wait_levels 2
first_offset=$(sub_offset)
e2e_key Escape
e2e_type f
e2e_key Return
wait_levels 2
e2e_check "the same letter again wraps to Files, one item higher" \
  test "$((first_offset - $(sub_offset)))" -eq 40
e2e_key Escape
e2e_type t
e2e_check "a letter of one caption runs it and closes the menu" wait_levels 0
e2e_check "the typed item's command ran" e2e_eventually test -e "$E2E_WORK/typed.txt"
# Its console may still come and go and take the input focus from a menu opened meanwhile.
e2e_eventually bash -c '! pgrep -f "cmd.exe" >/dev/null'

# Space closes the menu.
open_menu
e2e_key space
e2e_check "Space closes the menu" wait_levels 0

# A click on a shortcut runs its target and closes the menu.
open_menu
e2e_click "$(item_x)" "$(item_y 2)"
e2e_check "clicking a shortcut closes the menu" wait_levels 0
e2e_check "the clicked shortcut's command wrote its marker" \
  e2e_eventually test -e "$E2E_WORK/clicked.txt"

# Focus moving to another program closes the menu.
open_menu
e2e_click 1200 780
e2e_check "a click on another program closes the menu" wait_levels 0

# A toggle arriving right after a close (within MenuDelay/4) is ignored.  The close, the
# toggle and a rewrite of sort.txt are queued together: posted messages are handled in
# order and before any timer, so the toggle meets the close's ready timer not yet run, and
# the rewrite shows that both have been handled.
open_menu
sort_before=$(sort_inode)
e2e_probe post-all TVRA_MainWindow 1053 1124 1042
e2e_check "the close and the toggle are handled" e2e_eventually sort_replaced "$sort_before"
e2e_check "a toggle right after closing is ignored" test "$(shown_levels)" -eq 0
e2e_check "a toggle after the ready timer opens the menu again" open_menu

e2e_stop tvra
rm -f "$sort_file"
e2e_finish
