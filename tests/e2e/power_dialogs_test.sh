#!/usr/bin/env bash
# The log-off and shut-down dialogs with the stand-in shell and real input.  The program is
# the main program with its power calls recorded (tvra_recorded.exe, from a copy of the
# install image): ClassicExit on, "Shut Down..." in the menu fades the screen to grey and
# shows the four picture buttons, the digit 3 shuts down; a click on the desktop cancels the
# log-off dialog and the start button comes back.  ClassicExit off, the log-off item
# preselects the second entry of the shell's own shut-down dialog.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

local_data=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
data_folder=$(winepath -u "$local_data\\TVRA" 2>/dev/null)
settings="$data_folder/settings.ini"
user_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu" 2>/dev/null)
# The settings, the custom order and the user's Start Menu go back as they were at the end.
saved="$E2E_WORK/saved"
mkdir -p "$saved"
[ -f "$settings" ] && cp "$settings" "$saved/settings.ini"
[ -f "$data_folder/sort.txt" ] && cp "$data_folder/sort.txt" "$saved/sort.txt"
[ -d "$user_menu" ] && mv "$user_menu" "$saved/start-menu"
restore_settings() {
  local name
  for name in settings.ini sort.txt; do
    if [ -f "$saved/$name" ]; then cp "$saved/$name" "$data_folder/$name"; else rm -f "$data_folder/$name"; fi
  done
  rm -rf "$user_menu"
  [ -d "$saved/start-menu" ] && mv "$saved/start-menu" "$user_menu"
}
# After the programs have stopped; e2e_finish takes this trap away, so the end does the same.
trap 'e2e_cleanup; restore_settings' EXIT

# The defaults with the menu's special section reduced to log off and shut down.
write_settings() {  # CLASSIC_EXIT (yes or no)
  mkdir -p "$data_folder"
  iconv -f UTF-16LE -t UTF-8 "$E2E_BIN/settings_default.ini" |
    sed -e "s/^ShowString=.*/ShowString=LU\r/" -e "s/^ClassicExit=.*/ClassicExit=$1\r/" |
    iconv -f UTF-8 -t UTF-16LE >"$settings"
}

# The program beside its libraries and pictures, as installed.
app="$E2E_WORK/app"
mkdir -p "$app"
cp -r "$E2E_BIN/." "$app/"
cp "$E2E_TESTS/tvra_recorded.exe" "$app/"
# An empty Start Menu: the root level is the programs folder, log off and shut down.
mkdir -p "$user_menu"
power_log="$E2E_WORK/power.log"

start_program() {
  rm -f "$power_log"
  e2e_start tvra "$app/tvra_recorded.exe" --log "$(e2e_winpath "$power_log")"
  e2e_wait_window TVRA_MainWindow 15000 >/dev/null
  e2e_wait_window MyStartButton 10000 >/dev/null
  e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null
}
power_log_has() { tr -d '\r' <"$power_log" 2>/dev/null | grep -qx "$1"; }

# Visible menu levels as "left top width height".
levels() {
  e2e_visible TVRA_MenuWindow | awk '{print $4, $5, $6 - $4, $7 - $5}'
}
levels_are() { test "$(levels | wc -l)" -eq "$1"; }
open_menu() {
  e2e_probe post TVRA_MainWindow 1124 >/dev/null
  e2e_eventually levels_are 1
}
dialogs() { e2e_visible '#32770'; }
# The visible "#32770" windows of the program: the grey layer (full screen) and the dialog.
dialog_count() { test "$(dialogs | wc -l)" -eq "$1"; }

