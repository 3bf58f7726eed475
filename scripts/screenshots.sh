#!/usr/bin/env bash
# Renders each window under Wine on a virtual screen of its own into
# docs/screenshots/NAME.png, using the show_window helper of the Windows build.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
out=$root/docs/screenshots
export TAPVANE_OWN_DISPLAY=1
source "$root/scripts/wine-env.sh"

if [ ! -f "$build/show_window.exe" ]; then
  echo "no $build/show_window.exe: build the windows preset first" >&2
  exit 1
fi
mkdir -p "$out"
work=$(mktemp -d)
wine_env_up
trap 'wine_env_down; rm -rf "$work"' EXIT

for name in main key_operation loop_count run_time support compact_run system_menu; do
  geometry="$work/$name.txt"
  timeout 60 wine "$build/show_window.exe" "$name" "$(winepath -w "$geometry")" 10 \
    </dev/null >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 150); do [ -s "$geometry" ] && break; sleep 0.1; done
  if [ ! -s "$geometry" ]; then
    echo "$name: the window did not come up" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  read -r left top width height < "$geometry"
  sleep 0.5  # let the last paint land
  import -window root -crop "${width}x${height}+${left}+${top}" +repage "$out/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$name: ${width}x${height} at ${left},${top} -> docs/screenshots/$name.png"
done
