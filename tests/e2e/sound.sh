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
# SDL 2.26 loses its ALSA device list when its audio system restarts on a
# server, and libpulse what a stream held when its server stopped answering.
{ cat "$KURURINA_SOURCE_DIR/scripts/lsan.supp"; printf 'leak:libSDL2\nleak:libpulse\n'; } >"$E2E_DIR/lsan.supp"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$E2E_DIR/lsan.supp
. "$KURURINA_SOURCE_DIR/scripts/sound-servers.sh"
trap 'stop_server TERM || true; rm -rf "$E2E_DIR"' EXIT
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
  command -v "$(server_of $kind)" >/dev/null || { echo "skip: $(server_of $kind) is not installed"; continue; }
  sound_env "$kind" "$E2E_DIR/$kind"
  coproc probe { exec "$KURURINA_BIN_DIR/sound_probe" 2>>"$E2E_DIR/probe.log"; }
  click at-once # no server yet
  # shellcheck disable=SC2154 # probe_PID: set by coproc
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
