#!/usr/bin/env bash
# Soak test: runs Tapvane2.exe under Wine in endless mode for a long time and
# prints its memory and object counts at the start, every five minutes and at
# the end, to show leaks that the short tests cannot.
#
# Usage: scripts/soak.sh [DURATION_SECONDS] [BUILD_DIR] [WAIT_MS]
#   DURATION_SECONDS  length of the endless run (default 3600, one hour)
#   BUILD_DIR         Windows build holding Tapvane2.exe, probe.exe and
#                     input_target.exe (default build/windows)
#   WAIT_MS           the wait recorded with each step (default 50)
#
# It records a left click and a right click on a target window of its own and
# one Backspace step, lets the endless mode loop them (tens of thousands of
# steps in an hour), stops the run with the stop button and closes the program.
# Figures: VmRSS, VmData, threads and open descriptors of the Wine process
# (/proc), the working set and page-file use Windows reports, the program's
# window and control count, and GDI/USER object counts where the platform
# gives them (Wine's GetGuiResources always answers 0, so under Wine they are
# reported as not given). Compare the idle figures at the start and the end.
#
# Brings up its own Wine prefix and display (TAPVANE_WINEPREFIX and
# TAPVANE_OWN_DISPLAY as in scripts/wine-env.sh). Not part of scripts/test.sh.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

duration=${1:-3600}
build=${2:-build/windows}
wait_ms=${3:-50}
for exe in Tapvane2.exe probe.exe input_target.exe; do
  [ -f "$build/$exe" ] || { echo "missing $build/$exe (build the windows preset first)" >&2; exit 2; }
done

. scripts/wine-env.sh
wine_env_up
trap 'wine_env_down' EXIT

python3 -u tests/e2e/soak.py "$build" "$duration" "$wait_ms"
