#!/usr/bin/env bash
# Builds the 32-bit product and the 64-bit build with the benchmarks, then
# measures the program against minimal baselines under Wine in a virtual
# display and prints one table. Figures that miss a target do not fail it.
# Extra arguments go to bench_runner, e.g. --program 'Z:\path\ClipToText.exe'
# to measure another build of the program against the same baselines.
source "$(dirname "$0")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_locale
# Build chatter to stderr, so that stdout is the table alone.
build_target i686 -DCLIPTEXT_TESTS=OFF >&2
build_target x86_64 -DCLIPTEXT_TESTS=ON >&2

trap 'stop_prefix_server "$BUILD/wine-bench"; stop_xvfb' EXIT
start_xvfb 1920x1080
export DISPLAY=$XVFB_DISPLAY
wine_prefix "$BUILD/wine-bench"
start_wineserver

CPU=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n1)
CPU="$CPU ($(nproc) logical)"
LOAD=$(cut -d' ' -f1-3 /proc/loadavg)
EXE32=$BUILD/i686/bin/ClipToText.exe
EXE32_WIN="Z:${EXE32//\//\\}"  # Wine maps Z: to the Linux root

log "running the benchmarks (a few minutes)"
set +e
"$WINE" "$BUILD/x86_64/bin/bench_runner.exe" --cpu "$CPU" --load "$LOAD" --exe32 "$EXE32_WIN" "$@" </dev/null | tr -d '\r'
status=${PIPESTATUS[0]}
[ "$status" = 0 ] || echo "bench_runner ended with status $status" >&2

# Cross-check of the runner's import list with the toolchain's own reader.
if command -v i686-w64-mingw32-objdump >/dev/null; then
  echo "objdump, i686 imports: $(i686-w64-mingw32-objdump -p "$EXE32" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"
  echo "objdump, i686 characteristics: $(i686-w64-mingw32-objdump -p "$EXE32" | sed -n '/^Characteristics/,/^$/{/^Characteristics/d;/^$/d;s/^[[:space:]]*//;p}' | paste -sd, -)"
fi
echo "i686 exe: $(stat -c %s "$EXE32") bytes"
exit 0
