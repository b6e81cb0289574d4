#!/usr/bin/env bash
# Runs one Windows test program under wine64. Host paths in TAMRIVEL_* variables are
# turned into Windows paths (Z: is the host's root). With --own-prefix the test gets a
# fresh prefix, with the drives listed in TAMRIVEL_DRIVES mapped: "d" maps D: to a new
# empty folder (which the test fills through D:\), "d:/host/dir" to that folder.
set -u
own=0
if [ "${1:-}" = "--own-prefix" ]; then own=1; shift; fi
exe=$1; shift
WINE=${WINE64:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all} LANG=${LANG_OVERRIDE:-zh_CN.UTF-8} LC_ALL=zh_CN.UTF-8

winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
for var in TAMRIVEL_EXE TAMRIVEL_SOURCE_DIR TAMRIVEL_BINARY_DIR; do
  [ -n "${!var:-}" ] && export "$var=$(winpath "${!var}")"
done

if [ -z "${DISPLAY:-}" ]; then
  echo "run-under-wine: no DISPLAY; run through tools/test.sh" >&2
  exit 1
fi

cleanup_prefix=""
if [ "$own" = 1 ] || [ -z "${WINEPREFIX:-}" ]; then
  base=$(mktemp -d /tmp/tamrivel-test.XXXXXX)
  export WINEPREFIX=$base/pfx
  "$WINE" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$WINEPREFIX wineserver -w
  cleanup_prefix=$base
fi
for mapping in ${TAMRIVEL_DRIVES:-}; do
  drive=${mapping%%:*}
  if [ "$mapping" = "$drive" ]; then
    target=$(mktemp -d "${cleanup_prefix:-/tmp}/drive-$drive.XXXXXX")
  else
    target=${mapping#*:}
  fi
  ln -sfn "$target" "$WINEPREFIX/dosdevices/${drive}:"
done

"$WINE" "$exe" "$@"
rc=$?
if [ -n "$cleanup_prefix" ]; then
  wineserver -k >/dev/null 2>&1
  rm -rf "$cleanup_prefix"
fi
exit $rc
