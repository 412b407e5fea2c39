#!/usr/bin/env bash
# Start to first painted frame, and resident memory after start: the bus
# against a bare Qt program showing one picture, alternating, median of N.
set -euo pipefail
probe=${1:?probe binary}; n=${2:-15}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cp "$probe" "$work/startup_probe"   # its settings file lands in the scratch folder
export SDL_AUDIODRIVER=dummy
median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
for kind in bare bus; do : >"$work/$kind.t"; : >"$work/$kind.m"; done
for _ in $(seq "$n"); do
  for kind in bare bus; do
    out=$("$work/startup_probe" "$kind" "$(date +%s%N)" 2>/dev/null)
    echo "$out" | awk '{print $1}' >>"$work/$kind.t"
    echo "$out" | awk '{print $2}' >>"$work/$kind.m"
    rm -f "$work"/*.ini
  done
done
bt=$(median <"$work/bare.t"); st=$(median <"$work/bus.t")
bm=$(median <"$work/bare.m"); sm=$(median <"$work/bus.m")
printf '%-44s\t%10.3f\t%10.3f\t%6.2f\t%s\n' "start to first frame (bus vs bare window)" "$st" "$bt" "$(awk -v a="$st" -v b="$bt" 'BEGIN{print a/b}')" ms
printf '%-44s\t%10.0f\t%10.0f\t%6.2f\t%s\n' "resident memory after start (bus vs bare)" "$sm" "$bm" "$(awk -v a="$sm" -v b="$bm" 'BEGIN{print a/b}')" KiB

# Idle: CPU time used in 5 s by a program that only stands on the screen.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
idle_ticks() {
  "$@" >/dev/null 2>&1 &
  local pid=$! a b
  sleep 1.5
  a=$(cpu_ticks "$pid"); sleep 5; b=$(cpu_ticks "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $((b - a))
}
cp "$(dirname "$probe")/kururina" "$work/kururina"
bus_idle=$(idle_ticks "$work/kururina")
bare_idle=$(idle_ticks "$work/startup_probe" idle 0)
printf '%-44s\t%10d\t%10d\t%6s\t%s\n' "CPU while idle for 5 s (bus vs bare window)" "$bus_idle" "$bare_idle" "-" "ticks of 10 ms"
