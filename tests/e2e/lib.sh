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
