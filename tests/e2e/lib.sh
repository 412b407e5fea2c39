# Shared helpers for the end-to-end tests: they start a private copy of the
# real program (its settings file lives beside the executable, so every test
# gets its own folder) on the test display and look at it with xdotool,
# xwininfo, xprop and import.
set -euo pipefail

: "${KURURINA_BIN_DIR:?}" "${DISPLAY:?end-to-end tests need the test display (scripts/with-x)}"
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

# pixel FILE X Y: prints the colour of one pixel as "R G B" (0-255).
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

# click_in WIN X Y [BUTTON]: clicks at a point of a window's client area.
click_in() {
  local x y
  read -r x y _ _ < <(client_geometry "$1")
  pointer_to $((x + $2)) $((y + $3))
  xdotool click "${4:-1}"
}

# pointer_to X Y: moves the pointer to a root point and waits until it is there
# (xdotool's --sync would wait for ever when the pointer is there already).
pointer_to() {
  [[ $(xdotool getmouselocation --shell | tr '\n' ' ') == "X=$1 Y=$2 "* ]] || xdotool mousemove --sync "$1" "$2"
}

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

# popup_menu: prints "X Y W H" of the visible override-redirect menu window on the
# screen, if any (window managers keep small ones of their own, some off screen).
popup_menu() {
  local id info
  for id in $(xwininfo -root -children | awk '/^ +0x/{print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    [[ $info == *'Override Redirect State: yes'* && $info == *'Map State: IsViewable'* ]] || continue
    echo "$info" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF}
      END{if (w > 1 && h > 1 && x >= 0 && y >= 0) {print x, y, w, h; exit 0} exit 1}' && break
  done
  true
}
