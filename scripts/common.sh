# Shared by run.sh, test.sh, bench.sh and faults.sh: packages, locale,
# builds, Xvfb and Wine prefixes. Source it; every step is skipped when
# already done.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${CLIPTEXT_BUILD:-$ROOT/build}  # another folder keeps parallel runs apart
LOGS=$BUILD/logs

# What each use needs; the scripts install only the groups they use.
BUILD_PACKAGES=(cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64)
TEST_PACKAGES=(googletest wine wine64 xvfb fonts-wqy-microhei locales)
RUN_PACKAGES=(wine wine64 x11-utils fonts-wqy-microhei locales)
SCREENSHOT_PACKAGES=(xvfb xdotool imagemagick)
PACKAGES=("${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${RUN_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}")

log() { printf '== %s\n' "$*" >&2; }
die() { printf '!! %s\n' "$*" >&2; exit 1; }

# as_root CMD...: runs CMD as root, through sudo without a prompt when we are
# not root; fails (status 1) when neither is possible.
as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo -n "$@"
  else
    return 1
  fi
}

# install_packages PKG...: installs those that are missing, with apt's output
# in $LOGS/apt.log. Sets WINE and WINESERVER_CMD.
install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    mkdir -p "$LOGS"
    log "installing ${missing[*]} (log: $LOGS/apt.log)"
    as_root true || die "installing packages needs root or password-less sudo; as root run:
   apt-get install --no-install-recommends ${missing[*]}"
    # Recommends would pull in wine32 and i386 packages, which break wine64.
    if ! { as_root apt-get update -q &&
           as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
         } >"$LOGS/apt.log" 2>&1; then
      tail -n 20 "$LOGS/apt.log" >&2
      die "apt-get failed (log: $LOGS/apt.log)"
    fi
  fi
  # With wine32 present /usr/bin/wine picks the 32-bit loader; call wine64 directly then.
  if [ -x /usr/lib/wine/wine64 ] && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q installed; then
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    WINE=/usr/lib/wine/wine64
  else
    WINE=wine
  fi
  WINESERVER_CMD=${WINESERVER:-wineserver}
}

ensure_locale() {
  # Wine takes its ANSI code page (936) from the locale of each process. A
  # child checks it: this shell's C library would remember a failed lookup.
  if [ "$(LC_ALL=zh_CN.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
    log "generating the zh_CN.UTF-8 locale"
    as_root true || die "generating the zh_CN.UTF-8 locale needs root or password-less sudo"
    as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

# build_target x86_64|i686 [extra cmake args]: output in $LOGS/build-<arch>.log.
build_target() {
  local arch=$1; shift
  mkdir -p "$LOGS"
  log "building for $arch (log: $LOGS/build-$arch.log)"
  if ! { cmake -S "$ROOT" -B "$BUILD/$arch" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
               -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE" "$@" &&
         cmake --build "$BUILD/$arch" -j"$(nproc)"; } >"$LOGS/build-$arch.log" 2>&1; then
    grep -E -A5 'error|warning' "$LOGS/build-$arch.log" | head -n 60 >&2 || tail -n 30 "$LOGS/build-$arch.log" >&2
    die "the $arch build failed (log: $LOGS/build-$arch.log)"
  fi
}

XVFB_PIDS=()
# start_xvfb WIDTHxHEIGHT: starts a virtual display and sets XVFB_DISPLAY to
# it (":N"). Call it directly, not in $(...), so its pid is remembered here.
start_xvfb() {
  local numfile; numfile=$(mktemp)
  # Xvfb picks a free display itself and writes its number once it listens.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  XVFB_PIDS+=($!)
  for _ in $(seq 200); do
    [ -s "$numfile" ] && break
    kill -0 "$!" 2>/dev/null || break
    sleep 0.05
  done
  local n; n=$(tr -dc 0-9 <"$numfile"); rm -f "$numfile"
  [ -n "$n" ] || die "Xvfb did not start"
  XVFB_DISPLAY=":$n"
}

stop_xvfb() {
  for pid in "${XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# wine_prefix DIR: the environment of an isolated Wine prefix under DIR, for
# tests and virtual displays: its desktop folder lies in DIR/home/Desktop and
# its windows are unmanaged. Creates the prefix on first use.
wine_prefix() {
  export WINEPREFIX=$1/prefix HOME=$1/home
  mkdir -p "$HOME/Desktop"
  make_prefix
  # Without a window manager Wine waits up to 2 s for one whenever a managed
  # window hides; unmanaged windows keep their exact placement and skip it.
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    "$WINESERVER_CMD" -w
  fi
}

# user_prefix: the environment of the user's own Wine prefix for ClipToText,
# outside the build folder and with the user's HOME, so that the program's
# desktop folder is the user's desktop and survives a clean build.
user_prefix() {
  export WINEPREFIX=${XDG_DATA_HOME:-$HOME/.local/share}/cliptotext/prefix
  mkdir -p "$(dirname "$WINEPREFIX")"
  make_prefix
}

make_prefix() {
  # This shell may have looked the locale up before it existed; only Wine's
  # processes need it, so the shell's own warning is not shown.
  { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    # The windows ask for 微软雅黑; let Wine find it as the installed CJK font.
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 微软雅黑 /d "WenQuanYi Micro Hei" /f \
      </dev/null >/dev/null 2>&1
    "$WINESERVER_CMD" -w
  fi
}

# Keeps a wineserver with Wine's services running, so that test processes
# start fast and no service inherits (and holds open) ctest's output.
start_wineserver() {
  "$WINESERVER_CMD" -p 2>/dev/null || true  # one may be running for this prefix already
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}

# stop_prefix_server DIR: stops the server of the prefix under DIR, if any,
# without making the prefix.
stop_prefix_server() {
  [ -f "$1/prefix/system.reg" ] || return 0
  WINEPREFIX=$1/prefix "$WINESERVER_CMD" -k 2>/dev/null || true
}

# A 1 MB drive S: in the current Wine prefix, for the disk-full tests: a tmpfs
# that fills up. Mounting needs root (or sudo); without it those tests skip.
SMALL_DRIVE_DIR=
mount_small_drive() {
  local dir=$BUILD/small-drive
  mkdir -p "$dir"
  if mountpoint -q "$dir" || as_root mount -t tmpfs -o size=1m tmpfs "$dir" 2>/dev/null; then
    SMALL_DRIVE_DIR=$dir
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/s:"
    export CLIPTEXT_SMALL_DRIVE='S:\'
  else
    log "could not mount a 1 MB tmpfs on $dir; the disk-full tests will be skipped"
  fi
}

unmount_small_drive() {
  [ -n "$SMALL_DRIVE_DIR" ] || return 0
  rm -f "$WINEPREFIX/dosdevices/s:"
  as_root umount "$SMALL_DRIVE_DIR" 2>/dev/null || true
  SMALL_DRIVE_DIR=
}
