#!/usr/bin/env bash
# Makes the README's picture of the themed main dialog: starts Tamrivel headless inside a Wine
# virtual desktop (tools/start.sh, which builds what is missing), captures the screen and cuts the
# dialog out of the desktop around it.
# Usage: tools/screenshot.sh [output.png]   (default: docs/tamrivel.png)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$ROOT/docs/tamrivel.png}
work=$(mktemp -d /tmp/tamrivel-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
command -v convert >/dev/null || { echo "screenshot.sh: ImageMagick's convert is needed" >&2; exit 1; }

# Headless on purpose: a display of one's own may carry other windows or a window manager's frame.
env -u DISPLAY TAMRIVEL_SHOT="$work/screen.png" "$ROOT/tools/start.sh" >/dev/null
# The desktop is one flat colour: what differs from its corner is the dialog.
mkdir -p "$(dirname "$out")"
convert "$work/screen.png" -bordercolor "$(convert "$work/screen.png" -format '%[pixel:p{0,0}]' info:)" \
  -border 1 -fuzz 1% -trim +repage "$out"
echo "screenshot: $out ($(identify -format '%wx%h' "$out"))"
