#!/usr/bin/env bash
# No window lost to a changed screen, with the real program on a display of
# its own whose monitors this test changes with RandR. At the start a saved
# place that would leave a window out of reach is replaced by the nearest place
# wholly on a monitor; one half off an edge stays, where the window manager
# lets a program put it there (openbox, xfwm4; mutter and kwin pull every new
# window onto a monitor themselves). While the bus runs, a monitor that goes
# away or a screen that shrinks moves the windows it leaves out of reach.
# Every close ends with status 0 and saves where the windows are.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
exe=$(install_bus minibus)
ini="$(dirname "$exe")/minibus.ini"
signs=$(sign_folder "$E2E_DIR/signs")
wm=$(wmctrl -m | sed -n 's/^Name: //p')
log "window manager: $wm"
# openbox and xfwm4 leave windows where the program puts them; mutter and kwin
# move them wholly onto a monitor themselves, at the start and when it shrinks.
case $wm in Openbox | Xfwm4) exact=1 ;; *) exact="" ;; esac

# start BUS_X BUS_Y PANEL_X PANEL_Y: from a settings file with these places;
# sets BW BH and PW PH, the windows' outer sizes.
start() {
  write_settings "$ini" bus="$1 $2" panel="$3 $4" signs="$signs"
  start_bus "$exe"
  read -r BW BH < <(outer "$BUS_WIN"); read -r PW PH < <(outer "$PANEL")
}
outer() {
  local l r t b w h
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r _ _ w h < <(client_geometry "$1")
  echo $((w + l + r)) $((h + t + b))
}
# at WIN X Y WHAT: the frame's top-left is there within 3 s.
at() { wait_until 3 placed "$1" "$2 $3" || fail "$4 at $(frame_position "$1"), expected $2 $3"; }
placed() { [ "$(frame_position "$1")" = "$2" ]; }
# within WIN W H X0 Y0 X1 Y1 WHAT: within 3 s the W x H frame lies wholly in the rectangle from X0,Y0 to X1,Y1.
within() { wait_until 3 inside "${@:1:7}" || fail "$8 at $(frame_position "$1") is not wholly in $4,$5-$6,$7"; }
inside() { local x y; read -r x y < <(frame_position "$1"); ((x >= $4 && y >= $5 && x + $2 <= $6 && y + $3 <= $7)); }
# closes: the close box ends the bus with status 0, no sanitizer report, and
# the line with the places the windows were shown at saved.
closes() {
  local bus panel
  bus=$(frame_position "$BUS_WIN") panel=$(frame_position "$PANEL")
  close_window "$BUS_WIN"; wait_exit 10
  check_settings "$ini" "the close" bus="$bus" panel="$panel" signs="$signs"
}

# Two monitors of different heights side by side: 1280 x 1024 and 640 x 1200,
# before any change of the screen's mode. A monitor set by hand comes with no
# RandR event, and xfwm4 (as GTK does) reads the monitors only at one and sees
# none without an output (Xvfb has one): after a change of mode it would take
# LEFT for the whole screen, and the windows this test puts on RIGHT for lost.
# Before any, it keeps the one 1920 x 1200 screen it started with.
xrandr --setmonitor LEFT 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 640/169x1200/317+1280+0 none
# Beyond the right monitor's edge (onto the left one: the bus is wider than
# the right one), below the left monitor.
start 2100 300 600 1100
at "$BUS_WIN" $((1280 - BW)) 300 "the bus saved beyond the right edge"
at "$PANEL" 600 $((1024 - PH)) "the panel saved below the left monitor"
closes
# Half off the left monitor's left edge, half off the right one's right edge.
start -333 400 1780 900
if [ -n "$exact" ]; then
  at "$BUS_WIN" -333 400 "the bus saved half off the left edge"
  at "$PANEL" 1780 900 "the panel saved half off the right edge"
else
  within "$BUS_WIN" "$BW" "$BH" 0 0 1280 1024 "the bus saved half off the left edge"
  within "$PANEL" "$PW" "$PH" 1280 0 1920 1200 "the panel saved half off the right edge"
  log "$wm put the bus at $(frame_position "$BUS_WIN"), the panel at $(frame_position "$PANEL")"
fi
closes
# Its title bar above the top; beyond the bottom-right corner.
start 300 -100 2100 1300
at "$BUS_WIN" 300 0 "the bus saved with its title bar above the top"
at "$PANEL" $((1920 - PW)) $((1200 - PH)) "the panel saved beyond the bottom-right corner"
closes
# Both on the right monitor (the bus, wider, partly off it), which goes away.
start 1290 900 1500 100
at "$PANEL" 1500 100 "the panel on the right monitor"
xrandr --delmonitor RIGHT
at "$BUS_WIN" $((1280 - BW)) $((1024 - BH)) "the bus after its monitor went away"
at "$PANEL" $((1280 - PW)) 100 "the panel after its monitor went away"
closes
xrandr --delmonitor LEFT

# One 1920 x 1200 screen that shrinks under the bus and the panel, twice; a
# move of the user's in between stays.
mode() { xrandr --newmode "$1x$2" 0 "$1" 0 0 0 "$2" 0 0 0; xrandr --addmode screen "$1x$2"; xrandr --output screen --mode "$1x$2"; }
# shrank W H BUS_X BUS_Y PANEL_X PANEL_Y
shrank() {
  if [ -n "$exact" ]; then
    at "$BUS_WIN" "$3" "$4" "the bus after the screen shrank to $1 x $2"
    at "$PANEL" "$5" "$6" "the panel after the screen shrank to $1 x $2"
  fi
  within "$BUS_WIN" "$BW" "$BH" 0 0 "$1" "$2" "the bus after the screen shrank to $1 x $2"
  within "$PANEL" "$PW" "$PH" 0 0 "$1" "$2" "the panel after the screen shrank to $1 x $2"
}
start 1200 900 100 1000
at "$BUS_WIN" 1200 900 "the bus"
mode 1280 1024
shrank 1280 1024 $((1280 - BW)) $((1024 - BH)) 100 $((1024 - PH))
wmctrl -i -r "$BUS_WIN" -e 0,300,740,-1,-1
at "$BUS_WIN" 300 740 "the bus the user moved"
mode 1024 768
shrank 1024 768 300 $((768 - BH)) 100 $((768 - PH))
closes
log "no window lost"
