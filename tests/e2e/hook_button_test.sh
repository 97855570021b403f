#!/usr/bin/env bash
# The start button inside the stand-in shell, driven by a stand-in main window that
# installs the hooks from the install image: creation and place, clicks and the pushed
# picture, the Windows key, enabling, the edge panels, removal and a shell restart.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

screen_height=800
taskbar_height=40
size=48
task_list=Shell_TrayWnd/ReBarWindow32/MSTaskSwWClass
main_log_file=$E2E_WORK/main.log

main_log() { tr -d '\r' 2>/dev/null <"$main_log_file"; }
count_in() { grep -c "$1" || true; }
main_count() { main_log | count_in "$1"; }
shell_count() { e2e_shell_log | count_in "$1"; }
visible_of() { e2e_probe find "$1" | cut -d' ' -f3; }
visible_is() { test "$(visible_of "$1")" = "$2"; }
button_place_is() { test "$(e2e_probe find MyStartButton | cut -d' ' -f3-)" = "$1"; }
# LOG PATTERN N: whether the log shows more than N lines matching PATTERN.
more_than() { test "$("${1}_count" "$2")" -gt "$3"; }
# A marked message to the main window: once its log shows it, the main window has handled
# every message posted to it before (posted messages are handled in order).
marks=0
main_marker() {
  marks=$((marks + 1))
  e2e_probe post TVRA_MainWindow 32768 "$marks" 0 >/dev/null
  e2e_eventually more_than main "^main 32768 $marks " 0
}
flags() { wine reg "$@" >/dev/null 2>&1; }

start_main() {
  e2e_start main "$E2E_TESTS/fake_main_window.exe" --library "$(e2e_winpath "$E2E_BIN/hallet.dll")" \
    --dpi 96 --log "$(e2e_winpath "$main_log_file")"
}


e2e_start_shell --height "$taskbar_height"
shell_pid=$(e2e_shell_log | awk '/^ready /{print $3}')
task_list_before=$(e2e_rect "$task_list")

# The pointer stays off the button until the hover check, so its first picture is the
# normal one.
xdotool mousemove 600 300
start_main
e2e_wait_window MyStartButton >/dev/null
e2e_check "the button lives in the shell's process" \
  test "$(e2e_probe find MyStartButton | cut -d' ' -f2)" = "$shell_pid"
# Task list at x 4 in a 40 px taskbar at y 760; the button reaches 6 px below it.
e2e_check "the button sits at the task list's start, 48 px, overhanging by 6" \
  e2e_eventually button_place_is "1 4 758 52 806"
e2e_check "the task list is moved aside by the button size" \
  e2e_eventually e2e_rect_is "$task_list" "$((4 + size)) 760 1120 800"
e2e_check "one button" test "$(e2e_probe count MyStartButton)" = 1

# The hook acts on 48826 before the taskbar's own procedure logs it.
creates=$(shell_count '^taskbar 48826 ')
e2e_probe post Shell_TrayWnd 48826 >/dev/null
e2e_probe post Shell_TrayWnd 48826 >/dev/null
e2e_check "the shell handles both requests" e2e_eventually more_than shell '^taskbar 48826 ' $((creates + 1))
e2e_check "48826 twice more still gives one button" test "$(e2e_probe count MyStartButton)" = 1

centre_x=28
centre_y=782
away() { xdotool mousemove 600 300; }
pixel_now() { e2e_screenshot "$E2E_WORK/shot.png"; e2e_pixel "$E2E_WORK/shot.png" $centre_x $centre_y; }
pixel_is() { test "$(pixel_now)" = "$1"; }
pixel_is_not() { test "$(pixel_now)" != "$1"; }
drawn() { test "$1" != "#202838" -a "$1" != "#303C54" -a -n "$1"; }
normal_drawn() { normal=$(pixel_now); drawn "$normal"; }

e2e_check "the button is drawn, not the taskbar beneath" e2e_eventually normal_drawn
xdotool mousemove $centre_x $centre_y
e2e_eventually pixel_is_not "$normal"
hover=$(e2e_settled_pixel $centre_x $centre_y)
e2e_check "hovering fades to the hover picture ($normal -> $hover)" test "$hover" != "$normal"
away
e2e_check "leaving fades back" e2e_eventually pixel_is "$normal"
e2e_click $centre_x $centre_y
e2e_check "a click opens the menu" e2e_eventually bash -c "grep -q '^menu-open' '$main_log_file'"
away
pushed=$(e2e_settled_pixel $centre_x $centre_y)
e2e_check "the button shows the pushed picture while the menu is open ($normal -> $pushed)" \
  test "$pushed" != "$normal" -a "$pushed" != "$hover"
e2e_click $centre_x $centre_y
e2e_check "a second click closes the menu" e2e_eventually bash -c "grep -q '^menu-closed' '$main_log_file'"
away
e2e_check "the button is drawn released again" e2e_eventually pixel_is "$normal"

opened=$(main_count '^menu-open')
e2e_key super
e2e_check "the Windows key opens the menu" \
  e2e_eventually bash -c "test \$(grep -c '^menu-open' '$main_log_file') -gt $opened"
