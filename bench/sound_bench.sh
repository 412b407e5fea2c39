#!/usr/bin/env bash
# The door chime on private PulseAudio and PipeWire servers: from the click to
# the door's start beside the chime's own length (800 ms), from the chime's end
# to the door, for the first click and a later one; what a stopped server
# costs; and the CPU the program uses while idle after a chime.
set -euo pipefail
probe_bin=${1:?probe binary}
work=$(mktemp -d)
. "$(dirname "$0")/../scripts/sound-servers.sh"
trap 'stop_server TERM || true; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
row() { printf '%-44s\t%10.1f\t%10.1f\t%6.2f\t%s\n' "$1" "$2" 800 "$(awk -v a="$2" 'BEGIN{print a/800}')" ms; }
for kind in pulse pipewire; do
  command -v "$(server_of $kind)" >/dev/null || { echo "skip: $(server_of $kind) is not installed"; continue; }
  sound_env "$kind" "$work/$kind"
  start_server "$kind" || { echo "skip: $kind does not start here"; stop_server TERM || true; continue; }
  coproc probe { exec "$probe_bin" 2>/dev/null; }
  for click in first later; do
    echo >&"${probe[1]}"; read -r door end _ <&"${probe[0]}"
    row "door after the click, $kind, $click" "$door"
    printf '%-44s\t%10s\t%10s\t%6s\t%s\n' "  of which after the chime's end" "$end" - - ms
  done
  sleep 1
  # shellcheck disable=SC2154 # probe_PID: set by coproc
  a=$(awk '{print $14 + $15}' "/proc/$probe_PID/stat"); sleep 5
  printf '%-44s\t%10d\t%10s\t%6s\t%s\n' "CPU while idle 5 s after a chime, $kind" \
    $(($(awk '{print $14 + $15}' "/proc/$probe_PID/stat") - a)) - - "ticks of 10 ms"
  kill -STOP "${pids[@]}"
  echo >&"${probe[1]}"; read -r door _ <&"${probe[0]}"
  row "door after the click, $kind stopped" "$door"
  eval "exec ${probe[1]}>&-"; wait "$probe_PID" || true
  stop_server TERM || true
done
