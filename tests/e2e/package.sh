#!/usr/bin/env bash
# The Debian package (scripts/package: built and checked), installed for
# everyone: an ordinary user starts /usr/games/kururina, whose folder he may
# not write; his settings go to his own ~/.config/kururina (made with mode 700)
# and come back at the next start. The purge leaves nothing of the package.
. "$(dirname "$0")/lib.sh"
command -v dpkg >/dev/null || skip "no dpkg on this machine"
[ "$(id -u)" -eq 0 ] || skip "installing the package needs root"
exec 9>/tmp/kururina-package-test.lock && flock 9 # one installed package at a time on this machine
dpkg -s kururina >/dev/null 2>&1 && fail "kururina is installed here already (dpkg --purge kururina)"
deb=$(KURURINA_SKIP_BUILD=1 KURURINA_BUILD_DIR="$(dirname "$KURURINA_BIN_DIR")" "$KURURINA_SOURCE_DIR/scripts/package" | sed -n 's/^package: \(.*\) (.*/\1/p')
paths=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | sed 's|/$||')
present() { for p in $paths; do if [ -e "$p" ] || [ -L "$p" ]; then echo "$p"; fi; done; }
before=$(present)
trap 'dpkg --purge kururina >/dev/null 2>&1 || true; cleanup_e2e' EXIT
dpkg -i "$deb" >/dev/null

home=$E2E_DIR/home
mkdir -p "$home/signs" && convert -size 20x10 xc:red "$home/signs/a.bmp"
export SDL_AUDIODRIVER=dummy
bus=$(as_ordinary_user /usr/games/kururina "$home")
ini=$home/.config/kururina/kururina.ini

start_bus "$bus"
wmctrl -i -r "$BUS_WIN" -e 0,211,333,-1,-1
sleep 0.4
read -r bx by < <(frame_position "$BUS_WIN")
close_window "$BUS_WIN"; wait_exit 10
[[ $(cat "$ini" 2>/dev/null) == "$((bx * 15)),$((by * 15)),"* ]] || fail "saved: $(cat "$ini" 2>&1)"
[ "$(stat -c %a%U "$home/.config" "$home/.config/kururina" | sort -u)" = 700nobody ] || fail "folder modes"
sed -i "s|^\([^,]*,[^,]*,[^,]*,[^,]*\),\"\"|\1,\"$home/signs/\"|" "$ini" # a sign folder, so that the line applies
start_bus "$bus"
[ "$(frame_position "$BUS_WIN")" = "$bx $by" ] || fail "the bus came back elsewhere: $(frame_position "$BUS_WIN")"
close_window "$BUS_WIN"; wait_exit 10

dpkg --purge kururina >/dev/null # a file left in the program's folder would keep the folder too
[ "$(present)" = "$before" ] || fail "left behind: $(comm -13 <(echo "$before") <(present))"
log "installed, played with by an ordinary user (settings in his ~/.config), purged without a trace"
