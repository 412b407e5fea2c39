#!/usr/bin/env bash
# The signboard on the real display: framed after the first start, dragged
# with the left button (the frame stays where it was), framed again by a
# double-click, kept inside the window, and its pop-up menu on the right button.
. "$KURURINA_SOURCE_DIR/tests/e2e/lib.sh"
export SDL_AUDIODRIVER=dummy

exe=$(install_bus)
start_bus "$exe"
read -r wx wy _ _ < <(client_geometry "$BUS_WIN")

expect_pixel() { # FILE X Y "R G B" WHAT
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$5: pixel $2,$3 is $got, expected $4"
}
gray="224 224 224" edge="128 128 128" white="255 255 255"

# First start: the reset signboard (7425, 1665, 1410 x 450 twips = 495, 111,
# 94 x 30 px) with posts 490..494 and 589..593 and the bar at rows 141..144.
shot "$E2E_DIR/start.png" "$BUS_WIN"
expect_pixel "$E2E_DIR/start.png" 540 125 "$white" "signboard"
expect_pixel "$E2E_DIR/start.png" 490 125 "$edge" "left post outline"
expect_pixel "$E2E_DIR/start.png" 492 125 "$gray" "left post"
expect_pixel "$E2E_DIR/start.png" 591 125 "$gray" "right post"
expect_pixel "$E2E_DIR/start.png" 540 142 "$gray" "bar"
expect_pixel "$E2E_DIR/start.png" 540 144 "$edge" "bar outline"
bare_before=$(pixel "$E2E_DIR/start.png" 397 55)

# Drag by (-95, -71) px: pressed at 540,125, the board lands at 400,40.
pointer_to $((wx + 540)) $((wy + 125))
xdotool mousedown 1
xdotool mousemove --sync $((wx + 500)) $((wy + 90))
xdotool mousemove --sync $((wx + 445)) $((wy + 54))
xdotool mouseup 1
sleep 0.3
shot "$E2E_DIR/dropped.png" "$BUS_WIN"
expect_pixel "$E2E_DIR/dropped.png" 401 41 "$white" "dropped signboard, top-left"
expect_pixel "$E2E_DIR/dropped.png" 493 69 "$white" "dropped signboard, bottom-right"
[ "$(pixel "$E2E_DIR/dropped.png" 399 55)" != "$white" ] || fail "signboard dropped too far left"
expect_pixel "$E2E_DIR/dropped.png" 490 125 "$edge" "frame after the drop (left post outline)"
expect_pixel "$E2E_DIR/dropped.png" 492 125 "$gray" "frame after the drop (left post)"
expect_pixel "$E2E_DIR/dropped.png" 591 125 "$gray" "frame after the drop (right post)"
expect_pixel "$E2E_DIR/dropped.png" 540 142 "$gray" "frame after the drop (bar)"
expect_pixel "$E2E_DIR/dropped.png" 397 55 "$bare_before" "no frame at the new place yet"
uncovered=$(pixel "$E2E_DIR/dropped.png" 540 125)
[ "$uncovered" != "$white" ] || fail "the old place still shows the signboard"

# A double-click brings the frame around it: posts 395..399 and 494..498, bar rows 70..73.
click_in "$BUS_WIN" 445 55 1
sleep 0.05
xdotool click 1
sleep 0.3
shot "$E2E_DIR/refit.png" "$BUS_WIN"
expect_pixel "$E2E_DIR/refit.png" 401 41 "$white" "signboard did not move on the double-click"
expect_pixel "$E2E_DIR/refit.png" 395 55 "$edge" "refitted left post outline"
expect_pixel "$E2E_DIR/refit.png" 397 55 "$gray" "refitted left post"
expect_pixel "$E2E_DIR/refit.png" 496 55 "$gray" "refitted right post"
expect_pixel "$E2E_DIR/refit.png" 445 71 "$gray" "refitted bar"
[ "$(pixel "$E2E_DIR/refit.png" 492 125)" != "$gray" ] || fail "the old frame is still painted"
[ -n "${KURURINA_SCREENSHOT_DIR:-}" ] && cp "$E2E_DIR/refit.png" "$KURURINA_SCREENSHOT_DIR/signboard-refit.png"

# Dragged far past the right edge, it stops flush with it (94 px wide: 570..663).
pointer_to $((wx + 445)) $((wy + 55))
xdotool mousedown 1
xdotool mousemove --sync $((wx + 900)) $((wy + 55))
xdotool mousemove --sync $((wx + 2000)) $((wy + 56))
xdotool mouseup 1
sleep 0.3
shot "$E2E_DIR/edge.png" "$BUS_WIN"
expect_pixel "$E2E_DIR/edge.png" 663 55 "$white" "signboard at the right edge"
expect_pixel "$E2E_DIR/edge.png" 571 55 "$white" "signboard at the right edge, left side"
[ "$(pixel "$E2E_DIR/edge.png" 568 55)" != "$white" ] || fail "signboard wider than before"
expect_pixel "$E2E_DIR/edge.png" 397 55 "$gray" "frame stayed after the second drag"

# Right press on the signboard: the bus's pop-up menu at the pointer.
[ -z "$(popup_menu)" ] || fail "a menu is open before the right click"
click_in "$BUS_WIN" 600 55 3
sleep 0.4
read -r mx my _ _ < <(popup_menu) || true
[ -n "${mx:-}" ] || fail "right press on the signboard opened no menu"
[ "$mx" -eq $((wx + 600)) ] && [ "$my" -eq $((wy + 55)) ] || fail "menu at $mx,$my"
xdotool key Escape
sleep 0.3
[ -z "$(popup_menu)" ] || fail "Escape left the menu open"

close_window "$BUS_WIN"
wait_exit
log "signboard drag ok"
