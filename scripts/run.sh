#!/usr/bin/env bash
# Installs what is missing, builds Tapvane2.exe and runs it under Wine. With no
# $DISPLAY it starts a virtual one, saves a screenshot and keeps the program
# running until interrupted (Ctrl+C).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/build.sh windows
. scripts/wine-env.sh
headless=0
[ -n "${DISPLAY:-}" ] || headless=1
wine_env_up
trap 'wine_env_down' EXIT

exe="$root/build/windows/Tapvane2.exe"
if [ "$headless" = 0 ]; then
  wine "$exe"
  exit $?
fi

wine "$exe" </dev/null >/dev/null 2>&1 &
program=$!
sleep 4
shot="$root/build/screenshots/run.png"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "Tapvane2 is running on the virtual display $DISPLAY."
echo "Screenshot: $shot"
echo "Press Ctrl+C to stop."
trap 'kill $program 2>/dev/null; wine_env_down' INT TERM EXIT
wait "$program" || true
