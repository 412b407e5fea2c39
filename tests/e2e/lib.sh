# Helpers for the end-to-end tests, beyond starting and looking at the
# program (scripts/x11-bus.sh): colours of a screenshot, clicks, the menu.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x11-bus.sh"

# pixel FILE X Y: prints the colour of one pixel as "R G B" (0-255).
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

# click_in WIN X Y [BUTTON]: clicks at a point of a window's client area.
click_in() {
  local x y
  read -r x y _ _ < <(client_geometry "$1")
  pointer_to $((x + $2)) $((y + $3))
  xdotool click "${4:-1}"
}

# pointer_to X Y: moves the pointer to a root point and waits until it is there
# (xdotool's --sync would wait for ever when the pointer is there already).
pointer_to() {
  [[ $(xdotool getmouselocation --shell | tr '\n' ' ') == "X=$1 Y=$2 "* ]] || xdotool mousemove --sync "$1" "$2"
}

# popup_menu: prints "X Y W H" of the program's visible override-redirect
# window (its menu), if any; window managers keep such windows of their own.
popup_menu() {
  local id info
  for id in $(xwininfo -root -children | awk '/^ +0x/{print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    [[ $info == *'Override Redirect State: yes'* && $info == *'Map State: IsViewable'* ]] || continue
    [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" $BUS_PID" ]] || continue
    echo "$info" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF}
      END{print x, y, w, h}'
    break
  done
}

# message_text: waits for the bus's message box (a window titled as the bus,
# other than the bus) and sets MSG_TEXT to its text, as the box copies it with
# Ctrl+C, and MSG_WIN; the box stays open. Fails when none comes within 10 s.
message_text() {
  local title copied=""
  title=$(xdotool getwindowname "$BUS_WIN")
  MSG_WIN=""
  for _ in $(seq 200); do
    MSG_WIN=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -vx "$BUS_WIN" | head -n 1 || true)
    [ -n "$MSG_WIN" ] && break
    sleep 0.05
  done
  [ -n "$MSG_WIN" ] || fail "no message box came"
  xdotool windowactivate --sync "$MSG_WIN" key ctrl+c
  # Title, text and buttons, each closed by a line of dashes.
  for _ in $(seq 100); do
    copied=$(xclip -o -selection clipboard 2>/dev/null || true)
    [[ $copied == *"$title"* ]] && break
    sleep 0.05
  done
  MSG_TEXT=$(awk '/^-+$/ { n++; next } n == 2' <<<"$copied")
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
