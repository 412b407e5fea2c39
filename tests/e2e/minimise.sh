#!/usr/bin/env bash
# No window is lost to the window manager's minimise or "show desktop": the
# panel comes back with the bus and keeps its place above it out of the task
# bar, a modal box never stays minimised, and the bus still closes and saves.
# Runs under openbox and, through scripts/with-x, under xfwm4.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
exe=$(install_bus)
start_bus "$exe"
PANEL=$(wait_window "設定パネル") || fail "no panel"
log "window manager: $(wmctrl -m | sed -n 's/^Name: //p')"
declare -A at
at[$BUS_WIN]=$(client_geometry "$BUS_WIN") at[$PANEL]=$(client_geometry "$PANEL")

# shown WIN WHAT: fails unless the window is back on the screen, where it
# was at first, within 3 s (openbox animates the way back).
shown() {
  for _ in $(seq 60); do
    is_viewable "$1" && [[ $(xprop -id "$1" _NET_WM_STATE) != *HIDDEN* ]] &&
      [ "$(client_geometry "$1")" = "${at[$1]}" ] && return 0
    sleep 0.05
  done
  fail "$2: $(xprop -id "$1" _NET_WM_STATE WM_STATE | tr '\n' ' ')"
}

# The panel, minimised alone (openbox takes the bus with it), comes back when
# the bus is clicked or activated, still out of the task bar and above.
xdotool windowminimize "$PANEL"; sleep 0.4
if is_viewable "$BUS_WIN"; then click_in "$BUS_WIN" 250 190; else xdotool windowactivate "$BUS_WIN"; fi
shown "$PANEL" "the panel stayed minimised after the bus was used"
[[ $(xprop -id "$PANEL" WM_TRANSIENT_FOR) == *"$(printf '%#x' "$BUS_WIN")" ]] || fail "the panel is not transient for the bus"
state=$(xprop -id "$PANEL" _NET_WM_STATE)
[[ $state == *SKIP_TASKBAR* && $state == *ABOVE* ]] || fail "the panel came back as $state"
for hide in "xdotool windowminimize $BUS_WIN" "wmctrl -k on"; do
  $hide; sleep 0.4
  xdotool windowactivate "$BUS_WIN"
  shown "$BUS_WIN" "$hide: the bus did not come back"
  shown "$PANEL" "$hide: the panel did not come back with the bus"
done

# The folder dialog and the Qt folder chooser above it.
click_in "$PANEL" 207 155
DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open"
click_in "$DLG" 411 38
CHOOSER=$(wait_window "方向幕のあるフォルダを選択してください") || fail "the folder chooser did not open"
for win in "$CHOOSER" "$DLG"; do
  at[$win]=$(client_geometry "$win")
  xdotool windowminimize "$win"; sleep 0.4
  shown "$win" "a modal box stayed minimised"
done
# With the desktop shown, the bus's task-bar entry brings back the boxes too.
wmctrl -k on; sleep 0.4
xdotool windowactivate "$BUS_WIN"
shown "$CHOOSER" "the folder chooser stayed hidden after show desktop"
shown "$DLG" "the folder dialog stayed hidden after show desktop"
xdotool key Escape
close_window "$DLG"

close_window "$BUS_WIN"; wait_exit 10
[ -s "$(dirname "$exe")/kururina.ini" ] || fail "no settings written at the close"
log "every window came back"
