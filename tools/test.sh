#!/usr/bin/env bash
# Installs what is missing, builds both targets (i686 product, x86_64 with tests) and runs
# every test under wine64 in a throw-away prefix with its own Xvfb display.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
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

# A display of our own and a prefix made for this run, both gone afterwards.
work=$(mktemp -d /tmp/tamrivel-run.XXXXXX)
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export WINEPREFIX=$work/pfx DISPLAY=$display WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
wineserver -w

cd "$BUILD/x86_64"
ctest --output-on-failure -j "$JOBS" "$@"
