#!/usr/bin/env bash
# The search box with real input: Tab moves into it and shows the result list, typed text
# lists the matching program first and Enter runs it (a command writing a marker) and closes
# the menu; text that matches nothing runs as a command line; Esc leaves the box (the list
# hides) and a second Esc closes the menu; a click outside the menu, box and list closes
# them; a right click on a result opens its context menu.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

user_menu="$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu"
user_menu_unix=$(winepath -u "$user_menu" 2>/dev/null)
sort_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\sort.txt' 2>/dev/null)
work_win=$(e2e_winpath "$E2E_WORK")
shortcut() {  # NAME TARGET [DESCRIPTION [ARGS]]
  wine "$E2E_TESTS/make_shortcut.exe" "$user_menu\\$1.lnk" "$2" "${3:-}" "${4:-}" >/dev/null 2>&1
}
settings_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\settings.ini' 2>/dev/null)
# The user's Start Menu, sort.txt and settings.ini (which a first start writes) are put back
# as they were at the end.
saved_settings="$E2E_WORK/settings.ini.saved"
cp "$settings_file" "$saved_settings" 2>/dev/null || rm -f "$saved_settings"
saved_menu="$E2E_WORK/start-menu.saved"
[ -d "$user_menu_unix" ] && cp -a "$user_menu_unix" "$saved_menu"
saved_sort="$E2E_WORK/sort.txt.saved"
cp "$sort_file" "$saved_sort" 2>/dev/null || rm -f "$saved_sort"
restore() {
  if [ -f "$saved_settings" ]; then cp "$saved_settings" "$settings_file"; else rm -f "$settings_file"; fi
  if [ -f "$saved_sort" ]; then cp "$saved_sort" "$sort_file"; else rm -f "$sort_file"; fi
  rm -rf "$user_menu_unix"
  if [ -d "$saved_menu" ]; then cp -a "$saved_menu" "$user_menu_unix"; fi
}
rm -rf "$user_menu_unix"
mkdir -p "$user_menu_unix/Tools"
shortcut Notepad 'C:\windows\notepad.exe'
shortcut "Tools\\Marker Writer" 'C:\windows\system32\cmd.exe' "" "/c echo ran>\"$work_win\\result.txt\""

sort_inode() { stat -c %i "$sort_file" 2>/dev/null; }
sort_replaced() { test "$(sort_inode)" != "$1"; }
menu_shown() { test -n "$(e2e_visible TVRA_MenuWindow)"; }
menu_hidden() { test -z "$(e2e_visible TVRA_MenuWindow)"; }
list_shown() { test -n "$(e2e_visible ListEx)"; }
list_hidden() { test -z "$(e2e_visible ListEx)"; }
popup_shown() { test -n "$(e2e_visible '#32768')"; }
popup_gone() { test -z "$(e2e_visible '#32768')"; }
focused() { test "$(e2e_probe foreground)" = "$1"; }
# A toggle followed by a rewrite of sort.txt, repeated until the ready timer after a close
# lets it through (see the menu window script).
toggle_shows() {
  local before
  before=$(sort_inode)
  e2e_probe post-all TVRA_MainWindow 1124 1042
  e2e_eventually sort_replaced "$before" && menu_shown
}
open_search() {
  xdotool mousemove 900 200
  e2e_eventually toggle_shows && e2e_eventually focused TVRA_MenuWindow &&
    e2e_key Tab && e2e_eventually list_shown
}
# Centre of the first row of the results' list box (control 1 of the list window).
first_row() { e2e_probe item ListEx 1 | awk '{print int(($4 + $6) / 2), $5 + 10}'; }
no_cmd_left() { ! pgrep -f "cmd.exe" >/dev/null; }

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null

e2e_check "Tab moves into the box and shows the result list" open_search
list=$(e2e_visible ListEx | cut -d' ' -f4-7)
root=$(e2e_visible TVRA_MenuWindow | head -1 | cut -d' ' -f4-7)
e2e_check "the list stands at the right edge of the top level, as high as it" \
  test "$(awk '{print $1, $2, $4}' <<<"$list")" = "$(awk '{print $3, $2, $4}' <<<"$root")"
e2e_type "writ"
e2e_eventually test -n "$(first_row)"
e2e_screenshot "$E2E_WORK/results.png"
e2e_key Return
e2e_check "Enter on the first result runs it" e2e_eventually test -e "$E2E_WORK/result.txt"
e2e_check "and closes the menu" e2e_eventually menu_hidden
e2e_check "and the list" e2e_eventually list_hidden
e2e_eventually no_cmd_left

# Text that matches nothing runs as a command line.
open_search
e2e_type "cmd /c echo typed>\"$work_win\\typed.txt\""
e2e_key Return
e2e_check "unmatched text runs as a command line" e2e_eventually test -e "$E2E_WORK/typed.txt"
e2e_check "and the menu closes" e2e_eventually menu_hidden
e2e_eventually no_cmd_left

# Esc leaves the box for the level (the list hides), Esc again closes the menu.
open_search
e2e_type "writ"
e2e_key Escape
e2e_check "Esc in the box hides the list" e2e_eventually list_hidden
e2e_check "and keeps the menu" menu_shown
e2e_key Escape
e2e_check "a second Esc closes the menu" e2e_eventually menu_hidden

# A click outside the menu, the box and the list closes them.
open_search
e2e_type "writ"
e2e_click 1200 780
e2e_check "a click outside closes the menu" e2e_eventually menu_hidden
e2e_check "and the list" e2e_eventually list_hidden

# A right click on a result opens the item's context menu; Esc closes it.
open_search
e2e_type "writ"
read -r row_x row_y <<<"$(first_row)"
xdotool mousemove "$row_x" "$row_y" sleep 0.1 click 3
e2e_check "a right click on a result opens its context menu" e2e_eventually popup_shown
e2e_screenshot "$E2E_WORK/result_menu.png"
e2e_key Escape
e2e_eventually popup_gone
e2e_probe post TVRA_MainWindow 1053
e2e_eventually menu_hidden

e2e_stop tvra
restore
e2e_finish
