#!/usr/bin/env bash
# Cross-builds libpng statically for i686 Windows from Debian's source package
# into build/deps/i686. Does nothing when it is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
prefix="$deps/i686"
[ -f "$prefix/lib/libpng16.a" ] && exit 0

mkdir -p "$deps/src"
cd "$deps/src"
if ! ls -d libpng1.6-*/ >/dev/null 2>&1; then
  apt-get source -qq libpng1.6/bookworm >/dev/null 2>&1
fi
src=$(ls -d "$deps"/src/libpng1.6-*/ | head -n 1)

cmake -S "$src" -B "$deps/libpng-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include >/dev/null
cmake --build "$deps/libpng-build" >/dev/null
cmake --install "$deps/libpng-build" >/dev/null
echo "libpng installed in $prefix"
