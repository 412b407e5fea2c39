#!/usr/bin/env bash
# A day on the desktop, compressed: 200 door movements at the fastest speed and
# 2000 sign steps through a folder of good and broken pictures. Resident memory
# must not creep, the sanitizers must stay quiet, and the bus must still answer.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
moves=${SOAK_DOOR_MOVES:-200}
steps=${SOAK_SIGN_STEPS:-2000}

# Names from an old archive: the folder and the first two pictures are not UTF-8.
signs="$E2E_DIR/$(printf '\x8d\x73\x90\xe6')"
mkdir -p "$signs"
# Good pictures of each format, and broken ones between them: cut short, empty,
# text, a GIF named .jpg, a bitmap's header alone, a metafile's header alone.
convert -size 40x24 xc:red "bmp:$signs/a01$(printf '\x82\xa0').bmp"; convert -size 40x24 xc:lime "gif:$signs/a02caf$(printf '\xe9').gif"
convert -size 600x400 plasma:fractal -seed 7 "$signs/a03.jpg"; convert -size 80x48 xc:blue "$signs/a10.bmp"
head -c 3000 "$signs/a03.jpg" >"$signs/a04.jpg"; : >"$signs/a05.bmp"; echo "not a picture" >"$signs/a06.bmp"
cp "$signs"/a02*.gif "$signs/a07.jpg"; head -c 40 "$signs"/a01*.bmp >"$signs/a08.bmp"
printf '\xd7\xcd\xc6\x9a\x00\x00\x00\x00' >"$signs/a09.wmf"

exe=$(install_bus kururina)
ini=$(dirname "$exe")/kururina.ini
# Both door speeds at 1 (the fastest), the sign folder set.
settings=(panel="0 320" signs="$signs/" front_speed=1 middle_speed=1)
write_settings "$ini" "${settings[@]}"
start_bus "$exe"
rss() { awk '/VmRSS/{print $2}' "/proc/$BUS_PID/status"; }
sign_colour() { shot "$E2E_DIR/sign.png" "$BUS_WIN"; pixel "$E2E_DIR/sign.png" 160 42; }
sign_is() { [ "$(sign_colour)" = "$1" ]; }
[ "$(sign_colour)" = "255 0 0" ] || fail "the first sign picture is not shown: $(sign_colour)"
click sign; xdotool key Down
wait_until 2 sign_is "0 255 0" || fail "Down did not show the second picture"

# Warm up once (first loads, the sound device, glyph caches), then measure.
for _ in 1 2; do click front_door; click middle_door; done
menu_answers 30
click sign
for _ in 1 2 3; do xdotool key --delay 0 --repeat 12 Down; xdotool key --delay 0 --repeat 12 Up; done
sleep 0.5
before=$(rss)
log "resident after warm-up: $before KiB"

for i in $(seq "$moves"); do
  if ((i % 4 == 0)); then click middle_door; else click front_door; fi
done
click sign
for _ in $(seq $((steps / 20))); do
  xdotool key --delay 0 --repeat 10 Down
  xdotool key --delay 0 --repeat 10 Up
done

# Still answering: once every queued click and key is handled.
menu_answers 300
sleep 1
after=$(rss)
log "resident after $moves door movements and $steps sign steps: $after KiB (grew $((after - before)) KiB)"
if [ "${KURURINA_SANITIZED:-0}" != 1 ]; then
  [ $((after - before)) -lt 2048 ] || fail "resident memory grew by $((after - before)) KiB"
fi
close_window "$BUS_WIN"
wait_exit 120
check_settings "$ini" "the close after the soak" "${settings[@]}" # the sign folder's bytes too
log "soak passed"
