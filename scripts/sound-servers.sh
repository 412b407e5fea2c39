# Private sound servers with a null sink, for the door chime's end-to-end test
# and its benchmark (sourced): sound_env KIND DIR points PulseAudio clients at
# a server of that kind (pulse or pipewire) living in DIR; start_server KIND
# starts it and waits until it answers; stop_server SIGNAL ends it.
pids=()
sound_env() {
  mkdir -m 700 "$2" "$2/pulse" # the runtime folder is private, as a session's
  export XDG_RUNTIME_DIR=$2 HOME=$2 PULSE_SERVER=unix:$2/pulse/native DBUS_SESSION_BUS_ADDRESS=unix:path=$2/bus
}
stop_server() {
  kill -CONT "${pids[@]}" 2>/dev/null; kill "-$1" "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null; pids=()
}
start_server() { # false when it does not answer
  local r=$XDG_RUNTIME_DIR
  if [ "$1" = pulse ]; then # -n: no default configuration, so no hardware and no root check
    pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink \
      -L "module-native-protocol-unix socket=$r/pulse/native auth-anonymous=1" &>"$r/log" & pids=($!)
  else # wireplumber needs the session bus
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork &>"$r/log" & pids=($!)
    for p in pipewire wireplumber pipewire-pulse; do $p &>>"$r/log" & pids+=($!); done
  fi
  for _ in $(seq 100); do pactl info &>/dev/null && break; sleep 0.05; done
  [ "$1" = pulse ] || pactl load-module module-null-sink sink_name=null >/dev/null || return 1
  # Idle, PulseAudio's null sink renders 2 s ahead, and a new stream waits for
  # that: a silent stream keeps it at 10 ms, as a sound card's sink would be.
  [ "$1" = pipewire ] || { pacat --raw --latency-msec=10 </dev/zero &>/dev/null & pids+=($!); }
  for _ in $(seq 100); do
    [ "$(pactl list sinks 2>/dev/null | awk '/Latency:/{print $2}')" -lt 50000 ] 2>/dev/null && return 0; sleep 0.05
  done
  return 1
}
# server_of KIND: the program that must be installed for it.
server_of() { [ "$1" = pulse ] && echo pulseaudio || echo pipewire-pulse; }
