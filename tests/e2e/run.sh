#!/usr/bin/env bash
# Runs the end-to-end suite against a Windows build under Wine.
# Usage: tests/e2e/run.sh BUILD_DIR   (e.g. build/windows)
# The caller has brought up the Wine environment (scripts/wine-env.sh:
# WINEPREFIX, DISPLAY and WINEDEBUG exported, wineserver running).
# Prints "N passed, M failed" last; exits non-zero on any failure.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
for exe in Tapvane2.exe probe.exe input_target.exe; do
  if [ ! -f "$build/$exe" ]; then
    echo "missing $build/$exe"
    echo "0 passed, 1 failed"
    exit 1
  fi
done
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "WINEPREFIX and DISPLAY must be set (source scripts/wine-env.sh; wine_env_up)"
  echo "0 passed, 1 failed"
  exit 1
fi
command -v xdotool >/dev/null || { echo "xdotool is missing"; echo "0 passed, 1 failed"; exit 1; }

# Wine's services inherit the stdio of the first wine process: keep them off
# our pipe so that nothing waits for them.
wineserver -p </dev/null >/dev/null 2>&1

# The suite takes about a minute and a half; the limit only catches a hang.
timeout --kill-after=10 280 python3 -u "$here/e2e.py" "$build"
status=$?
if [ "$status" = 124 ] || [ "$status" = 137 ]; then
  echo "the end-to-end suite hung and was stopped"
  echo "0 passed, 1 failed"
fi
exit "$status"
