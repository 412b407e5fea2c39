#!/usr/bin/env bash
# The version box on the test display. Qt hands addresses to xdg-open only
# on a real display, so a stand-in on PATH records what it is given.
. "$KURURINA_SOURCE_DIR/tests/e2e/lib.sh"

mkdir -p "$E2E_DIR/handler"
cat >"$E2E_DIR/handler/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$1" >>"$KURURINA_XDG_RECORD"
SH
chmod +x "$E2E_DIR/handler/xdg-open"
export KURURINA_XDG_RECORD="$E2E_DIR/opened.txt"

PATH="$E2E_DIR/handler:$PATH" QT_QPA_PLATFORM=xcb "$KURURINA_BIN_DIR/about_link_x11_test" ||
  fail "version box on X11"
log "opened: $(tr '\n' ' ' <"$KURURINA_XDG_RECORD")"
