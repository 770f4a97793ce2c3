#!/usr/bin/env bash
# Sets everything up, builds the program and runs it under Wine: on your
# display when $DISPLAY works (in a Wine prefix of your own, so files land on
# your desktop), otherwise in a virtual display, where it saves a screenshot
# of the window and says where it is.
source "$(dirname "$0")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
ensure_locale
build_target i686 -DCLIPTEXT_TESTS=OFF
build_target x86_64 -DCLIPTEXT_TESTS=OFF
EXE=$BUILD/x86_64/bin/ClipToText.exe  # this machine runs 64-bit Windows code only

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  user_prefix
  log "running ClipToText on $DISPLAY with the prefix $WINEPREFIX (close it with Esc)"
  exec "$WINE" "$EXE"
fi

install_packages "${SCREENSHOT_PACKAGES[@]}"
trap 'stop_prefix_server "$BUILD/wine-run"; stop_xvfb' EXIT
start_xvfb 1024x768
export DISPLAY=$XVFB_DISPLAY
wine_prefix "$BUILD/wine-run"
"$WINE" "$EXE" &
"$ROOT/scripts/screenshot.sh" "$BUILD/screenshot.png"
log "no display: ClipToText ran in the virtual display $DISPLAY; screenshot: $BUILD/screenshot.png"
