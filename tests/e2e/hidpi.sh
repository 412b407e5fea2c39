#!/usr/bin/env bash
# On a high-density screen (QT_SCALE_FACTOR=2) the geometry doubles and the
# built-in pictures are drawn from their 2x renderings, pixel for pixel, not
# blown up from the 1x ones.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy QT_SCALE_FACTOR=2
assets="$KURURINA_BIN_DIR/../assets"
exe=$(install_bus)
start_bus "$exe"
panel=$(wait_window "設定パネル") || fail "no panel"
sleep 0.5

read -r _ _ w h < <(client_geometry "$BUS_WIN")
[ "$w" -eq 1328 ] && [ "$h" -eq 426 ] || fail "client area ${w}x${h}, expected 1328x426"
read -r _ _ w h < <(client_geometry "$panel")
[ "$w" -eq 526 ] && [ "$h" -eq 342 ] || fail "panel client area ${w}x${h}, expected 526x342"

shot "$E2E_DIR/bus.png" "$BUS_WIN"
# The side window under the sign (no child control there) and the front door.
same() {
  local what=$1 crop=$2 src=$3 srccrop=$4 diff
  convert "$E2E_DIR/bus.png" -crop "$crop" +repage "$E2E_DIR/a.png"
  convert "$src" -background white -flatten -crop "$srccrop" +repage "$E2E_DIR/b.png"
  diff=$(compare -metric AE -fuzz 2% "$E2E_DIR/a.png" "$E2E_DIR/b.png" null: 2>&1 || true)
  log "$what: $diff pixels differ"
  [ "$diff" = 0 ] || fail "$what is not the 2x rendering ($diff pixels differ)"
}
same "bus body" 100x70+200+150 "$assets/bus-body@2x.png" 100x70+200+150
same "front door" 146x296+40+92 "$assets/front-door@2x.png" 146x296+0+0

close_window "$BUS_WIN"; wait_exit 10
