#!/usr/bin/env bash
# The menu as a screen reader sees it, from a client program in its own process: the root
# level and a folder's level read through Active Accessibility (names, roles, pop-ups, the
# hot item focused), the WinEvents that real keys raise (pop-up start and end, the focus on
# each hot item), an item's default action running it, a level's object held across a
# rebuild failing without harm, the search box and the start button.
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
# The user's Start Menu and sort.txt are put back as they were at the end.
saved_menu="$E2E_WORK/start-menu.saved"
[ -d "$user_menu_unix" ] && cp -a "$user_menu_unix" "$saved_menu"
saved_sort="$E2E_WORK/sort.txt.saved"
cp "$sort_file" "$saved_sort" 2>/dev/null || rm -f "$saved_sort"
restore() {
  if [ -f "$saved_sort" ]; then cp "$saved_sort" "$sort_file"; else rm -f "$sort_file"; fi
  rm -rf "$user_menu_unix"
  if [ -d "$saved_menu" ]; then cp -a "$saved_menu" "$user_menu_unix"; fi
}
# The root level holds Folder (Inner, Inside), Notepad and Xylophone, then the special items.
rm -rf "$user_menu_unix"
mkdir -p "$user_menu_unix/Folder"
shortcut "Folder\\Inner" 'C:\windows\notepad.exe'
shortcut "Folder\\Inside" 'C:\windows\notepad.exe'
shortcut Notepad 'C:\windows\notepad.exe' "Edits text"
shortcut Xylophone 'C:\windows\system32\cmd.exe' "" "/c echo ran>\"$work_win\\ran.txt\""

client() { wine "$E2E_TESTS/accessibility_client.exe" "$@" 2>/dev/null | tr -d '\r'; }
events_file=$E2E_WORK/events.txt
events() { cat "$events_file" 2>/dev/null; }
# Each expected line found after the previous one.
in_order() {
  local from=0 line n
  for line in "$@"; do
    n=$(events | awk -v from="$from" -v want="$line" 'NR > from && $0 == want {print NR; exit}')
    [ -n "$n" ] || return 1
    from=$n
  done
}
sort_inode() { stat -c %i "$sort_file" 2>/dev/null; }
sort_replaced() { test "$(sort_inode)" != "$1"; }
shown_levels() { e2e_visible TVRA_MenuWindow | wc -l; }
levels_are() { test "$(shown_levels)" -eq "$1"; }
menu_focused() { test "$(e2e_probe foreground)" = TVRA_MenuWindow; }
# A toggle followed by a rewrite of sort.txt, repeated until the ready timer after a close
# lets it through (see the menu window script).
toggle_shows() {
  local before
  before=$(sort_inode)
  e2e_probe post-all TVRA_MainWindow 1124 1042
  e2e_eventually sort_replaced "$before" && test "$(shown_levels)" -ge 1
}
open_menu() { e2e_eventually toggle_shows && e2e_eventually menu_focused; }
# The block of one level in the client's "levels" output, by the level's name.
level_block() { awk -v name="$2" '/^level / {on = ($2 == name)} on' <<<"$1"; }
# The names of the items this script made, in the order the level lists them (the prefix's
# own Programs folder sorts in among them).
our_items() { cut -d' ' -f4 <<<"$1" | grep -E '^name=(Folder|Notepad|Xylophone)$'; }
item_line() { grep -E "^item [0-9]+ role=[a-z]+ name=$2 " <<<"$1"; }
field() { grep -o " $2=[^ ]*" <<<"$1" | head -1 | cut -d= -f2-; }

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_wait_window TVRA_MainWindow 15000 >/dev/null
e2e_eventually e2e_probe send TVRA_MainWindow 1126 >/dev/null
e2e_wait_window MyStartButton 10000 >/dev/null

# The start button is a push button with the product's name.
button=$(client button)
e2e_check "the start button reads as a push button named Orvella" \
  test "$button" = "button role=pushbutton name=Orvella action=Press"

rm -f "$events_file"
e2e_start events "$E2E_TESTS/accessibility_client.exe" events "$(e2e_winpath "$events_file")"
e2e_eventually grep -qsx listening "$events_file"

# The pointer is parked off the menu, so only keys move the hot item.
xdotool mousemove 900 200
open_menu
e2e_check "opening the menu raises a pop-up start for the root level" \
  e2e_eventually in_order "start Orvella"
root_view=$(client levels)
root=$(level_block "$root_view" Orvella)
echo "$root" >"$E2E_WORK/root.txt"
root_count=$(field "$(head -1 <<<"$root")" children)
e2e_check "the root level is a menu pop-up named Orvella" \
  grep -q '^level Orvella role=menupopup ' <<<"$root"
e2e_check "it has one child per item (child count $root_count, all reached by navigation)" \
  test "$root_count" -ge 4 -a "$(field "$(head -1 <<<"$root")" walked)" = "$root_count"
