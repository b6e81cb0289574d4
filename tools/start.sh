#!/usr/bin/env bash
# Starts Tamrivel (x86_64 build) under wine64; `tools/start.sh gallery` starts SkinGallery instead
# (further arguments go to the program, e.g. `tools/start.sh gallery --no-skin`).
# With $DISPLAY set it shows on that display; without one it runs headless in Xvfb, waits for the
# program's window, saves a screenshot and prints its path.
# Builds what is missing first. Uses the prefix in $WINEPREFIX, else ~/.cache/tamrivel-prefix.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/tools/xvfb.sh"
BUILD=${TAMRIVEL_BUILD:-$ROOT/build}

program=tamrivel
case "${1:-}" in
  gallery|tamrivel) program=$1; shift ;;
esac
if [ "$program" = gallery ]; then
  target=SkinGallery exe=$BUILD/x86_64/samples/gallery/SkinGallery.exe title="Tamrivel Skin Gallery" screen=1280x1024
  shot_default=$ROOT/build/gallery-screenshot.png
else
  target=Tamrivel exe=$BUILD/x86_64/app/Tamrivel.exe title="Tamrivel" screen=1024x768
  shot_default=$ROOT/build/tamrivel-screenshot.png
fi
if [ ! -f "$exe" ]; then
  "$ROOT/tools/deps.sh"
  cmake -S "$ROOT" -B "$BUILD/x86_64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/x86_64" -j 2 --target "$target"
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/tamrivel-prefix} WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
WINE=/usr/lib/wine/wine64

# This Wine does not load its own core fonts (Marlett, Tahoma) from its data folder, only from the
# prefix's Fonts folder: link them there, or captions and arrows show letters instead of glyphs.
link_core_fonts() { ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true; }

if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || { "$WINE" wineboot -i >/dev/null 2>&1; wineserver -w; }
  link_core_fonts
  exec "$WINE" "$exe" "$@"
fi

# Headless: everything started below ends with the script, however it ends.
work=$(mktemp -d /tmp/tamrivel-start.XXXXXX)
xvfb_pid=""
wine_started=0
half_prefix=""   # a prefix this script began to make and has not finished
cleanup() {
  local rc=$?
  # A second signal must not cut the clean-up short.
  trap '' INT TERM
  trap - EXIT
  set +e
  [ "$wine_started" = 1 ] && { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
  # Half made, it would look ready to the next run and fail there.
  [ -n "$half_prefix" ] && rm -rf "$half_prefix"
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

start_xvfb "${screen}x24" start.sh

wine_started=1
# A prefix whose desktop first came up without a display keeps failing; start afresh then.
wineserver -k >/dev/null 2>&1 || true
if [ ! -d "$WINEPREFIX" ]; then
  half_prefix=$WINEPREFIX
  "$WINE" wineboot -i >/dev/null 2>&1
fi
wineserver -w
half_prefix=""
link_core_fonts
# A server started now and kept up: whenever the script ends, `wineserver -k` finds everything.
wineserver -p
"$WINE" explorer /desktop=Tamrivel,$screen "$exe" "$@" >/dev/null 2>&1 &

# Wine gives each top-level window an X window named by its caption, also inside its desktop.
timeout=${TAMRIVEL_START_TIMEOUT:-60}
deadline=$((SECONDS + timeout))
until xdotool search --onlyvisible --name "^${title}( \\(.*\\))?\$" >/dev/null 2>&1; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "start.sh: no window \"$title\" appeared within ${timeout}s" >&2
    exit 1
  fi
  sleep 0.2
done
# The window is mapped; give it a moment to paint before the capture.
sleep 1
shot=${TAMRIVEL_SHOT:-$shot_default}
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "screenshot: $shot"
