#!/usr/bin/env bash
# Prints the figures the project watches: program sizes and start-up times.
#   figures.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
echo "Quorvane.exe:        $(stat -c %s "$bin/Quorvane.exe") bytes"
echo "QuorvaneSandbox.exe: $(stat -c %s "$bin/QuorvaneSandbox.exe") bytes"
measure() {
  xvfb-run -a -s "-screen 0 1280x1024x24" "$top/tools/wine-run.sh" --prefix "$build/wineprefix" \
    "$bin/quorvane_startup_time.exe" "$1" 5 2>/dev/null
}
echo "start to first painted window, QuorvaneSandbox.exe: $(measure "$bin/QuorvaneSandbox.exe")"
echo "start to first painted window, minimal dialog:      $(measure "$bin/quorvane_minimal_dialog.exe")"
