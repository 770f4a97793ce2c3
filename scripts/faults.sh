#!/usr/bin/env bash
# Runs the fault suite (tests named FaultSuite.*) in a Wine prefix of its own,
# with a 1 MB drive S: that fills up for the disk-full group, and prints the
# "[faults]" lines at the end. Mounting needs root (or sudo); without it the
# disk-full group is skipped and the others still run.
# Extra arguments go to ctest.
source "$(dirname "$0")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_locale
build_target x86_64 -DCLIPTEXT_TESTS=ON

cleanup() {
  unmount_small_drive
  stop_prefix_server "$BUILD/wine-faults"
  stop_xvfb
}
trap cleanup EXIT

start_xvfb 1920x1080
export DISPLAY=$XVFB_DISPLAY
wine_prefix "$BUILD/wine-faults"
start_wineserver
mount_small_drive

log "running the fault suite"
LOG=$BUILD/faults.log
set +e
# The tests print code-page-936 text with CR LF line ends.
ctest --test-dir "$BUILD/x86_64" -R '^FaultSuite\.' --output-on-failure -V --timeout 300 "$@" 2>&1 \
  | tr -d '\r' | iconv -c -f GBK -t UTF-8 | tee "$LOG" | grep -E '^ *[0-9]+/[0-9]+ Test'
status=${PIPESTATUS[0]}
set -e
grep -B1 -A6 'Failure$' "$LOG" || true
log "fault suite record (full output: $LOG)"
# A failed test's output shows twice in the log; each line is printed once.
grep -o '\[faults\]   .*' "$LOG" | sed 's/^\[faults\]   /  /' | awk '!seen[$0]++' || true
grep -o '\[faults\] [^ ].*' "$LOG" | awk '!seen[$0]++' || true
exit "$status"
