#!/usr/bin/env bash
# The real program under a window manager (openbox; xfwm4, mutter, kwin and
# GNOME on Wayland's XWayland through scripts/with-x): every window's
# decorations, owner and stacking, the pop-up menu at the pointer, the
# signboard dragged with the real pointer, and no window lost to minimise or
# "show desktop"; the bus still closes, saves and ends, and comes back from
# its settings file exactly where the file says. On XWayland only the last,
# as the rest follows the same X11 rules there.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
exe=$(install_bus minibus)   # a renamed copy shows its own name
start() { start_bus "$exe"; PANEL=$(wait_window "設定パネル") || fail "no panel"; }
wm=$(wmctrl -m | sed -n 's/^Name: //p')
log "window manager: $wm${WAYLAND_DISPLAY:+ (Wayland)}"
# panel_above: after a click into the bus, the panel is still above it.
panel_above() {
  local id order=""
  click_in "$BUS_WIN" 250 190 1; sleep 0.3
  for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
    (( id == BUS_WIN )) && order="$order bus"
    (( id == PANEL )) && order="$order panel"
  done
  [ "$order" = " bus panel" ] || fail "stacking bottom to top:$order"
}
if [ -z "${WAYLAND_DISPLAY:-}" ]; then
start
read -r wx wy _ _ < <(client_geometry "$BUS_WIN")
read -r _ _ t b < <(xprop -id "$BUS_WIN" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
[ "$(frame_position "$PANEL")" = "0 $((213 + t + b))" ] || fail "the panel is not right below the bus: $(frame_position "$PANEL")"

size() { read -r _ _ w h < <(client_geometry "$1"); [ "${w}x$h" = "$2" ] || fail "$1 is ${w}x$h, expected $2"; }
# functions WIN: the Motif function bits (CLOSE 0x20, MINIMIZE 0x8, MAXIMIZE 0x10).
functions() { local f; IFS=', ' read -r _ f _ <<<"$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //')"; echo $((f)); }
state() { xprop -id "$1" _NET_WM_STATE; }
has_icon() { [[ $(xprop -id "$1" _NET_WM_ICON) == *'Icon (32 x 32)'* ]]; }
wait_gone() { for _ in $(seq 40); do is_viewable "$1" || return 0; sleep 0.05; done; fail "$2"; }

# Decorations: the bus fixed with a close box only, in the task bar, with its
# icon; the panel above it out of the task bar, kept by the close keystroke.
size "$BUS_WIN" 664x213
(( $(functions "$BUS_WIN") & 0x20 )) && (( ($(functions "$BUS_WIN") & 0x18) == 0 )) || fail "bus: close box only"
[[ $(state "$BUS_WIN") != *SKIP_TASKBAR* ]] || fail "the bus must have a task-bar entry"
has_icon "$BUS_WIN" || fail "the bus has no 32x32 icon"
size "$PANEL" 263x171
(( ($(functions "$PANEL") & 0x38) == 0 )) || fail "the panel offers close, minimise or maximise"
[[ $(state "$PANEL") == *SKIP_TASKBAR* && $(state "$PANEL") == *ABOVE* ]] || fail "panel state: $(state "$PANEL")"
owner() { [[ $(xprop -id "$1" WM_TRANSIENT_FOR) == *"$(printf '%#x' "$2")" ]] || fail "$3"; }
owner "$PANEL" "$BUS_WIN" "the panel is not the bus's"
xdotool windowactivate --sync "$BUS_WIN"; xdotool windowraise "$BUS_WIN"
panel_above
close_window "$PANEL"; sleep 0.3
is_viewable "$PANEL" || fail "the close keystroke closed the panel"

# The menu at the pointer on a right click (the left click above opened none); Escape closes it.
[ -z "$(popup_menu)" ] || fail "a left click opened a menu"
click_in "$BUS_WIN" 250 190 3; sleep 0.4
read -r mx my _ _ < <(popup_menu) || fail "a right click opened no menu"
[ "$mx,$my" = "$((wx + 250)),$((wy + 190))" ] || fail "menu at $mx,$my, pointer at $((wx + 250)),$((wy + 190))"
xdotool key Escape; sleep 0.3
[ -z "$(popup_menu)" ] || fail "Escape left the menu open"

# The signboard follows the left button and stays where it is dropped, its
# frame left behind (the unit tests cover the refit and the edges).
gray="224 224 224" white="255 255 255"
expect() { # expect NAME "X Y R G B WHAT"...: colours of points of the bus's client area
  local name=$1 x y r g b what got; shift
  shot "$E2E_DIR/$name.png" "$BUS_WIN"
  for point in "$@"; do
    read -r x y r g b what <<<"$point"
    got=$(pixel "$E2E_DIR/$name.png" "$x" "$y")
    [ "$got" = "$r $g $b" ] || fail "$name: $what at $x,$y is $got, expected $r $g $b"
  done
}
# The reset signboard is 94 x 30 px at 495,111, framed by posts at 490 and 589.
expect start "540 125 $white board" "492 125 $gray left post" "591 125 $gray right post"
pointer_to $((wx + 540)) $((wy + 125))   # dragged by (-95, -71) through the midpoint: it lands at 400,40
xdotool mousedown 1 mousemove --sync $((wx + 492)) $((wy + 90)) mousemove --sync $((wx + 445)) $((wy + 54)) mouseup 1
sleep 0.3
expect dropped "401 41 $white board's top-left" "493 69 $white board's bottom-right" "492 125 $gray frame left behind"
[ "$(pixel "$E2E_DIR/dropped.png" 399 55)" != "$white" ] || fail "dropped too far left"

# shown WIN WHAT: fails unless the window is back where it was within 3 s (openbox animates).
declare -A at
remember() { for win in "$@"; do at[$win]=$(client_geometry "$win"); done; }
shown() {
  for _ in $(seq 60); do
    is_viewable "$1" && [[ $(state "$1") != *HIDDEN* ]] && [ "$(client_geometry "$1")" = "${at[$1]}" ] && return 0
    sleep 0.05
  done
  fail "$2: $(xprop -id "$1" _NET_WM_STATE WM_STATE | tr '\n' ' ')"
}
# The panel, minimised alone (openbox takes the bus with it), comes back when
# the bus is clicked or activated, still out of the task bar and above.
remember "$BUS_WIN" "$PANEL"
xdotool windowminimize "$PANEL"; sleep 0.4
if is_viewable "$BUS_WIN"; then click_in "$BUS_WIN" 250 190; else xdotool windowactivate "$BUS_WIN"; fi
shown "$PANEL" "the panel stayed minimised after the bus was used"
[[ $(state "$PANEL") == *SKIP_TASKBAR* && $(state "$PANEL") == *ABOVE* ]] || fail "the panel came back as $(state "$PANEL")"
for hide in "xdotool windowminimize $BUS_WIN" "wmctrl -k on"; do
  $hide; sleep 0.4
  xdotool windowactivate "$BUS_WIN"
  shown "$BUS_WIN" "$hide: the bus did not come back"
  shown "$PANEL" "$hide: the panel did not come back with the bus"
done

# The modal boxes: modal, windows of the window they were opened from, out of
# the task bar, no icon and no close box, placed by the window manager, never
# left minimised (nor hidden by "show desktop"), and closed by the window
# manager as a cancel. kwin offers no close at all on a window without a close
# function: there they close by their buttons only.
close_box() { # close_box WIN X Y WHAT: the window manager's close (kwin: the button at X,Y)
  close_window "$1"
  if [ "$wm" = KWin ]; then
    sleep 0.3; is_viewable "$1" || fail "kwin closed $4 without a close function"
    click_in "$1" "$2" "$3"
  fi
  wait_gone "$1" "the window manager's close left $4 open"
}
click_in "$PANEL" 98 155
DLG=$(wait_window "クルリナのバージョン情報") || fail "the version box did not open"
size "$DLG" 333x223
owner "$DLG" "$PANEL" "the version box is not the panel's"
[[ $(state "$DLG") == *SKIP_TASKBAR* ]] || fail "version box: $(state "$DLG")"
close_box "$DLG" 279 207 "the version box"
click_in "$PANEL" 207 155
DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open"
size "$DLG" 460x81
click_in "$DLG" 411 38
CHOOSER=$(wait_window "方向幕のあるフォルダを選択してください") || fail "the folder chooser did not open"
remember "$CHOOSER" "$DLG"
owner "$DLG" "$PANEL" "the folder dialog is not the panel's"
owner "$CHOOSER" "$DLG" "the folder chooser is not the folder dialog's"
[[ $(state "$DLG") == *MODAL* && $(state "$DLG") == *SKIP_TASKBAR* && $(state "$CHOOSER") == *SKIP_TASKBAR* ]] ||
  fail "folder dialog: $(state "$DLG"), chooser: $(state "$CHOOSER")"
(( ($(functions "$DLG") & 0x38) == 0 )) || fail "the folder dialog offers close, minimise or maximise"
! has_icon "$DLG" || fail "the folder dialog carries the program's icon"
[[ $(xprop -id "$DLG" WM_NORMAL_HINTS) != *'specified location'* ]] || fail "the program placed the dialog itself"
for win in "$CHOOSER" "$DLG"; do
  xdotool windowminimize "$win"; sleep 0.4
  shown "$win" "a modal box stayed minimised"
done
wmctrl -k on; sleep 0.4
xdotool windowactivate "$BUS_WIN"
shown "$CHOOSER" "the folder chooser stayed hidden after show desktop"
shown "$DLG" "the folder dialog stayed hidden after show desktop"
xdotool key Escape
close_box "$DLG" 409 66 "the folder dialog"

close_window "$BUS_WIN"; wait_exit 10
[ -s "$(dirname "$exe")/minibus.ini" ] || fail "no settings written at the close"
fi

# From a settings file with a sign folder (else the positions do not apply):
# both windows exactly where it says, the panel above the bus it overlaps; a
# move is what the next close writes.
mkdir -p "$E2E_DIR/signs"; convert -size 20x10 xc:red "$E2E_DIR/signs/a.bmp"
line() { echo "$(($1 * 15)),$(($2 * 15)),$(($3 * 15)),$(($4 * 15)),\"$E2E_DIR/signs/\",\"\",0,0,\"\",7425,1665,#TRUE#,#TRUE#,10000,6000,0"; }
line 211 333 700 500 >"$(dirname "$exe")/minibus.ini"
start
[ "$(frame_position "$BUS_WIN") $(frame_position "$PANEL")" = "211 333 700 500" ] ||
  fail "not where the file says: $(frame_position "$BUS_WIN") $(frame_position "$PANEL")"
panel_above
wmctrl -i -r "$BUS_WIN" -e 0,100,80,-1,-1; wmctrl -i -r "$PANEL" -e 0,700,150,-1,-1; sleep 0.4
close_window "$BUS_WIN"; wait_exit 10
[ "$(tr -d '\r' <"$(dirname "$exe")/minibus.ini")" = "$(line 100 80 700 150)" ] ||
  fail "saved after a move: $(cat "$(dirname "$exe")/minibus.ini")"
log "every window as it should be"
