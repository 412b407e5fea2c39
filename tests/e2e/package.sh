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
on_exit 'dpkg --purge kururina >/dev/null 2>&1'
dpkg -i "$deb" >/dev/null

home=$E2E_DIR/home
signs=$(sign_folder "$home/signs")
export SDL_AUDIODRIVER=dummy
bus=$(as_ordinary_user /usr/games/kururina "$home")
ini=$home/.config/kururina/kururina.ini

start_bus "$bus"
wmctrl -i -r "$BUS_WIN" -e 0,211,333,-1,-1
sleep 0.4
bus_at=$(frame_position "$BUS_WIN") panel_at=$(frame_position "$PANEL")
close_window "$BUS_WIN"; wait_exit 10
check_settings "$ini" "the close" bus="$bus_at" panel="$panel_at"
[ "$(stat -c %a%U "$home/.config" "$home/.config/kururina" | sort -u)" = 700nobody ] || fail "folder modes"
write_settings "$ini" bus="$bus_at" panel="$panel_at" signs="$signs" # a sign folder, so that the line applies
start_bus "$bus"
[ "$(frame_position "$BUS_WIN")" = "$bus_at" ] || fail "the bus came back elsewhere: $(frame_position "$BUS_WIN")"
close_window "$BUS_WIN"; wait_exit 10

dpkg --purge kururina >/dev/null # a file left in the program's folder would keep the folder too
[ "$(present)" = "$before" ] || fail "left behind: $(comm -13 <(echo "$before") <(present))"
log "installed, played with by an ordinary user (settings in his ~/.config), purged without a trace"
