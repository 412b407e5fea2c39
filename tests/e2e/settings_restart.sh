#!/usr/bin/env bash
# Settings across restarts on the real window system: the first start has no
# file (bus top-left, panel right below its frame); the windows moved by the
# user come back exactly where they were; a second close writes the same bytes,
# to the same file even when the program was upgraded while it ran. The
# program is installed for a user by scripts/install-user and started through
# its command link.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy HOME="$E2E_DIR/home"
unset XDG_DATA_HOME
install_user() {
  KURURINA_SKIP_BUILD=1 KURURINA_BUILD_DIR="$(dirname "$KURURINA_BIN_DIR")" "$KURURINA_SOURCE_DIR/scripts/install-user" >/dev/null
}
install_user
exe="$HOME/.local/bin/kururina"
ini="$HOME/.local/share/kururina/kururina.ini"

start_bus "$exe"
panel=$(wait_window "設定パネル") || fail "no panel"
sleep 0.3
read -r bx by < <(frame_position "$BUS_WIN")
read -r px py < <(frame_position "$panel")
read -r _ _ _ bh < <(client_geometry "$BUS_WIN")
read -r _ _ _ t b < <(xprop -id "$BUS_WIN" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g' | awk '{print 0, $1, $2, $3, $4}')
[ "$bx,$by" = "0,0" ] || fail "bus at $bx,$by without a settings file"
[ "$px,$py" = "0,$((bh + t + b))" ] || fail "panel at $px,$py, expected right below the bus's frame (0,$((bh + t + b)))"

wmctrl -i -r "$BUS_WIN" -e 0,211,333,-1,-1
wmctrl -i -r "$panel" -e 0,700,150,-1,-1
sleep 0.4
read -r bx by < <(frame_position "$BUS_WIN")
read -r px py < <(frame_position "$panel")
log "moved: bus $bx,$by panel $px,$py"
close_window "$BUS_WIN"; wait_exit 10
line=$(cat "$ini")
log "saved: $line"
case "$line" in "$((bx * 15)),$((by * 15)),$((px * 15)),$((py * 15)),\"\",\"\",0,0,\"\",7425,1665,#TRUE#,#TRUE#,10000,6000,0"$'\r') ;;
  *) fail "unexpected line: $line" ;; esac

# An empty sign folder cannot be applied, so this start takes the defaults
# again; give it a folder so that the saved positions are kept.
mkdir -p "$E2E_DIR/signs"; convert -size 20x10 xc:red "$E2E_DIR/signs/a.bmp"
sed -i "s|^\([^,]*,[^,]*,[^,]*,[^,]*\),\"\"|\1,\"$E2E_DIR/signs/\"|" "$ini"
cp "$ini" "$E2E_DIR/before.ini"
start_bus "$exe"
panel=$(wait_window "設定パネル") || fail "no panel"
sleep 0.3
read -r nbx nby < <(frame_position "$BUS_WIN")
read -r npx npy < <(frame_position "$panel")
[ "$nbx,$nby" = "$bx,$by" ] || fail "bus came back at $nbx,$nby, saved at $bx,$by"
[ "$npx,$npy" = "$px,$py" ] || fail "panel came back at $npx,$npy, saved at $px,$py"
# An upgrade while the bus runs puts a new program file in the old one's place;
# the close must still write the program's own settings file.
rm "$ini"
install_user
close_window "$BUS_WIN"; wait_exit 10
cmp "$ini" "$E2E_DIR/before.ini" || fail "a close without changes (after an upgrade) wrote different bytes"
inis=("$(dirname "$ini")"/*.ini)
[ ${#inis[@]} -eq 1 ] || fail "settings written elsewhere: ${inis[*]}"
log "positions round-trip; an unchanged close after an upgrade writes the same bytes to the same file"
