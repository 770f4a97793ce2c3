#!/usr/bin/env bash
# Sets everything up, builds the 32-bit product and the 64-bit test build, and
# runs every test (unit and end-to-end) under Wine in virtual displays.
source "$(dirname "$0")/common.sh"

install_packages
ensure_locale
build_target i686 -DCLIPTEXT_TESTS=OFF
build_target x86_64 -DCLIPTEXT_TESTS=ON

cleanup() {
  unmount_small_drive
  (wine_prefix "$BUILD/wine-small" && stop_wineserver)
  (wine_prefix "$BUILD/wine-test" && stop_wineserver)
  stop_xvfb
}
trap cleanup EXIT

# A second prefix on a 1024 x 768 screen for the placement tests.
start_xvfb 1024x768
(export DISPLAY=$XVFB_DISPLAY; wine_prefix "$BUILD/wine-small"; start_wineserver)
export CLIPTEXT_SMALL_DISPLAY=$XVFB_DISPLAY CLIPTEXT_SMALL_ROOT=$BUILD/wine-small

start_xvfb 1920x1080
export DISPLAY=$XVFB_DISPLAY
wine_prefix "$BUILD/wine-test"
start_wineserver
mount_small_drive

log "running the tests"
ctest --test-dir "$BUILD/x86_64" --output-on-failure --timeout 300 "$@"
