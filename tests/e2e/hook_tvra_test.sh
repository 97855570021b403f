#!/usr/bin/env bash
# The real main program with the stand-in shell: tvra.exe installs the hooks, the start
# button appears in the shell, a click opens the menu and shows the button pushed, a second
# click closes it, and the program's exit takes the button away and gives the task list
# back its place.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

task_list=Shell_TrayWnd/ReBarWindow32/MSTaskSwWClass
centre_x=28
centre_y=782

levels() { xdotool search --onlyvisible --classname tvra.exe 2>/dev/null | wc -l; }
levels_are() { test "$(levels)" "$@"; }
away() { xdotool mousemove 600 300; }
pixel_now() { e2e_screenshot "$E2E_WORK/shot.png"; e2e_pixel "$E2E_WORK/shot.png" $centre_x $centre_y; }
pixel_is() { test "$(pixel_now)" = "$1"; }
drawn() { test "$1" != "#202838" -a "$1" != "#303C54" -a -n "$1"; }
normal_drawn() { normal=$(pixel_now); drawn "$normal"; }
menu_focused() { test "$(e2e_probe foreground)" = TVRA_MenuWindow; }

e2e_start_shell --height 40
shell_pid=$(e2e_shell_log | awk '/^ready /{print $3}')
task_list_before=$(e2e_rect "$task_list")

# The pointer stays off the button until the click, so its first picture is the normal one.
away
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_check "tvra.exe gets a start button into the shell" e2e_wait_window MyStartButton 20000
e2e_check "in the shell's process" \
  test "$(e2e_probe find MyStartButton | cut -d' ' -f2)" = "$shell_pid"
e2e_check "at the task list's start, 48 px at 96 DPI" \
  e2e_eventually e2e_rect_is MyStartButton "4 758 52 806"
e2e_check "the task list moved aside" e2e_eventually e2e_rect_is "$task_list" "52 760 1120 800"

e2e_check "the button is drawn" e2e_eventually normal_drawn
e2e_click $centre_x $centre_y
e2e_check "a click opens the menu" e2e_eventually levels_are -ge 1
away
e2e_check "the button shows pushed while the menu is open" \
  test "$(e2e_settled_pixel $centre_x $centre_y)" != "$normal"
# The second click must meet the menu settled: shown and holding the focus.
e2e_check "the menu takes the focus" e2e_eventually menu_focused
e2e_click $centre_x $centre_y
e2e_check "a second click closes it" e2e_eventually levels_are -eq 0
away
e2e_check "and the button is released" e2e_eventually pixel_is "$normal"

e2e_probe post TVRA_MainWindow 1127 >/dev/null
e2e_check "the program's exit removes the button" e2e_probe gone MyStartButton 10000
e2e_check "and restores the task list exactly" e2e_eventually e2e_rect_is "$task_list" "$task_list_before"

e2e_finish
