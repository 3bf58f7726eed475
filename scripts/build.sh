#!/usr/bin/env bash
# Installs what is missing, then builds. Usage: scripts/build.sh [native] [windows]
# (both when no argument is given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native windows)

bash scripts/install-deps.sh
for target in "${targets[@]}"; do
  [ -f "build/$target/CMakeCache.txt" ] || cmake --preset "$target" >/dev/null
  cmake --build --preset "$target"
done
