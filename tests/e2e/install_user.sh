#!/usr/bin/env bash
# The per-user install: program folder, launcher, icon and command link; the
# installed program and a renamed copy of it each keep their own settings;
# the uninstall removes it all.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
export HOME="$E2E_DIR/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
src=${KURURINA_SOURCE_DIR:?}
KURURINA_SKIP_BUILD=1 KURURINA_BUILD_DIR="$(dirname "$KURURINA_BIN_DIR")" "$src/scripts/install-user" >/dev/null

prefix="$HOME/.local/share/kururina"
[ -x "$prefix/kururina" ] || fail "program not installed"
[ -L "$HOME/.local/bin/kururina" ] || fail "no command link"
desktop="$HOME/.local/share/applications/kururina.desktop"
grep -q "^Exec=$prefix/kururina\$" "$desktop" || fail "launcher does not start the installed program"
grep -q '^Icon=kururina$' "$desktop" || fail "launcher names no icon"
icons="$HOME/.local/share/icons/hicolor"
for size in 32 64; do
  [ "$(identify -format '%wx%h' "$icons/${size}x${size}/apps/kururina.png" 2>/dev/null)" = "${size}x${size}" ] ||
    fail "no ${size}x${size} icon installed"
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop" || fail "invalid launcher"; fi

# Started through the command link, the program still finds its own folder.
start_bus "$HOME/.local/bin/kururina"
wmctrl -i -r "$BUS_WIN" -e 0,150,120,-1,-1
sleep 0.3
close_window "$BUS_WIN"; wait_exit 10
[ -s "$prefix/kururina.ini" ] || fail "no settings beside the installed program"
first=$(cat "$prefix/kururina.ini")

cp "$prefix/kururina" "$prefix/minibus"
start_bus "$prefix/minibus"
close_window "$BUS_WIN"; wait_exit 10
[ -s "$prefix/minibus.ini" ] || fail "the renamed copy kept no settings of its own"
[ "$(cat "$prefix/kururina.ini")" = "$first" ] || fail "the renamed copy changed the original's settings"
[ "$(cut -d, -f1-2 "$prefix/minibus.ini")" = "0,0" ] || fail "the renamed copy did not start from the defaults"

"$src/scripts/uninstall-user" >/dev/null
[ ! -e "$prefix" ] && [ ! -e "$desktop" ] && [ ! -e "$HOME/.local/bin/kururina" ] || fail "uninstall left files behind"
[ -z "$(find "$icons" -name kururina.png)" ] || fail "uninstall left the icons behind"
log "install, renamed copy and uninstall all behaved"
