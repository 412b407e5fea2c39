#!/usr/bin/env bash
# The window manager's view of every window: the bus (fixed, close box only,
# in the task bar, its icon), the panel (out of the task bar, above the bus
# even after the bus is raised, kept by the close keystroke), the two modal
# boxes (modal, out of the task bar, no icon, no close box, placed by the
# window manager, closed by it as a cancel); the pop-up menu at the pointer;
# and the program ending when the bus closes.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy

exe=$(install_bus minibus)   # a renamed copy shows its own name
start_bus "$exe"
PANEL=$(wait_window "設定パネル") || fail "no panel"

# size WIN WxH; functions WIN: the Motif function bits (CLOSE 0x20, MINIMIZE 0x8, MAXIMIZE 0x10).
size() { read -r _ _ w h < <(client_geometry "$1"); [ "${w}x$h" = "$2" ] || fail "$1 is ${w}x$h, expected $2"; }
functions() { local f; IFS=', ' read -r _ f _ <<<"$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //')"; echo $((f)); }
state() { xprop -id "$1" _NET_WM_STATE; }
has_icon() { [[ $(xprop -id "$1" _NET_WM_ICON) == *'Icon (32 x 32)'* ]]; }
wait_gone() { for _ in $(seq 40); do is_viewable "$1" || return 0; sleep 0.05; done; fail "$2"; }

size "$BUS_WIN" 664x213
(( $(functions "$BUS_WIN") & 0x20 )) && (( ($(functions "$BUS_WIN") & 0x18) == 0 )) || fail "bus: close box only"
[[ $(state "$BUS_WIN") != *SKIP_TASKBAR* ]] || fail "the bus must have a task-bar entry"
has_icon "$BUS_WIN" || fail "the bus has no 32x32 icon"

size "$PANEL" 263x171
(( ($(functions "$PANEL") & 0x38) == 0 )) || fail "the panel offers close, minimise or maximise"
[[ $(state "$PANEL") == *SKIP_TASKBAR*ABOVE* || $(state "$PANEL") == *ABOVE*SKIP_TASKBAR* ]] ||
  fail "panel state: $(state "$PANEL")"
xdotool windowactivate --sync "$BUS_WIN"; xdotool windowraise "$BUS_WIN"
click_in "$BUS_WIN" 250 190 1
sleep 0.3
order=""
for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
  (( id == BUS_WIN )) && order="$order bus"
  (( id == PANEL )) && order="$order panel"
done
[ "$order" = " bus panel" ] || fail "stacking bottom to top:$order"
close_window "$PANEL"; sleep 0.3
is_viewable "$PANEL" || fail "the close keystroke closed the panel"

# The menu at the pointer on a right click (a left click opens none); Escape closes it.
read -r x y _ _ < <(client_geometry "$BUS_WIN")
click_in "$BUS_WIN" 250 190 1; sleep 0.3
[ -z "$(popup_menu)" ] || fail "a left click opened a menu"
click_in "$BUS_WIN" 250 190 3; sleep 0.4
read -r mx my _ _ < <(popup_menu) || fail "a right click opened no menu"
[ "$mx,$my" = "$((x + 250)),$((y + 190))" ] || fail "menu at $mx,$my, pointer at $((x + 250)),$((y + 190))"
xdotool key Escape; sleep 0.3
[ -z "$(popup_menu)" ] || fail "Escape left the menu open"

# The folder dialog (panel's folder button) and the version box (its version button).
for box in "画像の位置 207 155 460x81" "クルリナのバージョン情報 98 155 333x223"; do
  read -r title bx by expected <<<"$box"
  click_in "$PANEL" "$bx" "$by"
  DLG=$(wait_window "$title") || fail "$title did not open"
  sleep 0.2
  size "$DLG" "$expected"
  [[ $(state "$DLG") == *MODAL* && $(state "$DLG") == *SKIP_TASKBAR* ]] || fail "$title: $(state "$DLG")"
  (( ($(functions "$DLG") & 0x38) == 0 )) || fail "$title offers close, minimise or maximise"
  ! has_icon "$DLG" || fail "$title carries the program's icon"
  [[ $(xprop -id "$DLG" WM_NORMAL_HINTS) != *'specified location'* ]] || fail "the program placed $title itself"
  close_window "$DLG"
  wait_gone "$DLG" "the window manager's close left $title open"
done

close_window "$BUS_WIN"
wait_exit 10
log "program ended after the bus closed"
