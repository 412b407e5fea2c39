#!/usr/bin/env bash
# The settings file survives whatever happens at the close: SIGKILL at any
# moment, a read-only program folder, a full disk. In the last two the user
# sees the system's message and the program still ends.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy

line='3000,1500,3000,4800,"","",0,0,"",7470,1710,#TRUE#,#TRUE#,10000,6000,0'
exe=$(install_bus)
dir=$(dirname "$exe")
ini="$dir/kururina.ini"
printf '%s\r\n' "$line" >"$ini"
cp "$ini" "$E2E_DIR/expected.ini"

# SIGKILL right after the start, while a door moves, and while idle.
for when in start door idle; do
  start_bus "$exe"
  case $when in
    door) panel=$(wait_window "設定パネル"); click_in "$panel" 31 30; sleep 0.2 ;;
    idle) sleep 1 ;;
  esac
  kill -KILL "$BUS_PID"; wait "$BUS_PID" 2>/dev/null || true; BUS_PID=""
  cmp -s "$ini" "$E2E_DIR/expected.ini" || fail "SIGKILL ($when) changed the settings file"
done
log "SIGKILL at start, during a door movement and while idle left the file as it was"

# close_with_message: closes the bus, expects a message window, dismisses it, waits for the end.
close_with_message() {
  local before after msg=""
  before=$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true)
  close_window "$BUS_WIN"
  for _ in $(seq 100); do
    after=$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true)
    msg=$(comm -13 <(echo "$before") <(echo "$after") | sed -n 1p)
    [ -n "$msg" ] && break
    sleep 0.1
  done
  [ -n "$msg" ] || { cat "$E2E_DIR/bus.log"; fail "$1: no message at the close"; }
  log "$1: message \"$(xdotool getwindowname "$msg")\""
  shot "$E2E_DIR/$1.png"
  xdotool windowactivate --sync "$msg" key Return 2>/dev/null || xdotool key Return
  wait_exit 10
  cmp -s "$2" "$E2E_DIR/expected.ini" || fail "$1: the old settings file was not kept"
}

mnt="$E2E_DIR/mnt"
mkdir -p "$mnt"
size=$(( $(du -sk "$dir" | cut -f1) + 1024 ))k
if ! mount -t tmpfs -o size=$size tmpfs "$mnt" 2>/dev/null; then
  log "cannot mount a scratch file system here: read-only and full-disk cases skipped"
  exit 0
fi
trap 'umount "$mnt" 2>/dev/null || true; cleanup_e2e' EXIT

# A read-only folder.
cp "$dir"/* "$mnt/"
mount -o remount,ro "$mnt"
start_bus "$mnt/kururina"
close_with_message read-only "$mnt/kururina.ini"
mount -o remount,rw "$mnt"

# A full disk: the new file cannot be written, the old one stays.
dd if=/dev/zero of="$mnt/filler" bs=4k 2>/dev/null || true
start_bus "$mnt/kururina"
wmctrl -i -r "$BUS_WIN" -e 0,40,40,-1,-1   # a change, so the line would differ
sleep 0.3
close_with_message full-disk "$mnt/kururina.ini"
log "read-only folder and full disk kept the old file"
