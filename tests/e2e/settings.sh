#!/usr/bin/env bash
# The settings file on the real window system, with the program installed by
# scripts/install-user and started through its command link: the first start
# saves where the windows are and they come back there; a close without changes
# writes the same bytes, to the same file even after an upgrade while the bus
# ran; and whatever happens at the close (SIGKILL at any moment, a write that
# fails) the old file stays whole, a failed write with the system's message.
# From a folder the user may not write the line goes to his ~/.config/kururina
# instead.
. "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=dummy HOME="$E2E_DIR/home" LC_ALL=C.UTF-8
unset XDG_DATA_HOME XDG_CONFIG_HOME
install_user() {
  KURURINA_SKIP_BUILD=1 KURURINA_BUILD_DIR="$(dirname "$KURURINA_BIN_DIR")" "$KURURINA_SOURCE_DIR/scripts/install-user" >/dev/null
}
install_user
exe="$HOME/.local/bin/kururina"
dir="$HOME/.local/libexec/kururina"
ini="$dir/kururina.ini"
positions() { echo "$(frame_position "$BUS_WIN") $(frame_position "$PANEL")"; } # the frames' top-left corners

first_close() {
  start_bus "$exe"; sleep 0.3
  read -r bx by px py < <(positions) # where they go without a file: desktop.sh
  close_window "$BUS_WIN"; wait_exit 10
  check_settings "$ini" "the first close" bus="$bx $by" panel="$px $py"
  # The line every later case expects: with a sign folder, so that the saved
  # positions apply (an empty one cannot).
  saved=(bus="$bx $by" panel="$px $py" signs="$(sign_folder "$E2E_DIR/signs")")
  write_settings "$ini" "${saved[@]}"
}

killed() { # SIGKILL right after the start, while a door moves, and while idle
  local when
  for when in start door idle; do
    start_bus "$exe"
    case $when in
      door) click front_door; sleep 0.2 ;;
      idle) sleep 1 ;;
    esac
    kill -KILL "$BUS_PID"; wait_exit 10 137
    check_settings "$ini" "SIGKILL ($when)" "${saved[@]}"
  done
}

unchanged_through_an_upgrade() {
  local inis
  start_bus "$exe"; sleep 0.3 # back where the file says, or the close below writes elsewhere
  rm "$ini"
  install_user # the upgrade: a new program file in the old one's place
  close_window "$BUS_WIN"; wait_exit 10
  check_settings "$ini" "a close without changes, after an upgrade" "${saved[@]}"
  inis=("$dir"/*.ini)
  [ ${#inis[@]} -eq 1 ] || fail "settings written elsewhere: ${inis[*]}"
}

# A program folder the user may not write: the line goes to his own
# ~/.config/kururina, starting from the file beside the program.
read_only_folder() {
  cp -r "$dir" "$E2E_DIR/ro"
  chmod -R a-w,a+rX "$E2E_DIR/ro"
  start_bus "$(as_ordinary_user "$E2E_DIR/ro/kururina" "$E2E_DIR/user")"
  close_window "$BUS_WIN"; wait_exit 10
  check_settings "$E2E_DIR/user/.config/kururina/kururina.ini" "in ~/.config" "${saved[@]}"
  check_settings "$E2E_DIR/ro/kururina.ini" "beside the program" "${saved[@]}"
}

# A save that fails at the close (the write refused, as on a full disk: here
# by the file-size limit) shows the system's words, leaves the old file whole
# and nothing beside it, and the program ends with status 1 once the message
# is dismissed.
failed_save() {
  local beside
  start_bus "$exe"
  wmctrl -i -r "$BUS_WIN" -e 0,40,40,-1,-1 # a change, so the line would differ
  sleep 0.3
  prlimit --pid "$BUS_PID" --fsize=0:
  close_window "$BUS_WIN"
  message_text
  [ "$MSG_TEXT" = "$ini"$'\n\n'"File too large" ] || fail "the message said $MSG_TEXT"
  xdotool windowactivate --sync "$MSG_WIN" key Return
  wait_exit 10 1
  check_settings "$ini" "the old file, after the failed save" "${saved[@]}"
  beside=("$dir"/kururina.ini*)
  [ ${#beside[@]} -eq 1 ] || fail "left beside the file: ${beside[*]}"
}

run first_close killed unchanged_through_an_upgrade read_only_folder failed_save
log "settings kept through restarts, an upgrade, kills and a failed save; a read-only folder saves to ~/.config"
