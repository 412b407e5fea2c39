#!/usr/bin/env bash
# The picture a newcomer sees first: the bus with a sign picture, a signboard
# and its panel, as the real program draws them. Checks that the pieces are
# where they belong; with KURURINA_SCREENSHOT_DIR set it also keeps the picture
# (scripts/screenshot writes docs/screenshot.png this way).
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy
exe=$(install_bus)
ini="$(dirname "$exe")/kururina.ini"

font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
mkdir -p "$E2E_DIR/signs"
convert -size 52x32 xc:'#202020' -font "$font" -pointsize 15 -fill '#ffb000' \
  -gravity center -annotate +0+0 '駅前' "BMP3:$E2E_DIR/signs/01.bmp"
convert -size 90x26 xc:white -font "$font" -pointsize 15 -fill '#1040a0' \
  -gravity center -annotate +0+0 'クルリナ号' "BMP3:$E2E_DIR/board.bmp"
# Bus at 40,40 px; panel beside it so the picture stays compact.
printf '600,600,10800,600,"%s/signs/","",0,0,"%s/board.bmp",7470,1710,#TRUE#,#TRUE#,10000,6000,0\r\n' \
  "$E2E_DIR" "$E2E_DIR" >"$ini"

start_bus "$exe"
panel=$(wait_window "設定パネル") || fail "no panel"
sleep 0.5

read -r bx by bw bh < <(client_geometry "$BUS_WIN")
read -r px py pw ph < <(client_geometry "$panel")
shot "$E2E_DIR/screen.png"

# The sign shows the folder's first picture, the signboard its picture, the
# panel its dark grey ground.
sign=$(pixel "$E2E_DIR/screen.png" $((bx + 155 + 3)) $((by + 37 + 3)))
[ "$sign" = "32 32 32" ] || fail "sign pixel $sign, expected the sign picture's ground"
board=$(pixel "$E2E_DIR/screen.png" $((bx + 498 + 3)) $((by + 114 + 3)))
[ "$board" = "255 255 255" ] || fail "signboard pixel $board, expected white"
ground=$(pixel "$E2E_DIR/screen.png" $((px + 2)) $((py + ph - 2)))
[ "$ground" = "64 64 64" ] || fail "panel pixel $ground, expected 64 64 64"

# Crop to both windows with their frames and a small margin.
read -r bfx bfy < <(frame_position "$BUS_WIN")
read -r pfx pfy < <(frame_position "$panel")
x0=$(( (bfx < pfx ? bfx : pfx) - 10 )); y0=$(( (bfy < pfy ? bfy : pfy) - 10 ))
x1=$(( (bx + bw > px + pw ? bx + bw : px + pw) + 10 ))
y1=$(( (by + bh > py + ph ? by + bh : py + ph) + 10 ))
(( x0 < 0 )) && x0=0; (( y0 < 0 )) && y0=0
convert "$E2E_DIR/screen.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$E2E_DIR/screenshot.png"
if [ -n "${KURURINA_SCREENSHOT_DIR:-}" ]; then
  cp "$E2E_DIR/screenshot.png" "$KURURINA_SCREENSHOT_DIR/screenshot.png"
  log "kept $KURURINA_SCREENSHOT_DIR/screenshot.png"
fi
close_window "$BUS_WIN"; wait_exit 10
