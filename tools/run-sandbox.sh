#!/usr/bin/env bash
# `make run`: prepares the sandbox machine and starts QuorvaneSandbox.exe under
# Wine. With a display the window stays for a person to use; without one it
# runs under Xvfb, a picture of the window goes to build/screens/ and the
# program is closed.
#   run-sandbox.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
wine_run=("$top/tools/wine-run.sh" --prefix "$build/wineprefix")

"$top/tools/make-sandbox.sh" "$bin/Sandbox"

if [[ -n ${DISPLAY:-} ]]; then
  exec "${wine_run[@]}" "$bin/QuorvaneSandbox.exe"
fi

screens=$top/build/screens
mkdir -p "$screens"
export QUORVANE_WINEPREFIX=$build/wineprefix
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  "$0" --prefix "$1" "$2/QuorvaneSandbox.exe" &
  program=$!
  "$0" --prefix "$1" "$2/quorvane_capture.exe" "$3/main-window.bmp" --close
  wait $program
  WINEPREFIX="$1" wineserver -w
' "${wine_run[0]}" "$build/wineprefix" "$bin" "$screens"
convert "$screens/main-window.bmp" "$screens/main-window.png"
rm -f "$screens/main-window.bmp"
echo "make run: no display, so the sandbox edition ran under Xvfb."
echo "Picture of its window: $screens/main-window.png"
