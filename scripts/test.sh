#!/usr/bin/env bash
# Sets everything up, builds the 32-bit product and the 64-bit test build, and
# runs every test (unit and end-to-end) under Wine in virtual displays.
source "$(dirname "$0")/common.sh"

install_packages
ensure_locale
build_target i686 -DCLIPTEXT_TESTS=OFF
build_target x86_64 -DCLIPTEXT_TESTS=ON

trap 'stop_wineserver_all; stop_xvfb' EXIT
stop_wineserver_all() {
  (wine_prefix "$BUILD/wine-small" && stop_wineserver)
  (wine_prefix "$BUILD/wine-test" && stop_wineserver)
}

# A second prefix on a 1024 x 768 screen for the placement tests.
SMALL_DISPLAY=$(start_xvfb 1024x768)
(export DISPLAY=$SMALL_DISPLAY; wine_prefix "$BUILD/wine-small"; start_wineserver)
export CLIPTEXT_SMALL_DISPLAY=$SMALL_DISPLAY CLIPTEXT_SMALL_ROOT=$BUILD/wine-small

export DISPLAY; DISPLAY=$(start_xvfb 1920x1080)
wine_prefix "$BUILD/wine-test"
start_wineserver

log "running the tests"
ctest --test-dir "$BUILD/x86_64" --output-on-failure --timeout 300 "$@"
