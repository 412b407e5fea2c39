#!/usr/bin/env bash
# Every end of a session saves the line the close box would: SIGTERM, SIGHUP,
# SIGINT twice (the second during the save), a signal during a door movement
# and with the folder dialog and its chooser open (what was typed is not
# applied), a logout through a real session manager (xfce4-session) that
# brings the bus back at the next login, and the X server killed under it
# while its standard error is a closed pipe. Status 0 each time; a save that
# fails at a session end, or at a close whose message the session's end then
# dismisses, is one line on standard error and status 1.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy LC_ALL=C.UTF-8
set -m # background programs get SIGINT as from a terminal, rather than ignoring it
exe=$(install_bus)
ini="$(dirname "$exe")/kururina.ini"
start() { start_bus "$@"; PANEL=$(wait_window "設定パネル") || fail "no panel"; }
# moved X Y: moves the bus and waits until it has handled the move (a right click opens its menu only after).
moved() {
  wmctrl -i -r "$BUS_WIN" -e "0,$1,$2,-1,-1"
  for _ in $(seq 100); do [ "$(frame_position "$BUS_WIN")" = "$1 $2" ] && break; sleep 0.05; done
  click_in "$BUS_WIN" 250 190 3
  for _ in $(seq 100); do [ -n "$(popup_menu)" ] && break; sleep 0.05; done
  xdotool key Escape
  read -r px py < <(frame_position "$PANEL")
  echo "$(($1 * 15)),$(($2 * 15)),$((px * 15)),$((py * 15)),\"\",\"\",0,0,\"\",7425,1665,#TRUE#,#TRUE#,10000,6000,0"$'\r' >"$E2E_DIR/expected"
}
# ended STATUS WHAT: waits at most 10 s for the bus's end, and checks its
# status and the saved line; logs the time taken. A bus started by the session
# manager (SM_PID set, stopped meanwhile so that it cannot reap it) is read as
# a zombie: the status in /proc/PID/stat is the wait status.
ended() {
  local rc=0 t0=$EPOCHREALTIME stat=""
  for _ in $(seq 1000); do
    stat=$(cat "/proc/$BUS_PID/stat" 2>/dev/null) || break
    [[ ${stat##*) } == Z* ]] && break
    sleep 0.01
  done
  if [ -n "${SM_PID:-}" ]; then
    [[ ${stat##*) } == Z* ]] || fail "$2: the program did not end"
    read -ra stat <<<"${stat##*) }"
    rc=$((stat[49] & 0x7f ? 128 + (stat[49] & 0x7f) : stat[49] >> 8))
    kill -CONT "$SM_PID"
  else
    kill -0 "$BUS_PID" 2>/dev/null && [[ ${stat##*) } != Z* ]] && fail "$2: the program did not end"
    wait "$BUS_PID" || rc=$?
  fi
  BUS_PID="" SM_PID=""
  log "$2: ended $(((${EPOCHREALTIME/./} - ${t0/./}) / 1000)) ms after, status $rc"
  [ "$rc" = "$1" ] || fail "$2: status $rc"
  [ "$1" != 0 ] || cmp -s "$ini" "$E2E_DIR/expected" || fail "$2: saved $(cat -A "$ini")"
}

for signals in TERM HUP "INT INT"; do
  start "$exe"
  moved $((RANDOM % 500)) 333
  for s in $signals; do kill -s "$s" "$BUS_PID"; done
  ended 0 "$signals"
done
start "$exe"
moved 100 200
click_in "$PANEL" 31 30 # the front door: about a second of movement with no event handled
sleep 0.2; kill -TERM "$BUS_PID"
ended 0 "TERM during a door movement"
start "$exe"
moved 120 200
click_in "$PANEL" 207 155
DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open"
xdotool type "/tmp"
click_in "$DLG" 411 38
wait_window "方向幕のあるフォルダを選択してください" >/dev/null || fail "the folder chooser did not open"
kill -TERM "$BUS_PID"
ended 0 "TERM with two modal windows open"
start "$exe"
mv "$ini" "$E2E_DIR/kept.ini"
ln -s "$E2E_DIR/gone/kururina.ini" "$ini" # a dotfiles folder that is not there
kill -TERM "$BUS_PID"
ended 1 "a failed save"
told="kururina: 設定を保存できませんでした: $ini: No such file or directory"
grep -qx "$told" "$BUS_LOG" || fail "a failed save told: $(cat "$BUS_LOG")"
start "$exe" # the close's message up, then the session ends
close_window "$BUS_WIN"
message_text
kill -TERM "$BUS_PID"
ended 1 "TERM with a failed save's message up"
grep -qx "$told" "$BUS_LOG" || fail "a failed save at the close, then TERM, told: $(cat "$BUS_LOG")"
rm "$ini"; mv "$E2E_DIR/kept.ini" "$ini"

# A session of its own: xfce4-session running xfwm4, on a display and a session bus of its own.
export HOME="$E2E_DIR/home" XDG_CONFIG_HOME="$E2E_DIR/home/.config" XDG_CACHE_HOME="$E2E_DIR/home/.cache"
export XDG_CONFIG_DIRS="$E2E_DIR/xdg" XDG_RUNTIME_DIR="$E2E_DIR/run" NO_AT_BRIDGE=1
mkdir -p "$XDG_CONFIG_DIRS/xfce4/xfconf/xfce-perchannel-xml" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_DIRS/xfce4/xfconf/xfce-perchannel-xml/xfce4-session.xml" <<'XML'
<channel name="xfce4-session" version="1.0">
  <property name="general" type="empty"><property name="SaveOnExit" type="bool" value="true"/></property>
  <property name="startup" type="empty">
    <property name="ssh-agent" type="empty"><property name="enabled" type="bool" value="false"/></property>
    <property name="gpg-agent" type="empty"><property name="enabled" type="bool" value="false"/></property>
  </property>
  <property name="sessions" type="empty"><property name="Failsafe" type="empty">
    <property name="IsFailsafe" type="bool" value="true"/><property name="Count" type="int" value="1"/>
    <property name="Client0_Command" type="array"><value type="string" value="xfwm4"/><value type="string" value="--compositor=off"/></property>
  </property></property>
</channel>
XML
for n in $(seq 131 170); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$! sms=""
export DISPLAY=:$n
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r dbus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
# Everything the sessions started (xfwm4, xfconfd from the bus) writes in HOME
# as it ends, so it is gone before the folder is removed; the session manager
# leaves its socket behind.
end_sessions() {
  local p all="$xvfb $dbus $sms"
  for p in $sms $dbus; do all="$all $(pgrep -P "$p" | tr '\n' ' ' || true)"; done
  kill $all 2>/dev/null || true
  kill -CONT $sms 2>/dev/null || true # stopped by ended, when a check failed meanwhile
  for p in $all; do
    for _ in $(seq 200); do kill -0 "$p" 2>/dev/null || break; sleep 0.02; done
  done
  for p in $sms; do rm -f "/tmp/.ICE-unix/$p"; done
  cleanup_e2e
}
trap end_sessions EXIT
login() { xfce4-session >>"$E2E_DIR/session.log" 2>&1 & sm=$! sms="$sms $!"; }
login
wm=""
for _ in $(seq 100); do wm=$(pgrep -P $sm -x xfwm4) && break; sleep 0.05; done
[ -n "$wm" ] || fail "xfce4-session started no xfwm4: $(tail -5 "$E2E_DIR/session.log")"
export "$(tr '\0' '\n' <"/proc/$wm/environ" | grep ^SESSION_MANAGER=)"
cd "$(dirname "$exe")" # started by a relative name, which the next login could not follow
start ./kururina
cd - >/dev/null
moved 150 250
xfce4-session-logout --logout # saves the session, which --fast does not
ended 0 "a logout"
wait $sm
unset SESSION_MANAGER
login
BUS_WIN=$(wait_window "クルリナ　-　kururina") || fail "the next login did not bring the bus back"
sleep 0.3
[ "$(frame_position "$BUS_WIN")" = "150 250" ] || fail "the bus came back at $(frame_position "$BUS_WIN")"
BUS_PID=$(xdotool getwindowpid "$BUS_WIN")
PANEL=$(wait_window "設定パネル") || fail "no panel"
moved 160 270
SM_PID=$sm
kill -STOP "$SM_PID"
kill -TERM "$BUS_PID"
ended 0 "TERM to the bus the login brought back"
"$exe" 2> >(:) & # a closed pipe: the X11 warning must not end the program before its save
BUS_PID=$!
BUS_WIN=$(wait_window "クルリナ　-　kururina") || fail "bus window did not appear"
PANEL=$(wait_window "設定パネル") || fail "no panel"
moved 170 250
kill $xvfb
ended 0 "the X server killed"
log "every end of a session saved the close box's line"
