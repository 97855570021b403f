#!/usr/bin/env bash
# The main program's window with the stand-in shell: it asks the taskbar for a start button,
# answers the DPI and geometry requests, rebuilds the menu once a second after a burst of
# Start Menu changes (rewriting sort.txt once), shows a folder added outside the program,
# and leaves on the uninstaller's 1127 after the button has gone.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

start_menu=$(winepath -u 'C:\users\root\AppData\Roaming\Microsoft\Windows\Start Menu' 2>/dev/null)
sort_file=$(winepath -u 'C:\users\root\AppData\Local\TVRA\sort.txt' 2>/dev/null)
mkdir -p "$start_menu"
rm -rf "$start_menu/Added Folder"

shell_count() { e2e_shell_log | grep -c "$1" || true; }
taskbar_got() { test "$(shell_count "^taskbar $1 ")" -ge 1; }
sort_text() { iconv -f UTF-16LE -t UTF-8 "$sort_file" 2>/dev/null | tr -d '\r'; }
# Prints how many times sort.txt was replaced during the next $1 tenths of a second (each
# write replaces the file, so its inode changes).
count_rewrites() {
  local last now count=0 i
  last=$(stat -c %i "$sort_file" 2>/dev/null)
  for i in $(seq "$1"); do
    sleep 0.1
    now=$(stat -c %i "$sort_file" 2>/dev/null)
    if [ "$now" != "$last" ]; then
      count=$((count + 1))
      last=$now
    fi
  done
  echo "$count"
}

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_check "the main window comes up" e2e_wait_window TVRA_MainWindow 20000
e2e_check "48826 reaches the taskbar" e2e_eventually taskbar_got 48826
e2e_check "the start button is made" e2e_wait_window MyStartButton 10000
e2e_check "1126 answers the screen DPI" test "$(e2e_probe send TVRA_MainWindow 1126)" = 96

# 1052 answers the place of the root level as shown: right | top << 16, and its height
# written through the pointer in wParam.
root_shown() { test "$(e2e_visible TVRA_MenuWindow | wc -l)" = 1; }
menu_closed() { test -z "$(e2e_visible TVRA_MenuWindow)"; }
e2e_probe post TVRA_MainWindow 1124 >/dev/null
e2e_check "1124 shows the root level" e2e_eventually root_shown
read -r _ _ _ root_left root_top root_right root_bottom <<<"$(e2e_visible TVRA_MenuWindow)"
answer=$(e2e_probe send-out TVRA_MainWindow 1052)
answer_is() { [ -n "${root_bottom:-}" ] && test "$1" = "$(($2))"; }
e2e_check "1052 answers the root level's right and top ($answer; root ${root_left:-?} ${root_top:-?} ${root_right:-?} ${root_bottom:-?})" \
  answer_is "${answer% *}" 'root_right | root_top << 16'
e2e_check "and writes its height through wParam" \
  answer_is "${answer#* }" 'root_bottom - root_top'
e2e_probe post TVRA_MainWindow 1053 >/dev/null
e2e_check "1053 closes it" e2e_eventually menu_closed
sleep 2

# Ten entries within a second: one rebuild a second after the last, one rewrite.
(
  for i in $(seq 10); do
    : >"$start_menu/Burst App $i.txt"
    sleep 0.08
  done
) &
writer=$!
rewrites=$(count_rewrites 60)
wait "$writer"
e2e_check "ten new entries give exactly one rewrite of sort.txt (got $rewrites)" test "$rewrites" = 1
e2e_check "the rewritten file names every new entry" \
  test "$(sort_text | grep -c 'Burst App')" = 10

# A folder made outside the program appears after the rebuild, with its own record.
mkdir -p "$start_menu/Added Folder"
: >"$start_menu/Added Folder/Inside.txt"
e2e_check "a folder added outside the program appears" \
  e2e_eventually bash -c "iconv -f UTF-16LE -t UTF-8 '$sort_file' | tr -d '\r' | grep -q 'Added Folder\\\\Inside.txt'"
e2e_check "with the end mark last" test "$(tail -c 2 "$sort_file" | od -An -tx1 | tr -d ' ')" = 7c00

e2e_probe send TVRA_MainWindow 1127 >/dev/null
e2e_check "1127 asks the taskbar to remove the button" e2e_eventually taskbar_got 52938
e2e_check "the button goes" e2e_probe gone MyStartButton 10000
e2e_check "the program ends after it" e2e_probe gone TVRA_MainWindow 10000

rm -f "$start_menu"/Burst\ App\ *.txt
rm -rf "$start_menu/Added Folder"
e2e_finish
