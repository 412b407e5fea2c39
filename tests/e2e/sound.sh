#!/usr/bin/env bash
# The door chime on a private PulseAudio and a private PipeWire (pipewire-pulse),
# each with a null sink whose monitor bench/sound_probe records: whole, without
# a click, the door starting after its end, also with a server slow to take it;
# and with no server at the first click, a stopped (SIGSTOP) and a killed one,
# the door in time, the next click at once, the sound back with the server, the
# exit clean.
# Exits 77 (skipped) when a server is not installed or does not start here.
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
# click WHAT [HOLD]: one click (HOLD: the server held stopped for its first
# 300 ms); checks its line: "heard" (the door after the chime's end, at most
# 150 ms), "late" (stuck server: door at the deadline, 950 ms) or "at-once" (a
# silent click: at most 150 ms). The door moves in every case ("-": it did not),
# and each bound has 150 ms more for a busy machine to wake the program.
click() {
  local door end whole after
  echo "${2:+300 ${pids[*]}}" >&"${probe[1]}"
  read -r -t 10 door end whole after <&"${probe[0]}" || fail "$kind, $1: the probe does not answer"
  echo "$kind, $1: $door $end $whole $after" >>"$E2E_DIR/probe.log"
  local ok=false
  if [[ $door != - ]]; then
    case $1 in
    heard) [[ $whole = 1 && ${after%.*} -lt 1000 && $end != - ]] && awk "BEGIN{exit !($end > 0 && $end < 300)}" ;;
    late) awk "BEGIN{exit !($door > 800 && $door < 1100)}" ;;
    at-once) awk "BEGIN{exit !($door < 300)}" ;;
    esac && ok=true
  fi
  $ok || fail "$kind, $1: door $door ms after the click, $end ms after the chime's end, whole $whole, peak after $after"
}
skipped=0
for kind in pulse pipewire; do
  command -v "$(server_of $kind)" >/dev/null || { echo "skip: $(server_of $kind) is not installed"; skipped=1; continue; }
  sound_env "$kind" "$E2E_DIR/$kind"
  coproc probe { exec "$KURURINA_BIN_DIR/sound_probe" 2>>"$E2E_DIR/probe.log"; }
  click at-once # no server yet
  # shellcheck disable=SC2154 # probe_PID: set by coproc
  if ! start_server "$kind"; then
    echo "skip: $kind does not start here:"; tail -5 "$E2E_DIR/$kind/log"
    stop_server TERM || true; eval "exec ${probe[1]}>&-"; wait "$probe_PID" || true; skipped=1; continue
  fi
  click heard; click heard; click heard hold # a slow server: the door still after the chime
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
exit $((skipped ? 77 : 0))
