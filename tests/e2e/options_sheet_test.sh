#!/usr/bin/env bash
# The options sheet from the start button's context menu, with the stand-in shell and real
# input: one change with the mouse on each page (an icon-size arrow and a row dragged from
# the offered items into the first level, a check box, the band-width arrow), OK: settings.ini
# holds exactly those changes and the next open of the menu shows them.  The same with Cancel
# leaves settings.ini byte for byte as it was.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
e2e_init "$1"

data=$(winepath -u 'C:\users\root\AppData\Local\TVRA' 2>/dev/null)
settings=$data/settings.ini
mkdir -p "$data"
kept_settings=$E2E_WORK/settings.kept
cp "$settings" "$kept_settings" 2>/dev/null || rm -f "$kept_settings"
cp "$E2E_BUILD/settings_default.ini" "$settings"
cp "$settings" "$E2E_WORK/before.ini"
settings_lines() { iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r'; }

e2e_start_shell --height 40
e2e_start tvra "$E2E_BIN/tvra.exe"
e2e_check "the start button is made" e2e_wait_window MyStartButton 20000

center_of() {  # "x y" of a rectangle "left top right bottom"
  read -r l t r b <<<"$1"
  echo "$(((l + r) / 2)) $(((t + b) / 2))"
}
sheet_item() { e2e_probe item '#32770' "$1" | cut -d' ' -f4-7; }
click_item() { # ID [BUTTON]
  local rect
  rect=$(sheet_item "$1")
  [ -n "$rect" ] || return 1
  # shellcheck disable=SC2046
  e2e_click $(center_of "$rect") "${2:-1}"
}
# The upper or lower half of an up-down control, N times.
click_arrow() { # ID up|down N
  local l t r b y
  read -r l t r b <<<"$(sheet_item "$1")"
  [ -n "${b:-}" ] || return 1
  if [ "$2" = up ]; then y=$((t + (b - t) / 4)); else y=$((b - (b - t) / 4)); fi
  xdotool mousemove $(((l + r) / 2)) "$y"
  for _ in $(seq "$3"); do xdotool click 1; done
}
sheet_up() { test -n "$(e2e_visible '#32770')"; }
sheet_gone() { test -z "$(e2e_visible '#32770')"; }
popup_up() { test -n "$(e2e_visible '#32768')"; }
open_options() {
  local l t r b
  read -r _ _ _ l t r b <<<"$(e2e_probe find MyStartButton)"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
  e2e_eventually popup_up || return 1
  read -r _ _ _ l t r b <<<"$(e2e_visible '#32768' | head -1)"
  # The second entry, the default one: the settings.
  e2e_click $((l + 50)) $((t + 29))
  e2e_eventually sheet_up
}
# The page tabs lie on the sheet's top edge, in order.
show_page() { # 0|1|2
  local l t
  read -r _ _ _ l t _ _ <<<"$(e2e_visible '#32770' | head -1)"
  e2e_click $((l + 36 + 66 * $1)) $((t + 37))
}
page_shows() { test -n "$(sheet_item "$1")"; }
root_shown() { test "$(e2e_visible TVRA_MenuWindow | wc -l)" -ge 1; }
menu_closed() { test -z "$(e2e_visible TVRA_MenuWindow)"; }
root_size() { # "width height" of the open root level
  local l t r b
  read -r _ _ _ l t r b <<<"$(e2e_visible TVRA_MenuWindow | head -1)"
  echo "$((r - l)) $((b - t))"
}
open_menu() {
  e2e_probe post TVRA_MainWindow 1124 >/dev/null
  e2e_eventually root_shown
}
close_menu() {
  e2e_probe post TVRA_MainWindow 1053 >/dev/null
  e2e_eventually menu_closed
}

# The menu as it was.
ready_for_toggle() { e2e_probe post TVRA_MainWindow 1124 >/dev/null; e2e_eventually root_shown; }
e2e_check "the menu opens" ready_for_toggle
read -r width_before height_before <<<"$(root_size)"
e2e_screenshot "$E2E_WORK/menu-before.png"
e2e_check "and closes" close_menu

# ---- OK ----
e2e_check "the settings entry opens the sheet" open_options
e2e_check "with the preview beside it" e2e_exists TVRA_Sample
e2e_screenshot "$E2E_WORK/page0.png"

# Page 0: four clicks on the main menu's icon size arrow; the first offered item (below the
# separator) dragged to the top of the first level.
click_arrow 104 up 4
read -r l t r b <<<"$(sheet_item 110)"
read -r l2 t2 r2 b2 <<<"$(sheet_item 114)"
xdotool mousemove $((l + 40)) $((t + 2 + 20 + 10)) mousedown 1
for step in 10 20 30 40 60 80 100; do
  xdotool mousemove $((l + 40 + (l2 - l) * step / 100)) $((t + 32 - (20 * step / 100)))
done
xdotool mousemove $((l2 + 40)) $((t2 + 10)) mouseup 1
e2e_screenshot "$E2E_WORK/page0-after.png"

# Page 1: the default font check box.
show_page 1
e2e_check "the appearance page shows" e2e_eventually page_shows 158
e2e_screenshot "$E2E_WORK/page1.png"
click_item 158

# Page 2: five clicks on the band width's arrow.
show_page 2
e2e_check "the band page shows" e2e_eventually page_shows 121
e2e_screenshot "$E2E_WORK/page2.png"
click_arrow 121 up 5

click_item 1
e2e_check "OK closes the sheet" e2e_eventually sheet_gone
e2e_check "and the preview" e2e_probe gone TVRA_Sample 5000
saved_changes() {
  diff <(settings_lines "$E2E_WORK/before.ini") <(settings_lines "$settings") |
    grep '^>' | cut -c3- | sort | tr '\n' ' '
}
changed_keys() {
  diff <(settings_lines "$E2E_WORK/before.ini") <(settings_lines "$settings") |
    grep '^[<>]' | cut -c3- | cut -d= -f1 | sort -u | tr '\n' ' '
}
expected="DrawFontDefault=yes IconSize1=36 RibbonWidth=35 ShowString=M-DOSRH-LU-B "
e2e_check "settings.ini holds the four new values (got: $(saved_changes))" \
  e2e_eventually test "$(saved_changes)" = "$expected"
e2e_check "and nothing else changed (keys: $(changed_keys))" \
  test "$(changed_keys)" = "DrawFontDefault IconSize1 RibbonWidth ShowString "
e2e_check "the menu opens after OK" open_menu
read -r width_after height_after <<<"$(root_size)"
e2e_screenshot "$E2E_WORK/menu-after.png"
e2e_check "wider with the wider band and bigger icons ($width_before -> $width_after)" \
  test "$width_after" -gt "$width_before"
e2e_check "taller with bigger icons and one more item ($height_before -> $height_after)" \
  test "$height_after" -gt "$height_before"
close_menu

# ---- Cancel ----
cp "$settings" "$E2E_WORK/before-cancel.ini"
e2e_check "the sheet opens again" open_options
click_arrow 104 down 2
show_page 1
e2e_eventually page_shows 158
click_item 158
show_page 2
e2e_eventually page_shows 121
click_arrow 121 down 3
click_item 2
e2e_check "Cancel closes the sheet" e2e_eventually sheet_gone
e2e_check "and leaves settings.ini byte for byte as it was" \
  cmp -s "$E2E_WORK/before-cancel.ini" "$settings"
e2e_check "the menu opens after Cancel" open_menu
e2e_check "as it was after OK" test "$(root_size)" = "$width_after $height_after"
close_menu

e2e_probe send TVRA_MainWindow 1127 >/dev/null
e2e_probe gone TVRA_MainWindow 10000 >/dev/null
if [ -f "$kept_settings" ]; then cp "$kept_settings" "$settings"; fi
e2e_finish
