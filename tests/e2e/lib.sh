# The end-to-end tests' library, over starting and looking at the program
# (scripts/x11-bus.sh): the controls' places, clicks, the menu, a message
# box's text, colours of a screenshot, settings files compared field by field.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x11-bus.sh"

# run CASE...: calls each function in turn, its name heading its log and its failure.
run() { for CASE; do log "$CASE"; "$CASE"; done; CASE=""; }

# Where the controls are: the variable holding their window, and the point in
# its client area.
declare -A CONTROL=(
  [front_door]="PANEL 31 30" [middle_door]="PANEL 30 75" [version]="PANEL 98 155" [folder]="PANEL 207 155"
  [body]="BUS_WIN 250 190" [sign]="BUS_WIN 180 50"                 # the body: no door, sign or signboard there
  [browse]="DLG 411 38" [folder_cancel]="DLG 409 66" [version_ok]="DLG 279 207" # in the open box DLG
)
# at CONTROL: prints "X Y", the control's place on the screen.
at() {
  local win x y wx wy
  read -r win x y <<<"${CONTROL[$1]}"
  read -r wx wy _ _ < <(client_geometry "${!win}")
  echo $((wx + x)) $((wy + y))
}
# click CONTROL [BUTTON]: clicks it, with the left button unless told.
click() {
  local x y
  read -r x y < <(at "$1")
  pointer_to "$x" "$y"
  xdotool click "${2:-1}"
}
# pointer_to X Y: moves the pointer to a root point and waits until it is there
# (xdotool's --sync would wait for ever when the pointer is there already).
pointer_to() {
  [[ $(xdotool getmouselocation --shell | tr '\n' ' ') == "X=$1 Y=$2 "* ]] || xdotool mousemove --sync "$1" "$2"
}

# popup_menu: prints "X Y W H" of the program's visible override-redirect
# window (its menu), and fails when there is none; window managers keep such
# windows of their own.
popup_menu() {
  local id info
  for id in $(xwininfo -root -children | awk '/^ +0x/{print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    [[ $info == *'Override Redirect State: yes'* && $info == *'Map State: IsViewable'* ]] || continue
    [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" $BUS_PID" ]] || continue
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF}
      END{print x, y, w, h}' <<<"$info"
    return 0
  done
  return 1
}
# menu_answers SECONDS: a right click on the bus opens its menu within that
# long (it does only once every earlier event is handled); Escape closes it.
menu_answers() {
  click body 3
  wait_until "$1" popup_menu >/dev/null || fail "the bus did not answer a right click within $1 s"
  xdotool key Escape
}

# message_text: waits for the bus's message box (a window titled as the bus,
# other than the bus) and sets MSG_TEXT to its text, as the box copies it with
# Ctrl+C, and MSG_WIN; the box stays open. Fails when none comes within 10 s.
message_text() {
  local title
  title=$(xdotool getwindowname "$BUS_WIN")
  MSG_WIN=$(wait_until 10 other_window "$title" "$BUS_WIN") || fail "no message box came"
  xdotool windowactivate --sync "$MSG_WIN" key ctrl+c
  # Title, text and buttons, each closed by a line of dashes.
  # shellcheck disable=SC2034 # read by the tests
  MSG_TEXT=$(wait_until 5 clipboard_holds "$title" | awk '/^-+$/ { n++; next } n == 2') ||
    fail "the message box's text was not copied"
}
other_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$2" | head -n 1 | grep .; }
clipboard_holds() { local c; c=$(xclip -o -selection clipboard 2>/dev/null) && [[ $c == *"$1"* ]] && echo "$c"; }

# pixel FILE X Y: prints the colour of one pixel as "R G B" (0-255).
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

# sign_folder DIR: makes a sign folder with one red picture; prints its path
# with the trailing slash the settings line keeps.
sign_folder() { mkdir -p "$1" && convert -size 20x10 xc:red "$1/a.bmp" && echo "$1/"; }

# check_settings FILE WHAT [FIELD=VALUE]...: fails unless the file holds
# exactly the line settings_line gives for these fields, ended by CR LF;
# names the fields that differ.
check_settings() {
  local line i differ="" got want
  line=$(settings_line "${@:3}")
  cmp -s "$1" <(printf '%s\r\n' "$line") && return 0
  [ -e "$1" ] || fail "$2: no settings file $1"
  IFS=, read -ra got < <(tr -d '\r' <"$1") || true
  IFS=, read -ra want <<<"$line"
  for i in "${!want[@]}"; do
    [ "${got[i]-}" = "${want[i]}" ] || differ+=" ${SETTINGS_FIELDS[i]%%=*} ${got[i]-missing}, expected ${want[i]};"
  done
  fail "$2: saved$differ $(cat -A "$1" 2>&1)"
}

# as_ordinary_user EXE HOME: prints a command named as EXE that starts it as an
# ordinary user with HOME as his home (given to him): nobody when the tests run
# as root, who may write anything, else the user himself.
as_ordinary_user() {
  local cmd run=$E2E_DIR/run-$RANDOM as=""
  cmd=$E2E_DIR/as-user-$RANDOM/$(basename "$1")
  mkdir -p "$2" "$run" "$(dirname "$cmd")"
  chmod 700 "$run"
  if [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$2" "$run"
    chmod 711 "$E2E_DIR"
    as="setpriv --reuid=65534 --regid=65534 --clear-groups"
  fi
  printf '#!/bin/sh\nexec %s env -u XDG_CONFIG_HOME HOME=%s XDG_RUNTIME_DIR=%s %s\n' "$as" "$2" "$run" "$1" >"$cmd"
  chmod 755 "$cmd" "$(dirname "$cmd")"
  echo "$cmd"
}