button_shown() { test -n "$(e2e_visible MyStartButton)"; }
# Clicks a special item of the root level, counted from its bottom edge: 1 is "Shut Down...",
# 2 "Log Off ..." (two 38-pixel rows above the bottom frame).
click_item() {
  local left top width height
  read -r left top width height <<<"$(levels | head -1)"
  xdotool mousemove $((left + 100)) $((top + height - 26 - 38 * ($1 - 1))) click 1
}
# The shown dialog's rectangle as "left top right bottom", the layer being the full screen.
dialog_rect() { dialogs | awk '$6 - $4 < '"$screen_width"' {print $4, $5, $6, $7}'; }
is_grey() {  # "#RRGGBB"
  [ "${1:1:2}" = "${1:3:2}" ] && [ "${1:3:2}" = "${1:5:2}" ]
}
# Whether the picture buttons' tiles show at the given grid columns of the dialog (units of
# a thirteenth of its width from the left, negative from the right; buttons are two units
# square, five sixteenths down): a pixel just inside each tile's corner is the tiles' light
# blue or teal, not the darker background.
tiles_shown() {  # SCREENSHOT COLUMN...
  local shot=$1 left top right bottom ux uy column colour x
  shift
  read -r left top right bottom <<<"$(dialog_rect)"
  ux=$(((right - left) / 13)) uy=$(((bottom - top) / 16))
  for column in "$@"; do
    if [ "$column" -lt 0 ]; then x=$((right + column * ux + 4)); else x=$((left + column * ux + 4)); fi
    colour=$(e2e_pixel "$shot" "$x" $((top + 5 * uy + 4)))
    [ $((16#${colour:5:2})) -gt 140 ] || { echo "tile at column $column: $colour"; return 1; }
  done
}
screen_width=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {split($2, d, "x"); print d[1]}')
screen_height=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {split($2, d, "x"); print d[2]}')

e2e_start_shell --height 40
write_settings yes
start_program

# --- ClassicExit on: shut down from the menu, the digit 3 ---
e2e_check "the menu opens" open_menu
click_item 1
e2e_check "Shut Down... shows the grey layer and the dialog" e2e_eventually dialog_count 2
e2e_check "the menu has closed" levels_are 0
# The button is hidden before the dialog shows (win_power_dialogs_test sees the order), but
# the shell's full-screen check shows it again within 2 s, as the dialog is not full screen:
# what is visible now proves nothing either way.
# 96 dpi: a quarter of the screen, centred.
w=$((screen_width / 4)) h=$((screen_height / 4))
x=$(((screen_width - w) / 2)) y=$(((screen_height - h) / 2))
e2e_check "the dialog is a quarter of the screen, centred ($(dialog_rect))" \
  test "$(dialog_rect)" = "$x $y $((x + w)) $((y + h))"
e2e_screenshot "$E2E_WORK/shut-down.png"
e2e_check "the taskbar behind is grey (stand-in colour #202838 turned $(e2e_pixel "$E2E_WORK/shut-down.png" 500 $((screen_height - 20))))" \
  is_grey "$(e2e_pixel "$E2E_WORK/shut-down.png" 500 $((screen_height - 20)))"
e2e_check "four picture buttons show their tiles" \
  tiles_shown "$E2E_WORK/shut-down.png" 1 4 7 10
e2e_key 3
e2e_check "the digit 3 shuts down: privilege, then ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0x80020003)" \
  e2e_eventually power_log_has "end-session 5 2147614723 0"
e2e_check "after the privilege" test "$(tr -d '\r' <"$power_log" | head -1)" = "privilege 0 0 0"
e2e_check "the dialog and the layer go" e2e_eventually dialog_count 0
e2e_check "the start button is shown again" e2e_eventually button_shown

# --- the log-off dialog, cancelled by a click on the desktop ---
: >"$power_log"
e2e_check "the menu opens again" e2e_eventually open_menu
click_item 2
e2e_check "Log Off shows the dialog" e2e_eventually dialog_count 2
e2e_screenshot "$E2E_WORK/log-off.png"
e2e_check "with two picture buttons" tiles_shown "$E2E_WORK/log-off.png" 3 -5
xdotool mousemove 40 40 click 1
e2e_check "a click on the desktop closes it" e2e_eventually dialog_count 0
e2e_check "and the start button is shown again" e2e_eventually button_shown
# The action would have been made before the button was shown again.
e2e_check "as cancelled: nothing was called" test ! -s "$power_log"

e2e_probe send TVRA_MainWindow 1127 >/dev/null
e2e_check "the program ends" e2e_probe gone TVRA_MainWindow 10000

# --- ClassicExit off: the shell's dialog with the second entry preselected ---
write_settings no
start_program
e2e_check "the menu opens" open_menu
click_item 2
e2e_check "the shell is asked for its dialog" e2e_eventually power_log_has "shell-dialog 0 0 0"
selected() { e2e_shell_log | grep -q "^shutdown-dialog 273 67537 1$"; }
e2e_check "its second entry is selected and the dialog told" e2e_eventually selected
e2e_check "the start button is shown again" e2e_eventually button_shown
e2e_probe send TVRA_MainWindow 1127 >/dev/null
e2e_check "the program ends" e2e_probe gone TVRA_MainWindow 10000

e2e_cleanup
restore_settings
e2e_finish
