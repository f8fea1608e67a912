#!/usr/bin/env bash
# `make screens`: pictures of every page and of the buttons in all their states,
# drawn by the program's own code with the English language file, as PNG files
# in build/screens/.
#   render-screens.sh WINDOWS_BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
screens=$top/build/screens
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$screens"
# Drawing into memory needs no display; the program still runs under Wine.
(cd "$work" && "$top/tools/wine-run.sh" --prefix "$build/wineprefix" "$build/bin/quorvane_screens.exe" .)
for picture in "$work"/*.bmp; do
  name=$(basename "$picture" .bmp)
  convert "$picture" "$screens/$name.png"
  echo "build/screens/$name.png"
done
