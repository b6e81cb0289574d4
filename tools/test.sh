#!/usr/bin/env bash
# Installs what is missing, builds both targets (i686 product, x86_64 with tests) and runs
# every test under wine64 in a throw-away prefix with its own Xvfb display.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/tools/xvfb.sh"
BUILD=${TAMRIVEL_BUILD:-$ROOT/build}
JOBS=${JOBS:-2}

"$ROOT/tools/deps.sh"

for arch in i686 x86_64; do
  tests=OFF; [ "$arch" = x86_64 ] && tests=ON
  cmake -S "$ROOT" -B "$BUILD/$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
        -DTAMRIVEL_TESTS=$tests >/dev/null
  echo "== building $arch"
  cmake --build "$BUILD/$arch" -j "$JOBS"
done

# A display of our own and a prefix made for this run, both gone afterwards however the run ends.
work=$(mktemp -d /tmp/tamrivel-run.XXXXXX)
xvfb_pid=""
ctest_pid=""
cleanup() {
  local rc=$?
  # A second signal must not cut the clean-up short.
  trap '' INT TERM
  trap - EXIT
  set +e
  if [ -n "$ctest_pid" ]; then
    # ctest runs in a session of its own: end it with every test runner, whose traps clean up after them.
    kill -TERM -- "-$ctest_pid" 2>/dev/null
    wait "$ctest_pid" 2>/dev/null
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_xvfb "1280x1024x24" test.sh
export WINEPREFIX=$work/pfx WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
wineserver -w
# This Wine does not load its own core fonts (Marlett, Tahoma) from its data folder, only from the
# prefix's Fonts folder: link them there, or captions and arrows show letters instead of glyphs.
ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
# The wine server and its services outlive the program that started them and hold on to that
# program's output, so ctest would wait for a test until every later one had finished. A
# windowless command shell, reading a pipe nobody writes, starts them here and keeps them for
# the whole run; the clean-up ends it with the server.
mkfifo "$work/hold"
/usr/lib/wine/wine64 cmd.exe /q /k <>"$work/hold" >/dev/null 2>&1 &
# Returns once the server and services are up, so no test can be the one to start them.
/usr/lib/wine/wine64 cmd.exe /c ver >/dev/null 2>&1

cd "$BUILD/x86_64"
setsid ctest --output-on-failure -j "$JOBS" "$@" &
ctest_pid=$!
rc=0
wait "$ctest_pid" || rc=$?
ctest_pid=""
exit "$rc"
