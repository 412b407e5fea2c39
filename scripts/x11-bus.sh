# Drives a private copy of the real program on an X display (sourced by the
# end-to-end tests and scripts/screenshot): its settings file lives beside the
# executable, so every user of these gets a folder of its own. Looks at the
# windows with xdotool, xwininfo, xprop and import. Every run of the program
# keeps its output in a log of its own; a sanitizer's report in any of them
# (any *.log of E2E_DIR) fails the test as it ends.
set -euo pipefail

: "${KURURINA_BIN_DIR:?}" "${DISPLAY:?this needs an X display (scripts/with-x)}"
E2E_DIR=$(mktemp -d /tmp/kururina-e2e.XXXXXX)
BUS_PID="" BUS_LOG="" BUS_RUNS=0
cleanup_e2e() {
  [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null || true
  local reported=""
  reported=$(sanitizer_reports "$E2E_DIR"/*.log) || true
  if [ -n "${KEEP_E2E:-}" ]; then echo "kept $E2E_DIR"; else rm -rf "$E2E_DIR"; fi
  [ -z "$reported" ] || fail "sanitizer report: $reported"
}
trap cleanup_e2e EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
log() { echo "-- $*"; }
# The exit code that tells ctest a test was skipped (SKIP_RETURN_CODE).
skip() { echo "SKIP: $*"; exit 77; }

# sanitizer_reports FILE...: prints the report lines of ASan, LSan or UBSan
# found in the files, and fails when there are none.
sanitizer_reports() {
  grep -saE -m 5 'ERROR: [A-Za-z]+Sanitizer|runtime error: ' "$@"
}

# install_bus [NAME]: copies the program and everything it loads from its own
# folder into a fresh folder; prints the executable's path.
install_bus() {
  mkdir -p "$E2E_DIR/app"
  cp "$KURURINA_BIN_DIR/kururina" "$E2E_DIR/app/${1:-kururina}"
  cp "$KURURINA_BIN_DIR"/*.so "$KURURINA_BIN_DIR"/kururina-* "$E2E_DIR/app/"
  echo "$E2E_DIR/app/${1:-kururina}"
}

# start_bus EXE: starts the program and waits for the bus window; sets BUS_PID,
# BUS_WIN and BUS_LOG (its output).
start_bus() {
  BUS_RUNS=$((BUS_RUNS + 1)) BUS_LOG=$E2E_DIR/bus-$BUS_RUNS.log
  "$1" >"$BUS_LOG" 2>&1 &
  BUS_PID=$!
  BUS_WIN=$(wait_window "クルリナ　-　$(basename "$1")") || fail "bus window did not appear"
  sleep 0.3
}

# wait_window TITLE: prints the id of the visible window with exactly this title, within 10 s.
wait_window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

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

# wait_exit [SECONDS [STATUS]]: waits for the program to end; fails when it
# does not, when it ends with another status than STATUS (0: a clean end; 137:
# killed by SIGKILL), or when its output holds a sanitizer's report.
wait_exit() {
  local rc=0 reported
  for _ in $(seq $((${1:-10} * 20))); do
    kill -0 "$BUS_PID" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$BUS_PID" 2>/dev/null && fail "program did not exit"
  wait "$BUS_PID" 2>/dev/null || rc=$? # quiet: bash would tell of a SIGKILL
  BUS_PID=""
  ! reported=$(sanitizer_reports "$BUS_LOG") || fail "sanitizer report: $reported"
  [ "$rc" = "${2:-0}" ] || fail "program ended with status $rc, expected ${2:-0}: $(tail -5 "$BUS_LOG")"
}
