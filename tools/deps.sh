#!/usr/bin/env bash
# Installs what building and testing needs on a Debian 12 machine, then cross-builds
# libpng (from Debian's source package) and GoogleTest for both MinGW targets.
# Safe to run again: installed packages and finished builds are reused.
set -euo pipefail

DEPS_DIR=${TAMRIVEL_DEPS:-$HOME/.cache/tamrivel-deps}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PACKAGES=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          libz-mingw-w64-dev googletest wine wine64 xvfb xauth locales-all
          fonts-wqy-zenhei fonts-wine imagemagick xdotool x11-apps cmake ninja-build dpkg-dev)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$DEPS_DIR"

# libpng source from Debian: needs a deb-src entry matching the deb entries.
PNG_SRC=$(ls -d "$DEPS_DIR"/src/libpng1.6-*/ 2>/dev/null | head -n1 || true)
if [ -z "$PNG_SRC" ]; then
  if ! apt-cache showsrc libpng1.6 >/dev/null 2>&1 || [ -z "$(apt-cache showsrc libpng1.6 2>/dev/null)" ]; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources \
        | sed 's/^Types: deb$/Types: deb-src/' \
        | $SUDO tee /etc/apt/sources.list.d/tamrivel-src.sources >/dev/null
    else
      grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
        | $SUDO tee /etc/apt/sources.list.d/tamrivel-src.list >/dev/null
    fi
    $SUDO apt-get update -qq
  fi
  mkdir -p "$DEPS_DIR/src"
  # The security suite's source files may be missing; try the versions on offer newest first.
  versions=$(apt-cache showsrc libpng1.6 | awk '/^Version:/{print $2}' | sort -rV | uniq)
  ok=""
  for v in $versions; do
    if (cd "$DEPS_DIR/src" && apt-get source -qq --download-only "libpng1.6=$v" >/dev/null 2>&1 \
        && dpkg-source -x --no-check libpng1.6_*.dsc >/dev/null 2>&1); then ok=$v; break; fi
    rm -rf "$DEPS_DIR"/src/*
  done
  [ -n "$ok" ] || { echo "deps: could not fetch libpng1.6 sources" >&2; exit 1; }
  PNG_SRC=$(ls -d "$DEPS_DIR"/src/libpng1.6-*/ | head -n1)
fi

for arch in x86_64 i686; do
  prefix="$DEPS_DIR/$arch"
  tc="$ROOT/cmake/mingw-$arch.cmake"
  if [ ! -f "$prefix/lib/libpng16.a" ]; then
    echo "deps: building libpng for $arch"
    rm -rf "$DEPS_DIR/build-png-$arch"
    cmake -S "$PNG_SRC" -B "$DEPS_DIR/build-png-$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
      -DZLIB_LIBRARY="/usr/$arch-w64-mingw32/lib/libz.a" \
      -DZLIB_INCLUDE_DIR="/usr/$arch-w64-mingw32/include" >/dev/null
    cmake --build "$DEPS_DIR/build-png-$arch" --target install >/dev/null
  fi
  if [ "$arch" = x86_64 ] && [ ! -f "$prefix/lib/libgtest.a" ]; then
    echo "deps: building GoogleTest for $arch"
    rm -rf "$DEPS_DIR/build-gtest-$arch"
    cmake -S /usr/src/googletest -B "$DEPS_DIR/build-gtest-$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$DEPS_DIR/build-gtest-$arch" --target install >/dev/null
  fi
done
echo "deps: ready in $DEPS_DIR"
