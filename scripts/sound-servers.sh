# Private sound servers with a null sink, for the door chime's end-to-end test
# and its benchmark (sourced): sound_env KIND DIR points PulseAudio clients at
# a server of that kind (pulse or pipewire) living in DIR; start_server KIND
# starts it and waits until it answers; stop_server SIGNAL ends it.
pids=()
sound_env() {
  mkdir -m 700 "$2" "$2/pulse" # the runtime folder is private, as a session's
  export XDG_RUNTIME_DIR=$2 HOME=$2 PULSE_SERVER=unix:$2/pulse/native DBUS_SESSION_BUS_ADDRESS=unix:path=$2/bus
}
stop_server() { # with none running, a bare wait would wait for every child
  ((${#pids[@]})) || return 0
  kill -CONT "${pids[@]}" 2>/dev/null; kill "-$1" "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null; pids=()
}
# until TRIES CMD...: runs CMD every 50 ms until it succeeds, TRIES times at most.
until_ok() {
  local n=$1; shift
  for _ in $(seq "$n"); do "$@" &>/dev/null && return 0; sleep 0.05; done
  return 1
}
start_server() { # false when it does not answer
  local r=$XDG_RUNTIME_DIR
  if [ "$1" = pulse ]; then # -n: no default configuration, so no hardware and no root check
    pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink \
      -L "module-native-protocol-unix socket=$r/pulse/native auth-anonymous=1" &>"$r/log" & pids=($!)
  else # each needs the one before it answering: WirePlumber gives up at once without PipeWire
    rm -f "$r/bus" # a killed bus leaves its socket behind
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork &>"$r/log" & pids=($!)
    until_ok 100 test -S "$r/bus" || return 1
    pipewire &>>"$r/log" & pids+=($!)
    until_ok 100 pw-cli info 0 || return 1
    for p in wireplumber pipewire-pulse; do $p &>>"$r/log" & pids+=($!); done
  fi
  until_ok 100 pactl info || return 1
  if [ "$1" = pipewire ]; then # streams play once WirePlumber made the null sink the default
    pactl load-module module-null-sink sink_name=null >/dev/null || return 1
    until_ok 100 default_sink_is_null || return 1
  else
    # Idle, PulseAudio's null sink renders 2 s ahead, and a new stream waits for
    # that: a silent stream keeps it at 10 ms, as a sound card's sink would be.
    pacat --raw --latency-msec=10 </dev/zero &>/dev/null & pids+=($!)
  fi
  until_ok 100 sink_latency_below_50ms
}
default_sink_is_null() { [ "$(pactl get-default-sink)" = null ]; }
sink_latency_below_50ms() { [ "$(pactl list sinks | awk '/Latency:/{print $2}')" -lt 50000 ]; }
# server_of KIND: the program that must be installed for it.
server_of() { [ "$1" = pulse ] && echo pulseaudio || echo pipewire-pulse; }