e2e_check "the Windows key does not reach the shell" test "$(shell_count '^start-screen')" = 0
e2e_key super
e2e_eventually bash -c "test \$(grep -c '^menu-closed' '$main_log_file') -ge 2"
toggles=$(main_count '^main 1124 ')
xdotool keydown shift key super keyup shift
e2e_check "Shift with the Windows key lets SC_TASKLIST through" \
  e2e_eventually bash -c "grep -q '^start-screen 274 61744 ' '$E2E_WORK/shell.log'"
e2e_check "Shift with the Windows key does not open the menu" \
  test "$(main_count '^main 1124 ')" = "$toggles"

# Hidden at once (checked in the Windows test, where no timer can interfere), then shown
# again by the next full-screen check, still ignoring clicks.
e2e_probe send MyStartButton 2130 0 0 >/dev/null
e2e_check "a disabled button is shown again by the full-screen check" \
  e2e_eventually visible_is MyStartButton 1
# A move onto the taskbar itself comes after the click on the button, on the same thread:
# once the shell logs it, the button has handled its click, and the marker shows whether
# that reached the main window.  (A click there would raise the taskbar over the button.)
toggles=$(main_count '^main 1124 ')
taskbar_moves=$(shell_count '^taskbar 512 ')
e2e_click $centre_x $centre_y
xdotool mousemove 1200 780
e2e_check "the shell handles the click" e2e_eventually more_than shell '^taskbar 512 ' "$taskbar_moves"
main_marker
e2e_check "and ignores clicks" test "$(main_count '^main 1124 ')" = "$toggles"
e2e_probe send MyStartButton 2130 1 0 >/dev/null
e2e_check "2130 with 1 shows it again" test "$(visible_of MyStartButton)" = 1
e2e_click $centre_x $centre_y
e2e_check "and clicks work again" \
  e2e_eventually bash -c "test \$(grep -c '^main 1124 ' '$main_log_file') -gt $toggles"
e2e_click $centre_x $centre_y  # close the menu again
away

# The edge window is 8 x 8 in the top-left corner; its mouse messages are logged by the shell.
edge_moves() { e2e_shell_log | count_in '^edge 512 '; }
# Moves over the edge window, then a right click on it, which always passes: once the shell
# logs the click, its thread has handled the moves before it.
wiggle() {
  local clicks
  clicks=$(shell_count '^edge 516 ')
  xdotool mousemove 600 300 mousemove 3 3 mousemove 5 4 click 3 mousemove 600 300
  e2e_eventually more_than shell '^edge 516 ' "$clicks"
}
# The button remembers the edge window every second from its creation, and its two-second
# full-screen check has been seen to run above, so the edge window is known by now.
moves_swallowed() { local before; before=$(edge_moves); wiggle && test "$(edge_moves)" = "$before"; }
moves_pass() { local before; before=$(edge_moves); wiggle && test "$(edge_moves)" -gt "$before"; }
flags delete 'HKCU\Software\Orvella' /v DisableCorners /f
e2e_check "DisableCorners absent: edge mouse messages are swallowed" moves_swallowed
flags add 'HKCU\Software\Orvella' /v DisableCorners /t REG_DWORD /d 1 /f
e2e_check "DisableCorners 1: swallowed" moves_swallowed
xdotool keydown shift
e2e_check "DisableCorners 1 with Shift held: they pass" moves_pass
xdotool keyup shift
before=$(shell_count '^edge 516 ')
xdotool mousemove 3 3 click 3 mousemove 600 300
e2e_check "a right click on the edge window passes" e2e_eventually more_than shell '^edge 516 ' "$before"
flags add 'HKCU\Software\Orvella' /v DisableCorners /t REG_DWORD /d 0 /f
e2e_check "DisableCorners 0: they pass" moves_pass
flags delete 'HKCU\Software\Orvella' /v DisableCorners /f

e2e_probe post TVRA_MainWindow 16 >/dev/null
e2e_check "closing the main program removes the button" e2e_probe gone MyStartButton 15000
e2e_check "and gives the task list its place back exactly" \
  e2e_eventually e2e_rect_is "$task_list" "$task_list_before"

# A shell restart: the new taskbar gets a button from the running main program.
start_main
e2e_wait_window MyStartButton >/dev/null
e2e_stop shell
e2e_probe gone MyStartButton 15000 >/dev/null
e2e_start_shell --height 60
new_shell_pid=$(e2e_shell_log | awk '/^ready /{print $3}')
e2e_check "after TaskbarCreated the new taskbar gets a button" e2e_wait_window MyStartButton 10000
e2e_check "in the new shell's process" \
  test "$(e2e_probe find MyStartButton | cut -d' ' -f2)" = "$new_shell_pid"
# 60 px taskbar at y 740: the button is centred, 6 px above and below.
e2e_check "centred in a 60 px taskbar" e2e_eventually e2e_rect_is MyStartButton "4 746 52 794"
e2e_probe post TVRA_MainWindow 16 >/dev/null
e2e_probe gone MyStartButton 15000 >/dev/null

e2e_finish
