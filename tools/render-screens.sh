#!/usr/bin/env bash
# `make screens`: pictures of every page in every shipped language and of the
# buttons in all their states, drawn by the program's own code, as PNG files:
#   build/screens/<code>/<page>.png   every page (and each hover state of the menu pages)
#   build/screens/<code>.png          the contact sheet of one language
#   build/screens/buttons-*.png       the buttons, in English
#   render-screens.sh WINDOWS_BUILD [CODE...]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
top=$(cd "$(dirname "$0")/.." && pwd)
screens=$top/build/screens
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$screens"
# Drawing into memory needs no display; the program still runs under Wine.
(cd "$work" && "$top/tools/wine-run.sh" --prefix "$build/wineprefix" "$build/bin/quorvane_screens.exe" . "$@")
for picture in "$work"/*.bmp; do
  convert "$picture" "$screens/$(basename "$picture" .bmp).png"
done
for language in "$work"/*/; do
  code=$(basename "$language")
  rm -rf "${screens:?}/$code"
  mkdir -p "$screens/$code"
  for picture in "$language"*.bmp; do
    convert "$picture" "$screens/$code/$(basename "$picture" .bmp).png"
  done
  montage "$screens/$code"/*.png -tile 3x -geometry 720x480+6+6 -title "$code" -label '%t' \
    -font DejaVu-Sans -background '#404040' -fill white "$screens/$code.png"
  echo "build/screens/$code.png ($(ls "$screens/$code" | wc -l) pages)"
done
