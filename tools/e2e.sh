# End-to-end helpers, sourced by the scripts in tests/e2e and by ./orvella run.
#
#   source tools/e2e.sh
#   e2e_init BUILD_DIR [ENV_DIR]  programs of the build, environment (prefix, display) of
#                                 ENV_DIR (default the build folder), a work folder
#   e2e_start_shell [--height N]  start the stand-in shell and wait until it is up
#   e2e_start NAME EXE [ARGS...]  start a Windows program detached; its id is remembered
#   e2e_probe ARGS...             run winprobe.exe (window queries, see its banner)
#   e2e_exists CLASS              whether a window exists (class name or child path)
#   e2e_wait_window CLASS [MS]    wait for a window by class name (or child path)
#   e2e_visible CLASS             the visible top-level windows of a class, one line each
#   e2e_click X Y [BUTTON]        a real click through xdotool
#   e2e_key KEYS... / e2e_type T  real keys through xdotool
#   e2e_screenshot FILE           the whole screen through ImageMagick
#   e2e_pixel FILE X Y            the colour of one pixel, as "#RRGGBB"
#   e2e_settled_pixel X Y         that of the screen once it stops changing (after a fade)
#   e2e_shell_log                 the stand-in shell's message log
#   e2e_check DESCRIPTION CMD...  run CMD, count a pass or a failure
#   e2e_finish                    stop everything started, print the summary, exit
# Everything started is stopped by process id on exit, never by name.

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
E2E_PIDS=()
E2E_PASSED=0
E2E_FAILED=0

e2e_init() {
  E2E_BUILD=$(cd "${1:?build folder}" && pwd)
  mkdir -p "${2:-$E2E_BUILD}"
  E2E_ENV=$(cd "${2:-$E2E_BUILD}" && pwd)
  E2E_BIN=$E2E_BUILD/image
  E2E_TESTS=$E2E_BUILD/tests
  local name
  name=$(basename "${0%.sh}")
  E2E_WORK=$E2E_ENV/e2e/$name
  rm -rf "$E2E_WORK"
  mkdir -p "$E2E_WORK"
  # Outside ctest (no fixture ran), bring the environment up ourselves; E2E_USE_DISPLAY=1
  # keeps the caller's own display.
  if [ ! -f "$E2E_ENV/test-env/display" ]; then
    if [ -n "${E2E_USE_DISPLAY:-}" ]; then
      "$E2E_ROOT/tools/test-env" prefix "$E2E_ENV" >/dev/null
    else
      "$E2E_ROOT/tools/test-env" start "$E2E_ENV" >/dev/null
    fi
    E2E_OWN_ENV=1
  else
    # Wine's own desktop process outlives each test and keeps whatever an earlier test left
    # in it (a start button made on Wine's hidden taskbar while a stand-in was down, hooks).
    "$E2E_ROOT/tools/test-env" fresh "$E2E_ENV" >/dev/null
  fi
  eval "$("$E2E_ROOT/tools/test-env" print "$E2E_ENV")"
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[$i]}" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  E2E_PIDS=()
  if [ -n "${E2E_OWN_ENV:-}" ]; then
    "$E2E_ROOT/tools/test-env" stop "$E2E_ENV" >/dev/null
  fi
}

# A Windows path for a file of the build, as programs under Wine see it.
e2e_winpath() {
  winepath -w "$1" 2>/dev/null
}

e2e_start() {
  local name=$1; shift
  wine "$@" </dev/null >"$E2E_WORK/$name.out" 2>&1 &
  E2E_PIDS+=($!)
  eval "E2E_PID_${name//[^A-Za-z0-9_]/_}=$!"
}

# Stops one program started with e2e_start, by the id it was given.
e2e_stop() {
  local var="E2E_PID_${1//[^A-Za-z0-9_]/_}"
  local pid=${!var:-}
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

e2e_shell_log() {
  cat "$E2E_WORK/shell.log" 2>/dev/null | tr -d '\r'
}

e2e_start_shell() {
  rm -f "$E2E_WORK/shell.log"
  e2e_start shell "$E2E_TESTS/shell_standin.exe" "$@" --log "$(e2e_winpath "$E2E_WORK/shell.log")"
  local i
  for i in $(seq 200); do
    if e2e_shell_log | grep -q '^ready '; then
      return 0
    fi
    sleep 0.05
  done
  echo "the stand-in shell did not come up" >&2
  return 1
}

e2e_probe() {
  wine "$E2E_TESTS/winprobe.exe" "$@" 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# A window's rectangle as "left top right bottom", by class name or child path.
e2e_rect() {
  e2e_probe find "$1" | cut -d' ' -f4-7
}
e2e_rect_is() {  # WINDOW "LEFT TOP RIGHT BOTTOM", for e2e_eventually
  test "$(e2e_rect "$1")" = "$2"
}

# Runs a command until it succeeds, for up to SECONDS; what the system does in its own time
# is waited for, never slept for.
e2e_eventually_within() {
  local seconds=$1 i
  shift
  for i in $(seq $((seconds * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The same for up to ten seconds.
e2e_eventually() {
  e2e_eventually_within 10 "$@"
}

# Whether a window exists, by class name or child path.
e2e_exists() {
  e2e_probe find "$1" >/dev/null
}

# One "hwnd pid visible left top right bottom" line per visible top-level window of CLASS.
e2e_visible() {
  e2e_probe visible "$1"
}

e2e_wait_window() {
  e2e_probe wait "$1" "${2:-10000}"
}

e2e_click() {
  xdotool mousemove "$1" "$2" sleep 0.1 click "${3:-1}"
}

e2e_key() {
  xdotool key --delay 50 "$@"
}

e2e_type() {
  xdotool type --delay 40 "$1"
}

e2e_screenshot() {
  import -window root "$1"
}

e2e_pixel() {
  convert "$1" -format "#%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-7
}

# The colour of a screen pixel once two screenshots in a row agree; one screenshot takes
# longer than a whole fade of the start button (ten 20 ms steps).
e2e_settled_pixel() {
  local last="" now="" i
  for i in $(seq 50); do
    e2e_screenshot "$E2E_WORK/settled.png"
    now=$(e2e_pixel "$E2E_WORK/settled.png" "$1" "$2")
    if [ -n "$now" ] && [ "$now" = "$last" ]; then
      echo "$now"
      return 0
    fi
    last=$now
  done
  echo "$now"
  return 1
}

e2e_check() {
  local what=$1; shift
  if "$@"; then
    echo "ok: $what"
    E2E_PASSED=$((E2E_PASSED + 1))
  else
    echo "FAILED: $what"
    E2E_FAILED=$((E2E_FAILED + 1))
  fi
}

e2e_finish() {
  e2e_cleanup
  trap - EXIT
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ]
  exit $?
}
