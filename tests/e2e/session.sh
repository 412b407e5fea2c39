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
exe=$(install_bus kururina)
ini="$(dirname "$exe")/kururina.ini"
told="kururina: 設定を保存できませんでした: $ini: No such file or directory"
SM_PID="" sms=() dbus=""

# moved X Y: moves the bus and waits until it has handled the move (a right
# click opens its menu only after); EXPECT is then what a save would write.
moved() {
  wmctrl -i -r "$BUS_WIN" -e "0,$1,$2,-1,-1"
  wait_until 5 at_place "$1 $2" || fail "the bus did not move to $1 $2"
  menu_answers 10
  EXPECT=(bus="$1 $2" panel="$(frame_position "$PANEL")")
}
at_place() { [ "$(frame_position "$BUS_WIN")" = "$1" ]; }
# ended STATUS: waits at most 10 s for the bus's end and checks its status
# and, after a clean end, that it saved what moved expects (after a failed
# save, status 1, that it told so on standard error); logs the time
# taken. A bus the session manager started (SM_PID set, and stopped meanwhile
# so that it cannot reap it) is read as a zombie, whose /proc/PID/stat holds
# the wait status.
ended() {
  local t0=$EPOCHREALTIME rc stat
  if [ -n "$SM_PID" ]; then
    wait_until 10 zombie || fail "the program did not end"
    read -ra stat <<<"$(sed 's/.*) //' "/proc/$BUS_PID/stat")"
    rc=$((stat[49] & 0x7f ? 128 + (stat[49] & 0x7f) : stat[49] >> 8))
    kill -CONT "$SM_PID"
    BUS_PID="" SM_PID=""
    [ "$rc" = "$1" ] || fail "status $rc"
  else
    wait_exit 10 "$1"
  fi
  log "ended $(((${EPOCHREALTIME/./} - ${t0/./}) / 1000)) ms after, status $1"
  [ "$1" != 0 ] || check_settings "$ini" "the end" "${EXPECT[@]}"
  [ "$1" != 1 ] || grep -qx "$told" "$BUS_LOG" || fail "told: $(cat "$BUS_LOG")"
}
zombie() { [[ $(cat "/proc/$BUS_PID/stat" 2>/dev/null) =~ \)\ Z ]]; }

signals() {
  local signals s
  for signals in TERM HUP "INT INT"; do
    log "$signals"
    start_bus "$exe"
    moved $((RANDOM % 500)) 333
    for s in $signals; do kill -s "$s" "$BUS_PID"; done
    ended 0
  done
}
term_during_a_door_movement() {
  start_bus "$exe"
  moved 100 200
  click front_door # about a second of movement with no event handled
  sleep 0.2; kill -TERM "$BUS_PID"
  ended 0
}
term_with_two_modal_windows_open() { # what was typed is not applied
  start_bus "$exe"
  moved 120 200
  click folder
  # shellcheck disable=SC2034 # the box click browse clicks in
  DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open"
  xdotool type "/tmp"
  click browse
  wait_window "方向幕のあるフォルダを選択してください" >/dev/null || fail "the folder chooser did not open"
  kill -TERM "$BUS_PID"
  ended 0
}
# Saves that fail: the settings file a link into a dotfiles folder that is not there.
failed_save() {
  start_bus "$exe"
  mv "$ini" "$E2E_DIR/kept.ini"
  ln -s "$E2E_DIR/gone/kururina.ini" "$ini"
  kill -TERM "$BUS_PID"
  ended 1
}
term_with_a_failed_saves_message_up() {
  start_bus "$exe"
  close_window "$BUS_WIN"
  message_text
  kill -TERM "$BUS_PID"
  ended 1
  rm "$ini"; mv "$E2E_DIR/kept.ini" "$ini"
}

# A session of its own: xfce4-session running xfwm4, on a display and a session bus of its own.
session_of_its_own() {
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
  on_exit end_sessions
  start_xvfb 1280x1024 || fail "no display for the session"
  { read -r DBUS_SESSION_BUS_ADDRESS; read -r dbus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS
}
# Everything the sessions started (xfwm4, xfconfd from the bus) writes in HOME
# as it ends, so it is gone before the folder is removed; the session manager
# leaves its socket behind.
end_sessions() {
  local p parents=(${dbus:+"$dbus"} "${sms[@]}") all=(${XVFB:+"$XVFB"})
  all+=("${parents[@]}")
  for p in "${parents[@]}"; do mapfile -t -O "${#all[@]}" all < <(pgrep -P "$p"); done
  kill "${all[@]}" 2>/dev/null
  kill -CONT "${sms[@]}" 2>/dev/null # stopped by ended, when a check failed meanwhile
  for p in "${all[@]}"; do wait_until 4 gone "$p"; done
  for p in "${sms[@]}"; do rm -f "/tmp/.ICE-unix/$p"; done
}
login() {
  xfce4-session >>"$E2E_DIR/session.log" 2>&1 &
  sm=$! sms+=("$!")
}
logout_and_back() {
  local wm
  session_of_its_own
  login
  wm=$(wait_until 5 pgrep -P "$sm" -x xfwm4) || fail "xfce4-session started no xfwm4: $(tail -5 "$E2E_DIR/session.log")"
  export "$(tr '\0' '\n' <"/proc/$wm/environ" | grep ^SESSION_MANAGER=)"
  cd "$(dirname "$exe")" # started by a relative name, which the next login could not follow
  start_bus ./kururina
  cd - >/dev/null
  moved 150 250
  xfce4-session-logout --logout # saves the session, which --fast does not
  ended 0
  wait "$sm"
  unset SESSION_MANAGER
  login
  bus_windows kururina || fail "the next login did not bring the bus back"
  [ "$(frame_position "$BUS_WIN")" = "150 250" ] || fail "the bus came back at $(frame_position "$BUS_WIN")"
  BUS_PID=$(xdotool getwindowpid "$BUS_WIN")
}
term_to_the_bus_the_login_brought_back() {
  moved 160 270
  SM_PID=$sm
  kill -STOP "$SM_PID"
  kill -TERM "$BUS_PID"
  ended 0
}
x_server_killed() { # with standard error a closed pipe: the X11 warning must not end the program before its save
  "$exe" 2> >(:) &
  BUS_PID=$!
  bus_windows kururina
  moved 170 250
  kill "$XVFB"
  ended 0
}
# The same on a display of its own, with a save that fails: told, status 1.
x_server_killed_with_a_failed_save() {
  start_xvfb 1280x1024 || fail "no display"
  start_bus "$exe"
  mv "$ini" "$E2E_DIR/kept.ini"
  ln -s "$E2E_DIR/gone/kururina.ini" "$ini"
  kill "$XVFB"
  ended 1
  rm "$ini"
  mv "$E2E_DIR/kept.ini" "$ini"
}

run signals term_during_a_door_movement term_with_two_modal_windows_open failed_save \
  term_with_a_failed_saves_message_up logout_and_back term_to_the_bus_the_login_brought_back x_server_killed \
  x_server_killed_with_a_failed_save
log "every end of a session saved the close box's line"
