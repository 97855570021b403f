#!/usr/bin/env bash
# The recent items level and the expanded control panel with real input: with documents in
# the shell's recent record, hovering "Recent Items" and then its documents line opens a level
# showing them; a click on one opens it (a batch file that writes a marker file); "Clear recent
# items" clears the record.  With ShowControlEx on, the control panel line opens the level of
# the registered entries.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

recent_key='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs'
recent_win='C:\users\root\AppData\Roaming\Microsoft\Windows\Recent'
targets_win='C:\users\root\orvella-recent-targets'
menu_win='C:\users\root\AppData\Roaming\Microsoft\Windows\Start Menu'
recent_dir=$(winepath -u "$recent_win" 2>/dev/null)
targets_dir=$(winepath -u "$targets_win" 2>/dev/null)
user_menu=$(winepath -u "$menu_win" 2>/dev/null)
data=$(winepath -u 'C:\users\root\AppData\Local\TVRA' 2>/dev/null)
panel_space='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\ControlPanel\NameSpace'
panel_ids=('{0E5E1A00-0000-4000-8000-0000000000E1}' '{0E5E1A00-0000-4000-8000-0000000000E2}'
           '{0E5E1A00-0000-4000-8000-0000000000E3}')
# One registry import per change: each Wine process costs a good part of a second.
import_reg() {  # FILE with the body of a .reg file
  printf 'Windows Registry Editor Version 5.00\r\n\r\n' | cat - "$1" >"$1.reg"
  wine reg import "$(winepath -w "$1.reg" 2>/dev/null)" >/dev/null 2>&1
}

# Everything changed here is put back at the end, also when the script stops early:
# settings.ini, sort.txt, the user's Start Menu (emptied, so that the rows of the first level
# are known), the Recent folder, the recent record and the control panel registrations.
saved=$E2E_WORK/saved
mkdir -p "$saved/recent" "$data" "$recent_dir"
cp "$data/settings.ini" "$saved/settings.ini" 2>/dev/null
cp "$data/sort.txt" "$saved/sort.txt" 2>/dev/null
[ -d "$user_menu" ] && cp -a "$user_menu" "$saved/start-menu"
cp -a "$recent_dir/." "$saved/recent/"
had_record=0
wine reg export "$recent_key" "$(winepath -w "$saved/record.reg" 2>/dev/null)" /y >/dev/null 2>&1 &&
  had_record=1
restore() {
  [ -n "${restored:-}" ] && return
  restored=1
  for file in settings.ini sort.txt; do
    if [ -f "$saved/$file" ]; then cp "$saved/$file" "$data/$file"; else rm -f "$data/$file"; fi
  done
  rm -rf "$user_menu"
  [ -d "$saved/start-menu" ] && cp -a "$saved/start-menu" "$user_menu"
  rm -rf "$recent_dir" "$targets_dir"
  mkdir -p "$recent_dir"
  cp -a "$saved/recent/." "$recent_dir/"
  {
    printf '[-%s]\r\n\r\n' "$recent_key"
    for id in "${panel_ids[@]}"; do
      printf '[-%s\\%s]\r\n\r\n[-HKEY_CLASSES_ROOT\\CLSID\\%s]\r\n\r\n' "$panel_space" "$id" "$id"
    done
  } >"$E2E_WORK/remove"
  import_reg "$E2E_WORK/remove"
  [ "$had_record" = 1 ] && wine reg import "$(winepath -w "$saved/record.reg" 2>/dev/null)" >/dev/null 2>&1
}
trap 'e2e_cleanup; restore' EXIT

rm -rf "$user_menu" "$recent_dir" "$targets_dir" "$data/sort.txt"
mkdir -p "$user_menu" "$recent_dir" "$targets_dir"
iconv -f UTF-16LE -t UTF-8 "$E2E_BUILD/settings_default.ini" |
  sed 's/^ShowControlEx=no/ShowControlEx=yes/' | iconv -f UTF-8 -t UTF-16LE >"$data/settings.ini"

# The recent record in the shell's layout: three documents, most recent first, each with its
# shortcut in the Recent folder and a numbered value ending with the shortcut's name.
marker=$targets_dir/opened.marker
printf '@echo opened> "%s\\opened.marker"\r\n' "$targets_win" >"$targets_dir/open me.bat"
printf 'b\r\n' >"$targets_dir/beta notes.txt"
printf 'c\r\n' >"$targets_dir/gamma sheet.txt"
python3 - "$recent_key" "$panel_space" "${panel_ids[@]}" >"$E2E_WORK/record" <<'PY'
import sys
key, space, ids = sys.argv[1], sys.argv[2], sys.argv[3:]
def hexbytes(b): return ",".join("%02x" % x for x in b)
names = ["open me.bat", "beta notes.txt", "gamma sheet.txt"]
print("[-%s]\r\n\r\n[%s]\r" % (key, key))
for number, name in enumerate(names):
    value = "document".encode("utf-16-le") + bytes([0, 0, 0x32, 0x11, 4, 0xEF, 0xBE, 0x2A, 0, 0, 0])
    value += (name + ".lnk").encode("utf-16-le") + bytes([0, 0, 0x14, 0, 0, 0])
    print('"%d"=hex:%s\r' % (number, hexbytes(value)))
