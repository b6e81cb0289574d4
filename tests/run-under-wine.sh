#!/usr/bin/env bash
# Runs one Windows test program under wine64. Host paths in TAMRIVEL_* variables are
# turned into Windows paths (Z: is the host's root). With --own-prefix the test gets a
# fresh prefix, with the drives listed in TAMRIVEL_DRIVES mapped: "d" maps D: to a new
# empty folder (which the test fills through D:\), "d:/host/dir" to that folder.
# Killed or not, it leaves no program, wine server or prefix of its own behind.
set -u
own=0
if [ "${1:-}" = "--own-prefix" ]; then own=1; shift; fi
exe=$1; shift
WINE=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all} LANG=${LANG_OVERRIDE:-zh_CN.UTF-8} LC_ALL=zh_CN.UTF-8

winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
for var in TAMRIVEL_EXE TAMRIVEL_GALLERY TAMRIVEL_SOURCE_DIR TAMRIVEL_BINARY_DIR; do
  [ -n "${!var:-}" ] && export "$var=$(winpath "${!var}")"
done

if [ -z "${DISPLAY:-}" ]; then
  echo "run-under-wine: no DISPLAY; run through tools/test.sh" >&2
  exit 1
fi

cleanup_prefix=""
loose_drives=()   # drive folders made outside a prefix of our own
wine_pid=""
cleanup() {
  local rc=$?
  # A second signal must not cut the clean-up short.
  trap '' INT TERM
  trap - EXIT
  if [ -n "$wine_pid" ]; then
    kill "$wine_pid" 2>/dev/null
    wait "$wine_pid" 2>/dev/null
  fi
  # A prefix of our own goes with everything running in it; a shared one belongs to the caller.
  if [ -n "$cleanup_prefix" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    rm -rf "$cleanup_prefix"
  fi
  [ ${#loose_drives[@]} -eq 0 ] || rm -rf "${loose_drives[@]}"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [ "$own" = 1 ] || [ -z "${WINEPREFIX:-}" ]; then
  cleanup_prefix=$(mktemp -d /tmp/tamrivel-test.XXXXXX)
  export WINEPREFIX=$cleanup_prefix/pfx
  "$WINE" wineboot -i >/dev/null 2>&1
  wineserver -w
  # Wine's core fonts load only from the prefix's Fonts folder (see tools/test.sh).
  ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
for mapping in ${TAMRIVEL_DRIVES:-}; do
  drive=${mapping%%:*}
  if [ "$mapping" = "$drive" ]; then
    target=$(mktemp -d "${cleanup_prefix:-/tmp}/drive-$drive.XXXXXX")
    [ -n "$cleanup_prefix" ] || loose_drives+=("$target")
  else
    target=${mapping#*:}
  fi
  ln -sfn "$target" "$WINEPREFIX/dosdevices/${drive}:"
done

# In the background, so that a signal reaches our trap at once rather than after the test ends.
"$WINE" "$exe" "$@" &
wine_pid=$!
wait "$wine_pid"
rc=$?
wine_pid=""
exit $rc
