# Drives a private copy of the real program on an X display (sourced by the
# end-to-end tests and scripts/screenshot): its settings file lives beside the
# executable, so every user of these gets a folder of its own. Looks at the
# windows with xdotool, xwininfo, xprop and import.
set -euo pipefail

: "${KURURINA_BIN_DIR:?}" "${DISPLAY:?this needs an X display (scripts/with-x)}"
E2E_DIR=$(mktemp -d /tmp/kururina-e2e.XXXXXX)
BUS_PID=""
cleanup_e2e() {
  [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null || true
  if [ -n "${KEEP_E2E:-}" ]; then echo "kept $E2E_DIR"; else rm -rf "$E2E_DIR"; fi
}
trap cleanup_e2e EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
log() { echo "-- $*"; }

# install_bus [NAME]: copies the program and everything it loads from its own
# folder into a fresh folder; prints the executable's path.
install_bus() {
  mkdir -p "$E2E_DIR/app"
  cp "$KURURINA_BIN_DIR/kururina" "$E2E_DIR/app/${1:-kururina}"
  cp "$KURURINA_BIN_DIR"/*.so "$KURURINA_BIN_DIR"/kururina-* "$E2E_DIR/app/"
  echo "$E2E_DIR/app/${1:-kururina}"
}

# start_bus EXE: starts the program and waits for the bus window; sets BUS_PID and BUS_WIN.
start_bus() {
  "$1" >"$E2E_DIR/bus.log" 2>&1 &
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

# wait_exit [SECONDS]: waits for the program to end; fails when it does not.
wait_exit() {
  for _ in $(seq $((${1:-10} * 20))); do
    kill -0 "$BUS_PID" 2>/dev/null || { wait "$BUS_PID" 2>/dev/null || true; BUS_PID=""; return 0; }
    sleep 0.05
  done
  fail "program did not exit"
}
