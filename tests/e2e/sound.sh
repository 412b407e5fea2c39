#!/usr/bin/env bash
# The door chime on a private PulseAudio and a private PipeWire (pipewire-pulse),
# each with a null sink whose monitor bench/sound_probe records: whole, without
# a click, the door starting after its end and within 150 ms of it; and with no
# server at the first click, a stopped (SIGSTOP) and a killed one, the door in
# time, the next click at once, the sound back with the server, the exit clean.
set -euo pipefail
: "${KURURINA_BIN_DIR:?}"
E2E_DIR=$(mktemp -d /tmp/kururina-sound.XXXXXX)
fail() { echo "FAIL: $*" >&2; grep -v "^ALSA" "$E2E_DIR/probe.log" | tail -60 >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
# SDL 2.26 loses its ALSA device list when its audio system restarts on a server.
{ cat "$KURURINA_SOURCE_DIR/scripts/lsan.supp"; echo leak:libSDL2; } >"$E2E_DIR/lsan.supp"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$E2E_DIR/lsan.supp
pids=()
stop_server() { # SIGNAL
  kill -CONT "${pids[@]}" 2>/dev/null; kill "-$1" "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null; pids=()
}
trap 'stop_server TERM || true; rm -rf "$E2E_DIR"' EXIT
start_server() { # KIND: sets pids; false when it does not answer
  local r=$XDG_RUNTIME_DIR
  if [ "$1" = pulse ]; then # -n: no default configuration, so no hardware and no root check
    pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink \
      -L "module-native-protocol-unix socket=$r/pulse/native auth-anonymous=1" &>"$r/log" & pids=($!)
  else
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
# click WHAT: one click; checks its line: "heard", "late" (stuck server: door at
# the deadline) or "at-once" (a silent click: the door within 300 ms).
click() {
  local door end whole after
  echo >&"${probe[1]}"
  read -r -t 10 door end whole after <&"${probe[0]}" || fail "$kind, $1: the probe does not answer"
  case $1 in
  heard) [[ $whole = 1 && ${after%.*} -lt 1000 && $end != - ]] && awk "BEGIN{exit !($end > 0 && $end < 150)}" ;;
  late) awk "BEGIN{exit !($door > 800 && $door < 1000)}" ;;
  at-once) awk "BEGIN{exit !($door < 300)}" ;;
  esac || fail "$kind, $1: door $door ms after the click, $end ms after the chime's end, whole $whole, peak after $after"
}
for kind in pulse pipewire; do
  server=${kind/#pulse/pulseaudio}; server=${server/#pipewire/pipewire-pulse}
  command -v "$server" >/dev/null || { echo "skip: $server is not installed"; continue; }
  r=$E2E_DIR/$kind && mkdir -p -m 700 "$r/pulse" # wireplumber needs the session bus
  export XDG_RUNTIME_DIR=$r HOME=$r PULSE_SERVER=unix:$r/pulse/native DBUS_SESSION_BUS_ADDRESS=unix:path=$r/bus
  coproc probe { exec "$KURURINA_BIN_DIR/sound_probe" 2>>"$E2E_DIR/probe.log"; }
  click at-once # no server yet
  start_server "$kind" || { echo "skip: $kind does not start here"; kill "$probe_PID"; continue; }
  click heard; click heard
  kill -STOP "${pids[@]}"; click late; click at-once
  kill -CONT "${pids[@]}"; pactl info >/dev/null; click heard
  stop_server KILL || true; click at-once
  start_server "$kind" || fail "$kind does not start again"
  click heard
  kill -STOP "${pids[@]}"; click late
  eval "exec ${probe[1]}>&-"; t=$SECONDS # the exit, with the server still stopped
  wait "$probe_PID" || fail "$kind: the probe exits with $?"
  ((SECONDS - t <= 2)) || fail "$kind: the exit took $((SECONDS - t)) s with the server stopped"
  stop_server TERM || true
  echo "-- $kind: heard, stopped, killed, restarted: the door in time"
done
