#!/usr/bin/env bash
# Starts Tamrivel (x86_64 build) under wine64. With $DISPLAY set it shows on that display;
# without one it runs headless in Xvfb, saves a screenshot and prints its path.
# Builds what is missing first. Uses the prefix in $WINEPREFIX, else ~/.cache/tamrivel-prefix.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TAMRIVEL_BUILD:-$ROOT/build}
exe=$BUILD/x86_64/app/Tamrivel.exe
if [ ! -f "$exe" ]; then
  "$ROOT/tools/deps.sh"
  cmake -S "$ROOT" -B "$BUILD/x86_64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/x86_64" -j 2 --target Tamrivel
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/tamrivel-prefix} WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
WINE=/usr/lib/wine/wine64

if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || { "$WINE" wineboot -i >/dev/null 2>&1; wineserver -w; }
  exec "$WINE" "$exe" "$@"
fi

display=""
for n in $(seq 150 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
# A prefix whose desktop first came up without a display keeps failing; start afresh then.
wineserver -k >/dev/null 2>&1 || true
[ -d "$WINEPREFIX" ] || "$WINE" wineboot -i >/dev/null 2>&1
wineserver -w
"$WINE" explorer /desktop=Tamrivel,1024x768 "$exe" "$@" &
sleep "${TAMRIVEL_SHOT_DELAY:-6}"
shot=${TAMRIVEL_SHOT:-$ROOT/build/tamrivel-screenshot.png}
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
wineserver -k >/dev/null 2>&1 || true
kill "$xvfb_pid" >/dev/null 2>&1 || true
echo "screenshot: $shot"
