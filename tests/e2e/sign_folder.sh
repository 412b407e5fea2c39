#!/usr/bin/env bash
# The sign on the real window system: the panel's folder button opens the
# folder dialog (modal, out of the task bar, no close box); the window
# manager's close cancels it; a missing folder is reported on top and the
# dialog stays; a typed folder is applied with OK while Enter and Escape press
# nothing; the arrow keys then step through its pictures, and the keypad
# picks one by number.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy

folder="$E2E_DIR/Bus Signs"
mkdir -p "$folder"
convert -size 52x32 xc:'rgb(255,0,0)' "BMP3:$folder/a.bmp"
convert -size 52x32 xc:'rgb(0,255,0)' "BMP3:$folder/b.bmp"
convert -size 52x32 xc:'rgb(0,0,255)' "BMP3:$folder/c.bmp"

exe=$(install_bus)
ini="$(dirname "$exe")/kururina.ini"
start_bus "$exe"
PANEL=$(wait_window "設定パネル") || fail "panel did not appear"

# sign_colour: the colour in the middle of the sign, from a screenshot of the bus.
sign_colour() {
  shot "$E2E_DIR/bus.png" "$BUS_WIN"
  pixel "$E2E_DIR/bus.png" 181 53
}
# wait_sign "R G B": waits until the sign shows that colour.
wait_sign() {
  local seen
  for _ in $(seq 40); do
    seen=$(sign_colour)
    [ "$seen" = "$1" ] && return 0
    sleep 0.05
  done
  fail "sign shows $seen, expected $1"
}
red="255 0 0" green="0 255 0" blue="0 0 255"
built_in=$(sign_colour)
case "$built_in" in "$red" | "$green" | "$blue") fail "the built-in sign is $built_in" ;; esac

# The folder button "方向幕フォルダー" on the panel.
click_in "$PANEL" 207 155
DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open"
read -r dx dy dw dh < <(client_geometry "$DLG")
log "dialog $DLG at $dx,$dy"
# Placed by the window manager: no position of the program's own.
[[ $(xprop -id "$DLG" WM_NORMAL_HINTS) == *'specified location'* ]] && fail "the program placed the dialog itself"
[ "$dw" -eq 460 ] && [ "$dh" -eq 81 ] || fail "dialog client area ${dw}x${dh}, expected 460x81"
state=$(xprop -id "$DLG" _NET_WM_STATE)
grep -q _NET_WM_STATE_MODAL <<<"$state" || fail "dialog not modal: $state"
grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" || fail "dialog has a task-bar entry: $state"
hints=$(xprop -id "$DLG" _MOTIF_WM_HINTS | sed 's/.*= //')
IFS=', ' read -r _ funcs _ <<<"$hints"
(( (funcs & 0x38) == 0 )) || fail "dialog offers close, minimise or maximise: $hints"
[[ $(xprop -id "$DLG" _NET_WM_ICON) == *'Icon (32 x 32)'* ]] && fail "the dialog carries the program's icon"

# wait_gone WIN: waits until the window is no longer shown.
wait_gone() {
  for _ in $(seq 40); do
    is_viewable "$1" || return 0
    sleep 0.05
  done
  return 1
}

# The window manager's close closes it as キャンセル; the next opening is a new dialog.
xdotool type --delay 20 "/typed"
close_window "$DLG"
wait_gone "$DLG" || fail "the window manager's close left the dialog open"
click_in "$PANEL" 207 155
DLG=$(wait_window "画像の位置") || fail "the folder dialog did not open again"

# A folder that does not exist: the message comes on top, takes the keyboard,
# and after it the same dialog is still open.
xdotool type --delay 20 "$folder/missing"
click_in "$DLG" 321 66
box=""
for _ in $(seq 40); do
  box=$(xdotool search --onlyvisible --name "^クルリナ　-　kururina\$" 2>/dev/null | grep -v -x "$BUS_WIN" | head -n 1 || true)
  [ -n "$box" ] && break
  sleep 0.05
done
[ -n "$box" ] || fail "no message for the missing folder"
xdotool key Return
wait_gone "$box" || fail "the message did not have the keyboard"
sleep 0.2
is_viewable "$DLG" || fail "the dialog closed after the missing folder"
[ "$(xdotool search --onlyvisible --name '^画像の位置$' | wc -l)" -eq 1 ] || fail "the dialog was shown twice"

# OK has the keyboard now, as after any click on it; back into the text box.
# Enter and Escape there press nothing.
click_in "$DLG" 206 37
xdotool key ctrl+a
xdotool type --delay 20 "$folder"
xdotool key Return Escape KP_Enter
sleep 0.3
is_viewable "$DLG" || fail "Enter or Escape closed the dialog"

# OK applies the folder and closes the dialog; the sign keeps its picture.
click_in "$DLG" 321 66
wait_gone "$DLG" || { shot "$E2E_DIR/fail.png"; fail "OK did not close the dialog (was the typed text refused?)"; }
sleep 0.2
[ "$(sign_colour)" = "$built_in" ] || fail "choosing a folder changed the sign"

# The arrow keys on the sign step from position 0: Down shows b, Up a, and
# Down stops at the last picture.
click_in "$BUS_WIN" 170 45
xdotool key Down
wait_sign "$green"
xdotool key Up
wait_sign "$red"
xdotool key Down Down Down
sleep 0.2
wait_sign "$blue"

# Keypad 0 and 設定 show a; the position stays at c, so Up shows b.
click_in "$PANEL" 173 131
click_in "$PANEL" 239 131
wait_sign "$red"
click_in "$BUS_WIN" 170 45
xdotool key Up
wait_sign "$green"
[ -n "${KURURINA_SCREENSHOT_DIR:-}" ] && cp "$E2E_DIR/bus.png" "$KURURINA_SCREENSHOT_DIR/sign-folder.png"

# The folder is saved as stored: typed, with the separator stepping added.
close_window "$BUS_WIN"
wait_exit 10
IFS=, read -r _ _ _ _ saved _ <"$ini"
[ "$saved" = "\"$folder/\"" ] || fail "saved sign folder $saved"
log "ok"