e2e_check "the children are the items in order, named by their captions" \
  test "$(our_items "$root")" = "$(printf 'name=%s\n' Folder Notepad Xylophone)"
e2e_check "every child is a menu item or a separator" \
  test -z "$(tail -n +2 <<<"$root" | grep -v -E ' role=(menuitem|separator) ')"
folder=$(item_line "$root" Folder)
e2e_check "the folder has a pop-up and opens" \
  test "$(field "$folder" popup) $(field "$folder" action)" = "1 Open"
e2e_check "the hot item (the first) is focused, and the level's focus" \
  test "$(field "$folder" focused) $(field "$(head -1 <<<"$root")" focus)" = "1 Folder"
xylophone=$(item_line "$root" Xylophone)
e2e_check "a shortcut executes, with the letter that type-ahead runs it by" \
  test "$(field "$xylophone" popup) $(field "$xylophone" action) $(field "$xylophone" shortcut)" = "0 Execute X"
notepad=$(item_line "$root" Notepad)
e2e_check "an item's description is its tip" test "${notepad##* tip=}" = "Edits text"
e2e_check "a hit test at each item's location finds that item" \
  test -z "$(tail -n +2 <<<"$root" | grep -v ' hit=1 ')"
e2e_check "only the hot item is focused" test "$(grep -c ' focused=1 ' <<<"$root")" -eq 1

# Keys: Down, Up, Right into the folder, type-ahead there, Esc twice.
e2e_key Down
e2e_check "Down raises the focus on the next item" e2e_eventually in_order "focus Orvella/Notepad"
e2e_key Up
e2e_check "Up raises it on the folder again" \
  e2e_eventually in_order "focus Orvella/Notepad" "focus Orvella/Folder"
e2e_key Right
e2e_check "Right opens the folder's level: pop-up start, focus on its first item" \
  e2e_eventually in_order "focus Orvella/Folder" "start Folder" "focus Folder/Inner"
sub=$(level_block "$(client levels)" Folder)
echo "$sub" >"$E2E_WORK/folder.txt"
e2e_check "the folder's level has its two items, the first focused" \
  test "$(tail -n +2 <<<"$sub" | cut -d' ' -f3-6)" = "$(printf '%s\n' \
    'role=menuitem name=Inner popup=0 focused=1' 'role=menuitem name=Inside popup=0 focused=0')"
e2e_check "two captions of one letter give neither a shortcut" \
  test -z "$(tail -n +2 <<<"$sub" | grep -v ' shortcut=- ')"
e2e_type i
e2e_check "type-ahead raises the focus on the next match" \
  e2e_eventually in_order "start Folder" "focus Folder/Inside"
e2e_key Escape
e2e_check "Esc on the folder's level raises its pop-up end" \
  e2e_eventually in_order "focus Folder/Inside" "end Folder"
e2e_key Escape
e2e_check "Esc on the root level raises the root's pop-up end" \
  e2e_eventually in_order "end Folder" "end Orvella"
e2e_check "the menu is closed" e2e_eventually levels_are 0
cp "$events_file" "$E2E_WORK/events.keys.txt"

# The default action of a shortcut's child runs it and closes the menu.
open_menu
e2e_check "the default action of a shortcut is accepted" \
  test "$(client action Xylophone)" = "action 0x00000000"
e2e_check "it runs the shortcut" e2e_eventually test -e "$E2E_WORK/ran.txt"
e2e_check "and closes the menu" e2e_eventually levels_are 0
no_cmd_left() { ! pgrep -f "cmd.exe" >/dev/null; }
e2e_eventually no_cmd_left

# The search box reads as an editable text with its help text.
open_menu
e2e_key Tab
e2e_type note
box_has_text() { grep -q ' value=note ' <<<"$(client searchbox)"; }
e2e_check "the search box reads as an editable text holding what was typed" \
  e2e_eventually box_has_text
box=$(client searchbox)
e2e_check "with its help text" test "$(field "$box" role) ${box##* help=}" = \
  "text Type to search, Tab to see the results"
e2e_probe post TVRA_MainWindow 1053
e2e_eventually levels_are 0

# A client holding the folder's level across a rebuild gets an error, and the program runs on.
e2e_start hold "$E2E_TESTS/accessibility_client.exe" hold Folder
hold_out=$E2E_WORK/hold.out
e2e_eventually_within 20 grep -qs '^held children=2' "$hold_out"
e2e_probe post TVRA_MainWindow 1034
e2e_check "the held level's object fails once the rebuild replaced it" \
  e2e_eventually_within 20 grep -qE '^after 0x8' "$hold_out"
program_answers() { e2e_probe send TVRA_MainWindow 1126 >/dev/null; }
e2e_check "the program keeps running" program_answers
open_menu
e2e_check "and the rebuilt menu reads as before" \
  test "$(our_items "$(level_block "$(client levels)" Orvella)")" = \
    "$(printf 'name=%s\n' Folder Notepad Xylophone)"
e2e_probe post TVRA_MainWindow 1053

restore
e2e_finish
