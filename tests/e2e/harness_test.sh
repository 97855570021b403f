#!/usr/bin/env bash
# The end-to-end chain itself: the stand-in shell comes up on the private display, a
# program of ours finds its taskbar (not Wine's own hidden one), and real input sent with
# xdotool reaches our windows.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

screen_height=800

for height in 40 60; do
  e2e_start_shell --height "$height"
  ready=$(e2e_shell_log | grep '^ready ')
  shell_pid=$(awk '{print $3}' <<<"$ready")
  shell_hwnd=$(awk '{print $4}' <<<"$ready")

  taskbar=$(e2e_probe find Shell_TrayWnd)
  e2e_check "FindWindow finds the stand-in's taskbar ($height px)" \
    test "$(awk '{print $1, $2}' <<<"$taskbar")" = "$shell_hwnd $shell_pid"
  e2e_check "the taskbar spans the bottom edge, $height px high" \
    test "$(cut -d' ' -f3- <<<"$taskbar")" = "1 0 $((screen_height - height)) 1280 $screen_height"
  e2e_check "the task list is a grandchild of the taskbar, near the left edge" \
    test "$(e2e_probe find Shell_TrayWnd/ReBarWindow32/MSTaskSwWClass | awk '{print $4}')" = 4
  e2e_check "the edge window is in the top-left corner" \
    test "$(e2e_probe find EdgeUiInputWndClass | awk '{print $4, $5}')" = "0 0"
  e2e_check "the desktop shell window exists" e2e_exists ApplicationManager_DesktopShellWindow

  e2e_click 1200 $((screen_height - height / 2))  # the notification area, beside the task list
  e2e_check "a real click reaches the taskbar" \
    e2e_eventually bash -c "grep -q '^taskbar 513 ' '$E2E_WORK/shell.log'"

  e2e_key super
  e2e_check "the Windows key becomes SC_TASKLIST on the taskbar" \
    e2e_eventually bash -c "grep -q '^start-screen 274 61744 ' '$E2E_WORK/shell.log'"

  e2e_stop shell
  e2e_probe gone Shell_TrayWnd/ReBarWindow32 5000
done

e2e_finish