order = b"".join(n.to_bytes(4, "little") for n in range(len(names))) + b"\xff\xff\xff\xff"
print('"MRUListEx"=hex:%s\r\n\r' % hexbytes(order))
# Three control panel entries, so that their level cannot be a lone placeholder.
for i, id in enumerate(ids):
    print("[%s\\%s]\r\n\r" % (space, id))
    print('[HKEY_CLASSES_ROOT\\CLSID\\%s]\r\n@="Orvella Probe %d"\r\n\r' % (id, i))
    print('[HKEY_CLASSES_ROOT\\CLSID\\%s\\DefaultIcon]\r\n@="%%SystemRoot%%\\\\system32\\\\shell32.dll,5"\r\n\r' % id)
PY
import_reg "$E2E_WORK/record"
for name in "open me.bat" "beta notes.txt" "gamma sheet.txt"; do
  wine "$E2E_TESTS/make_shortcut.exe" "$recent_win\\$name.lnk" "$targets_win\\$name" >/dev/null 2>&1
done

# The levels open to the right of each other: the Nth from the left.
level_rect() {
  e2e_visible TVRA_MenuWindow | sort -n -k4 | awk -v n="$1" 'NR == n {print $4, $5, $6, $7}'
}
levels_shown() { test "$(e2e_visible TVRA_MenuWindow | wc -l)" -ge "$1"; }
menu_hidden() { test -z "$(e2e_visible TVRA_MenuWindow)"; }
focused() { test "$(e2e_probe foreground)" = "$1"; }
toggle_shows() {
  e2e_probe post TVRA_MainWindow 1124 >/dev/null
  e2e_eventually_within 2 levels_shown 1
}
open_menu() {
  xdotool mousemove 900 200
  e2e_eventually toggle_shows && e2e_eventually focused TVRA_MenuWindow
}
# Each opening hovers at another place: a level takes a move to where the pointer last was
# for no move at all.
hover() { xdotool mousemove "$1" "$2" mousemove $(($1 + 2)) "$2"; }
# The first level holds the Programs folder, a separator, then Recent Items and Control
# Panel: rows 40 pixels high from 4 below the top, separators 3 pixels.  Rows of the
# sub-levels are 24 pixels high.
root_row_y() { echo $(($(level_rect 1 | cut -d' ' -f2) + 4 + 40 + 3 + 20 + 40 * $1)); }
row=24
# The recent level: four folder lines, a separator, the two clearing lines, a separator,
# the documents and the folders lines; ROW counts the lines without the separators.
recent_row_y() {  # TOP ROW
  local separators=0
  [ "$2" -ge 4 ] && separators=1
  [ "$2" -ge 6 ] && separators=2
  echo $(($1 + 4 + row * $2 + 3 * separators + row / 2))
}

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null

open_menu
hover 110 "$(root_row_y 0)"
e2e_check "hovering Recent Items opens its level" e2e_eventually levels_shown 2
read -r left top right _ <<<"$(level_rect 2)"
hover $(((left + right) / 2)) "$(recent_row_y "$top" 6)"
e2e_check "hovering its documents line opens the documents level" e2e_eventually levels_shown 3
read -r left top right bottom <<<"$(level_rect 3)"
e2e_check "which shows the three documents" test $((bottom - top)) -eq $((8 + 3 * row))
e2e_screenshot "$E2E_WORK/documents.png"
hover $(((left + right) / 2)) $((top + 4 + row / 2))
xdotool click 1
e2e_check "a click on the most recent document closes the menu" e2e_eventually menu_hidden
e2e_check "and opens it" e2e_eventually test -f "$marker"

open_menu
hover 130 "$(root_row_y 0)"
e2e_check "hovering Recent Items again opens its level" e2e_eventually levels_shown 2
read -r left top right _ <<<"$(level_rect 2)"
hover $(((left + right) / 2)) "$(recent_row_y "$top" 4)"
xdotool click 1
# The order list goes first, then the shortcuts; each query of the registry is a process.
e2e_check "Clear recent items deletes the Recent folder's shortcuts" \
  e2e_eventually test ! -e "$recent_dir/beta notes.txt.lnk"
e2e_check "and the record's order list" \
  test "$(wine reg query "$recent_key" /v MRUListEx 2>/dev/null | grep -c MRUListEx)" = 0

open_menu
hover 150 "$(root_row_y 1)"
e2e_check "hovering the control panel line opens its level" e2e_eventually levels_shown 2
read -r left top right bottom <<<"$(level_rect 2)"
e2e_check "holding the registered entries" test $((bottom - top)) -ge $((8 + 3 * row))
e2e_screenshot "$E2E_WORK/control_panel.png"

e2e_stop tvra
restore
e2e_finish
