#!/usr/bin/env bash
# The settings file on the real window system, with the program installed by
# scripts/install-user and started through its command link: the first start
# saves where the windows are and they come back there; a close without changes
# writes the same bytes, to the same file even after an upgrade while the bus
# ran; and whatever happens at the close (SIGKILL at any moment, a full disk)
# the old file stays whole, the full disk with the system's message. From a
# read-only folder the line goes to the user's ~/.config/kururina instead.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy HOME="$E2E_DIR/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
install_user() {
  KURURINA_SKIP_BUILD=1 KURURINA_BUILD_DIR="$(dirname "$KURURINA_BIN_DIR")" "$KURURINA_SOURCE_DIR/scripts/install-user" >/dev/null
}
install_user
exe="$HOME/.local/bin/kururina"
dir="$HOME/.local/libexec/kururina"
ini="$dir/kururina.ini"
start() { start_bus "$1"; PANEL=$(wait_window "設定パネル") || fail "no panel"; sleep 0.3; }
positions() { echo "$(frame_position "$BUS_WIN") $(frame_position "$PANEL")"; } # the frames' top-left corners

start "$exe"
read -r bx by px py < <(positions) # where they go without a file: desktop.sh
close_window "$BUS_WIN"; wait_exit 10
[ "$(cat "$ini")" = "$((bx * 15)),$((by * 15)),$((px * 15)),$((py * 15)),\"\",\"\",0,0,\"\",7425,1665,#TRUE#,#TRUE#,10000,6000,0"$'\r' ] ||
  fail "saved: $(cat "$ini")"

# A sign folder, so that the saved positions apply (an empty one cannot).
mkdir -p "$E2E_DIR/signs"; convert -size 20x10 xc:red "$E2E_DIR/signs/a.bmp"
sed -i "s|^\([^,]*,[^,]*,[^,]*,[^,]*\),\"\"|\1,\"$E2E_DIR/signs/\"|" "$ini"
cp "$ini" "$E2E_DIR/expected.ini"
for when in start door idle; do # SIGKILL right after the start, while a door moves, and while idle
  start "$exe"
  case $when in
    door) click_in "$PANEL" 31 30; sleep 0.2 ;;
    idle) sleep 1 ;;
  esac
  kill -KILL "$BUS_PID"; wait "$BUS_PID" 2>/dev/null || true; BUS_PID=""
  cmp -s "$ini" "$E2E_DIR/expected.ini" || fail "SIGKILL ($when) changed the settings file"
done
start "$exe"
[ "$(positions)" = "$bx $by $px $py" ] || fail "the windows came back elsewhere: $(positions)"
rm "$ini"
install_user # the upgrade: a new program file in the old one's place
close_window "$BUS_WIN"; wait_exit 10
cmp "$ini" "$E2E_DIR/expected.ini" || fail "a close without changes (after an upgrade) wrote different bytes"
inis=("$dir"/*.ini)
[ ${#inis[@]} -eq 1 ] || fail "settings written elsewhere: ${inis[*]}"

mnt="$E2E_DIR/mnt"
mkdir -p "$mnt"
if ! mount -t tmpfs -o size=$(($(du -sk "$dir" | cut -f1) + 1024))k tmpfs "$mnt" 2>/dev/null; then
  log "cannot mount a scratch file system here: read-only and full-disk cases skipped"
  exit 0
fi
trap 'umount "$mnt" 2>/dev/null || true; cleanup_e2e' EXIT
cp "$dir"/* "$mnt/"
mount -o remount,ro "$mnt"
start_bus "$mnt/kururina" # its settings beside it are the starting point
close_window "$BUS_WIN"; wait_exit 10
cmp "$HOME/.config/kururina/kururina.ini" "$E2E_DIR/expected.ini" || fail "read-only folder: not saved in ~/.config"
mount -o remount,rw "$mnt"
dd if=/dev/zero of="$mnt/filler" bs=4k 2>/dev/null || true
start_bus "$mnt/kururina" # a writable folder: beside the program again, ~/.config unread
wmctrl -i -r "$BUS_WIN" -e 0,40,40,-1,-1 # a change, so the line would differ
sleep 0.3
# The close must show the system's message; dismissed, it lets the bus end.
before=$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true)
close_window "$BUS_WIN"
for _ in $(seq 100); do
  msg=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true) | sed -n 1p)
  [ -n "$msg" ] && break
  sleep 0.1
done
[ -n "$msg" ] || fail "full disk: no message at the close"
log "full disk: message \"$(xdotool getwindowname "$msg")\""
xdotool windowactivate --sync "$msg" key Return 2>/dev/null || xdotool key Return
wait_exit 10
cmp -s "$mnt/kururina.ini" "$E2E_DIR/expected.ini" || fail "full disk: the old settings file was not kept"
log "settings kept through restarts, an upgrade, kills and a full disk; a read-only folder saves to ~/.config"
