# Drives a private copy of the real program on an X display (sourced by the
# end-to-end tests and scripts/screenshot): its settings file lives beside the
# executable, so every user of these gets a folder of its own. Looks at the
# windows with xdotool, xwininfo, xprop and import. Every run of the program
# keeps its output in a log of its own; a sanitizer's report in any of them
# (any *.log of E2E_DIR) fails the test as it ends.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/with-x" # wait_until

: "${KURURINA_BIN_DIR:?}" "${DISPLAY:?this needs an X display (scripts/with-x)}"
E2E_DIR=$(mktemp -d /tmp/kururina-e2e.XXXXXX)
BUS_PID="" BUS_LOG="" BUS_RUNS=0 CASE="" ON_EXIT=""

# fail names the case the tests' run is in, if any.
fail() { echo "FAIL: ${CASE:+$CASE: }$*" >&2; exit 1; }
log() { echo "-- $*"; }
# The exit code that tells ctest a test was skipped (SKIP_RETURN_CODE).
skip() { echo "SKIP: $*"; exit 77; }

# on_exit COMMAND: runs COMMAND as the script ends, before the commands added
# earlier; one that fails does not keep the others from running.
on_exit() { ON_EXIT="{ $1; } || true; $ON_EXIT"; }
trap 'eval "$ON_EXIT"' EXIT
cleanup_e2e() {
  [ -z "$BUS_PID" ] || kill "$BUS_PID" 2>/dev/null
  local reported=""
  reported=$(sanitizer_reports "$E2E_DIR"/*.log) || true
  if [ -n "${KEEP_E2E:-}" ]; then echo "kept $E2E_DIR"; else rm -rf "$E2E_DIR"; fi
  [ -z "$reported" ] || fail "sanitizer report: $reported"
}
on_exit cleanup_e2e

# sanitizer_reports FILE...: prints the report lines of ASan, LSan or UBSan
# found in the files, and fails when there are none.
sanitizer_reports() {
  grep -saE -m 5 'ERROR: [A-Za-z]+Sanitizer|runtime error: ' "$@"
}

# install_bus NAME: copies the program, named NAME, and everything it loads
# from its own folder into a fresh folder; prints the executable's path.
install_bus() {
  mkdir -p "$E2E_DIR/app"
  cp "$KURURINA_BIN_DIR/kururina" "$E2E_DIR/app/$1"
  cp "$KURURINA_BIN_DIR"/*.so "$KURURINA_BIN_DIR"/kururina-* "$E2E_DIR/app/"
  echo "$E2E_DIR/app/$1"
}

# start_bus EXE: starts the program and waits for its windows; sets BUS_PID,
# BUS_LOG (its output), BUS_WIN and PANEL.
start_bus() {
  BUS_RUNS=$((BUS_RUNS + 1)) BUS_LOG=$E2E_DIR/bus-$BUS_RUNS.log
  "$1" >"$BUS_LOG" 2>&1 &
  BUS_PID=$!
  bus_windows "$(basename "$1")"
}
# bus_windows NAME: waits for the windows of the bus started as NAME; sets
# BUS_WIN and PANEL.
# shellcheck disable=SC2034 # both read by the scripts that source this
bus_windows() {
  BUS_WIN=$(wait_window "クルリナ　-　$1") || fail "bus window did not appear"
  PANEL=$(wait_window "設定パネル") || fail "no panel"
  sleep 0.3
}

# wait_window TITLE: prints the id of the visible window with exactly this title, within 10 s.
wait_window() { wait_until 10 window_titled "$1"; }
window_titled() { local ids; ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) && echo "${ids%%$'\n'*}"; }

# client_geometry WIN: prints "X Y W H" of the client area in root coordinates.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# frame_position WIN: prints "X Y" of the window manager's frame (outer top-left).
frame_position() {
  local x y l t
  read -r x y _ _ < <(client_geometry "$1")
  read -r l _ t _ < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo $((x - l)) $((y - t))
}

# shot FILE [WIN]: screenshot of a window's client area (default: the whole screen).
shot() { import -window "${2:-root}" "$1"; }

is_viewable() { [[ $(xwininfo -id "$1" 2>/dev/null) == *IsViewable* ]]; }
close_window() { wmctrl -i -c "$1"; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# wait_exit [SECONDS [STATUS]]: waits for the program to end; fails when it
# does not, when it ends with another status than STATUS (0: a clean end; 137:
# killed by SIGKILL), or when its output holds a sanitizer's report.
wait_exit() {
  local rc=0 reported
  wait_until "${1:-10}" gone "$BUS_PID" || fail "program did not exit"
  wait "$BUS_PID" 2>/dev/null || rc=$? # quiet: bash would tell of a SIGKILL
  BUS_PID=""
  ! reported=$(sanitizer_reports "$BUS_LOG") || fail "sanitizer report: $reported"
  [ "$rc" = "${2:-0}" ] || fail "program ended with status $rc, expected ${2:-0}: $(tail -5 "$BUS_LOG")"
}

# The settings line's fields in file order, each with the value a first close
# writes (the windows' places aside); a text field's value is quoted.
SETTINGS_FIELDS=(bus_left=0 bus_top=0 panel_left=0 panel_top=0 signs='""' reserved='""' number1=0 number2=0
  board='""' board_left=7425 board_top=1665 board_shown='#TRUE#' frame_shown='#TRUE#'
  front_speed=10000 middle_speed=6000 mode=0)

# settings_line [FIELD=VALUE]...: the settings line, without its CR LF, with
# these fields as given and the others as above. bus= and panel= set a
# window's two fields from its frame position in pixels ("X Y", as
# frame_position prints it); a text field takes its text without the quotes.
settings_line() {
  local -A given=()
  local arg name field x y line=""
  for arg; do
    name=${arg%%=*}
    if [ "$name" = bus ] || [ "$name" = panel ]; then
      read -r x y <<<"${arg#*=}"
      given[${name}_left]=$((x * 15)) given[${name}_top]=$((y * 15))
    else
      given[$name]=${arg#*=}
    fi
  done
  for field in "${SETTINGS_FIELDS[@]}"; do
    name=${field%%=*}
    if [ -z "${given[$name]+set}" ]; then
      line+=,${field#*=}
    elif [[ $field == *'=""' ]]; then
      line+=",\"${given[$name]}\""
    else
      line+=,${given[$name]}
    fi
    unset "given[$name]"
  done
  [ ${#given[@]} -eq 0 ] || fail "settings_line: no field ${!given[*]}"
  echo "${line#,}"
}
# write_settings FILE [FIELD=VALUE]...: writes the settings line as the program does.
write_settings() {
  local line
  line=$(settings_line "${@:2}")
  printf '%s\r\n' "$line" >"$1"
}
