#!/usr/bin/env bash
# Ten thousand random messages, the private numbers among them with random parameters, to
# the stand-in shell's taskbar, the start button and the edge window, while the menu opens
# and closes: the shell survives and the button still works afterwards.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

main_log_file=$E2E_WORK/main.log
main_log() { tr -d '\r' 2>/dev/null <"$main_log_file"; }
task_list=Shell_TrayWnd/ReBarWindow32/MSTaskSwWClass

e2e_start_shell
shell_pid=$(e2e_shell_log | awk '/^ready /{print $3}')
task_list_before=$(e2e_probe find "$task_list" | cut -d' ' -f4-7)

e2e_start main "$E2E_TESTS/fake_main_window.exe" --library "$(e2e_winpath "$E2E_BIN/hallet.dll")" \
  --dpi 96 --soak 10000 --log "$(e2e_winpath "$main_log_file")"
# The soak ends with a create request marked 0x50AC (20652): once the shell logs it, the
# shell has handled every random message and the button must exist.
for _ in $(seq 1200); do
  e2e_shell_log | grep -q "^taskbar 48826 20652 " && break
  sleep 0.1
done
e2e_check "the soak ran to the end" bash -c "grep -q '^soak-done' '$main_log_file'"
e2e_check "the shell worked through it" grep -q "^taskbar 48826 20652 " "$E2E_WORK/shell.log"
e2e_check "the menu opened and closed during the soak" \
  test "$(main_log | grep -c '^menu-open')" -gt 0 -a "$(main_log | grep -c '^menu-closed')" -gt 0
e2e_check "the stand-in shell survived" \
  test "$(e2e_probe find Shell_TrayWnd | cut -d' ' -f2)" = "$shell_pid"
e2e_check "exactly one button, in the shell" \
  test "$(e2e_probe count MyStartButton)" = 1 -a "$(e2e_probe find MyStartButton | cut -d' ' -f2)" = "$shell_pid"

toggles_above() { test "$(main_log | grep -c '^main 1124 ')" -gt "$1"; }
button_shown() { test "$(e2e_probe find MyStartButton | cut -d' ' -f3)" = 1; }

e2e_probe post MyStartButton 2130 1 0 >/dev/null  # a random 2130 may have left it disabled
e2e_check "the button is shown" e2e_eventually button_shown
before=$(main_log | grep -c '^main 1124 ')
e2e_click 28 782
e2e_check "a click on the button still reaches the main program" e2e_eventually toggles_above "$before"

e2e_probe post TVRA_MainWindow 1127 >/dev/null
e2e_check "the button is removed at exit" e2e_probe gone MyStartButton 15000
e2e_check "and the task list is given back its place" \
  e2e_eventually e2e_rect_is "$task_list" "$task_list_before"

e2e_finish
