#!/usr/bin/env bash
# The real program on X11: the bus window's title, size and decorations, the
# pop-up menu on a right click, and the program ending when the bus closes.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy

exe=$(install_bus minibus)   # a renamed copy shows its own name
start_bus "$exe"
log "bus window $BUS_WIN"

read -r x y w h < <(client_geometry "$BUS_WIN")
[ "$w" -eq 664 ] && [ "$h" -eq 213 ] || fail "client area ${w}x${h}, expected 664x213"

# Functions MOVE|RESIZE|CLOSE without MINIMIZE/MAXIMIZE; decorations without min/max buttons.
hints=$(xprop -id "$BUS_WIN" _MOTIF_WM_HINTS | sed 's/.*= //')
IFS=', ' read -r flags funcs decor _ <<<"$hints"
(( (funcs & 0x18) == 0 )) || fail "bus allows minimise or maximise: $hints"
(( (funcs & 0x20) != 0 )) || fail "bus cannot be closed: $hints"
(( (decor & 0x60) == 0 )) || fail "bus shows minimise or maximise buttons: $hints"
[[ $(xprop -id "$BUS_WIN" _NET_WM_STATE) == *SKIP_TASKBAR* ]] && fail "the bus must have a task-bar entry"
[[ $(xprop -id "$BUS_WIN" _NET_WM_ICON) == *'Icon (32 x 32)'* ]] || fail "no 32x32 icon"

# A right click on the bus body opens the menu at the pointer; Escape closes it.
[ -z "$(popup_menu)" ] || fail "a menu is open before any click"
click_in "$BUS_WIN" 250 190 3
sleep 0.4
read -r mx my mw mh < <(popup_menu) || true
[ -n "${mx:-}" ] || fail "right click opened no menu"
[ "$mx" -eq $((x + 250)) ] && [ "$my" -eq $((y + 190)) ] || fail "menu at $mx,$my, pointer at $((x + 250)),$((y + 190))"
shot "$E2E_DIR/menu.png"
[ -n "${KURURINA_SCREENSHOT_DIR:-}" ] && cp "$E2E_DIR/menu.png" "$KURURINA_SCREENSHOT_DIR/bus-menu.png"
xdotool key Escape
sleep 0.3
[ -z "$(popup_menu)" ] || fail "Escape left the menu open"

# A left click on the body opens nothing.
click_in "$BUS_WIN" 250 190 1
sleep 0.3
[ -z "$(popup_menu)" ] || fail "left click opened a menu"

# The bus body is drawn: mostly not white, and the built-in sign sits in its box.
shot "$E2E_DIR/bus.png" "$BUS_WIN"
sign=$(pixel "$E2E_DIR/bus.png" 180 50)
log "sign pixel: $sign"

close_window "$BUS_WIN"
wait_exit 10
log "program ended after the bus closed"
