#!/usr/bin/env bash
# Installs what is missing, builds the release Tapvane2.exe and writes the
# download: dist/Tapvane2-<version>-win32.zip (Tapvane2.exe and 使用说明.txt)
# and dist/SHA256SUMS. The same commit gives the same bytes in any folder at any
# time: every entry carries the commit's time (SOURCE_DATE_EPOCH if set; outside
# a git checkout 1980-01-01, the earliest a zip can hold).
# Refuses to package an exe with debug sections, over 512 KB, or importing a DLL
# that is not part of Windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Tapvane2

build=build/windows
exe=$build/Tapvane2.exe
version=$(cat "$build/version.txt")
budget=$((512 * 1024))
system_dlls='^(kernel32|user32|gdi32|comctl32|msimg32|winmm|ole32|msvcrt)\.dll$'

if i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.debug'; then
  echo "$exe has debug sections" >&2
  exit 1
fi
size=$(stat -c %s "$exe")
if [ "$size" -gt "$budget" ]; then
  echo "$exe is $size bytes, over the budget of $budget" >&2
  exit 1
fi
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')
if grep -viE "$system_dlls" <<<"$imports"; then
  echo "$exe imports the DLLs above, which are not part of Windows" >&2
  exit 1
fi

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
zip_name=Tapvane2-$version-win32.zip
mkdir -p dist
rm -f "dist/$zip_name" dist/SHA256SUMS
python3 scripts/make_package.py "$exe" docs/guide_zh.txt "$version" "$epoch" "dist/$zip_name"
(cd dist && sha256sum "$zip_name" >SHA256SUMS)

echo "Tapvane2.exe: $size bytes; imports $(tr '\n' ' ' <<<"$imports")"
echo "dist/$zip_name"
cat dist/SHA256SUMS
