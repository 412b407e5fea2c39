#!/usr/bin/env bash
# The signboard dragged with the real pointer: it follows the left button and
# stays where it is dropped, its frame stays behind until a double-click
# brings it round again, and a drag past the window's edge stops at the edge.
. "$KURURINA_SOURCE_DIR/tests/e2e/lib.sh"
export SDL_AUDIODRIVER=dummy

exe=$(install_bus)
start_bus "$exe"
read -r wx wy _ _ < <(client_geometry "$BUS_WIN")
gray="224 224 224" white="255 255 255"
# expect FILE "X Y COLOUR WHAT"...: each point of the bus's client area has that colour.
expect() {
  local file=$1 x y r g b what got; shift
  shot "$E2E_DIR/$file.png" "$BUS_WIN"
  for point in "$@"; do
    read -r x y r g b what <<<"$point"
    got=$(pixel "$E2E_DIR/$file.png" "$x" "$y")
    [ "$got" = "$r $g $b" ] || fail "$file: $what at $x,$y is $got, expected $r $g $b"
  done
}
drag() { # drag FROM_X FROM_Y TO_X TO_Y, in client coordinates, through a midpoint
  pointer_to $((wx + $1)) $((wy + $2))
  xdotool mousedown 1
  xdotool mousemove --sync $((wx + ($1 + $3) / 2)) $((wy + ($2 + $4) / 2))
  xdotool mousemove --sync $((wx + $3)) $((wy + $4))
  xdotool mouseup 1
  sleep 0.3
}

# The reset signboard is 94 x 30 px at 495,111, framed by posts at 490 and 589.
expect start "540 125 $white board" "492 125 $gray left post" "591 125 $gray right post"
bare=$(pixel "$E2E_DIR/start.png" 397 55)
drag 540 125 445 54   # by (-95, -71): the board lands at 400,40
expect dropped "401 41 $white board's top-left" "493 69 $white board's bottom-right" \
  "492 125 $gray frame left behind" "540 142 $gray frame's bar left behind" "397 55 $bare no frame yet"
[ "$(pixel "$E2E_DIR/dropped.png" 399 55)" != "$white" ] || fail "dropped too far left"

click_in "$BUS_WIN" 445 55 1; sleep 0.05; xdotool click 1; sleep 0.3
expect refit "401 41 $white board kept its place" "397 55 $gray refitted left post" "445 71 $gray refitted bar"
[ "$(pixel "$E2E_DIR/refit.png" 492 125)" != "$gray" ] || fail "the old frame is still painted"

drag 445 55 2000 56   # far past the right edge: it stops flush with it, 570..663
expect edge "663 55 $white board at the right edge" "571 55 $white board's left side"
[ "$(pixel "$E2E_DIR/edge.png" 568 55)" != "$white" ] || fail "the board grew at the edge"

close_window "$BUS_WIN"
wait_exit
log "signboard drag ok"
