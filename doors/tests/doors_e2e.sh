#!/usr/bin/env bash
# The real panel on X11: no task-bar entry, kept above the bus even after the
# bus is raised, a close keystroke that leaves it open, and the front door
# folding step by step on the screen after a click on its switch.
. "$(dirname "$0")/../../tests/e2e/lib.sh"
export SDL_AUDIODRIVER=dummy

exe=$(install_bus)
start_bus "$exe"
PANEL=$(wait_window "設定パネル") || fail "panel did not appear"
log "bus $BUS_WIN panel $PANEL"

read -r px py pw ph < <(client_geometry "$PANEL")
[ "$pw" -eq 263 ] && [ "$ph" -eq 171 ] || fail "panel client area ${pw}x${ph}, expected 263x171"
state=$(xprop -id "$PANEL" _NET_WM_STATE)
grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" || fail "panel has a task-bar entry: $state"
grep -q _NET_WM_STATE_ABOVE <<<"$state" || fail "panel not kept above: $state"
hints=$(xprop -id "$PANEL" _MOTIF_WM_HINTS | sed 's/.*= //')
IFS=', ' read -r _ funcs _ <<<"$hints"
(( (funcs & 0x38) == 0 )) || fail "panel offers close, minimise or maximise: $hints"

# Raising the bus leaves the panel above it.
xdotool windowactivate --sync "$BUS_WIN"
xdotool windowraise "$BUS_WIN"
click_in "$BUS_WIN" 250 190 1
sleep 0.3
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
order=""
for id in $stacking; do
  [ $((id)) -eq "$BUS_WIN" ] && order="$order bus"
  [ $((id)) -eq "$PANEL" ] && order="$order panel"
done
[ "$order" = " bus panel" ] || fail "stacking bottom to top:$order"

# The close keystroke leaves the panel where it was.
close_window "$PANEL"
sleep 0.3
is_viewable "$PANEL" || fail "the panel closed"

# The slowest front door: a click into the speed bar gives it the focus, End
# takes it to 30000 iterations (3 ms) a step, about 3 s a movement.
click_in "$PANEL" 100 20
xdotool key End
sleep 0.3

crop="73x148+20+46"   # the front door's pixels inside the bus's client area
shot "$E2E_DIR/closed.png" "$BUS_WIN"
click_in "$PANEL" 31 30   # Check1
for i in 1 2 3 4 5 6; do
  sleep 0.35
  shot "$E2E_DIR/moving$i.png" "$BUS_WIN"
done
sleep 2.5
shot "$E2E_DIR/open.png" "$BUS_WIN"
for f in closed open moving1 moving2 moving3 moving4 moving5 moving6; do
  convert "$E2E_DIR/$f.png" -crop "$crop" +repage "$E2E_DIR/door-$f.png"
done
differs() { # differs A B: the two door crops differ in more than 20 pixels
  local n
  n=$(compare -metric AE "$E2E_DIR/door-$1.png" "$E2E_DIR/door-$2.png" null: 2>&1 || true)
  [ "${n%%.*}" -gt 20 ]
}
differs closed open || fail "the door looks the same open and closed"
between=()
for i in 1 2 3 4 5 6; do
  if differs "moving$i" closed && differs "moving$i" open; then between+=("moving$i"); fi
done
log "intermediate frames: ${between[*]:-none}"
[ ${#between[@]} -ge 2 ] || fail "fewer than two intermediate door widths seen"
differs "${between[0]}" "${between[-1]}" || fail "the intermediate frames show one width only"

# A click made while the door moves waits for the movement's end and then runs
# one full movement of its own: close, then (queued) open again.
click_in "$PANEL" 31 30
sleep 0.3
click_in "$PANEL" 31 30
sleep 1.5
shot "$E2E_DIR/closing.png" "$BUS_WIN"
convert "$E2E_DIR/closing.png" -crop "$crop" +repage "$E2E_DIR/door-closing.png"
differs closing open || fail "the second click did not start a closing movement"
# Two movements of about 3 s each; screenshots slow the painting down.
reopened=""
for _ in $(seq 30); do
  sleep 0.5
  shot "$E2E_DIR/reopened.png" "$BUS_WIN"
  convert "$E2E_DIR/reopened.png" -crop "$crop" +repage "$E2E_DIR/door-reopened.png"
  differs reopened open || { reopened=yes; break; }
done
[ -n "$reopened" ] || fail "the queued click did not open the door again"

[ -n "${KURURINA_SCREENSHOT_DIR:-}" ] && cp "$E2E_DIR/${between[0]}.png" "$KURURINA_SCREENSHOT_DIR/front-door-moving.png"
log "ok"
