#!/usr/bin/env bash
# Renders the SVG sources in resources/art/ into the bitmaps the program loads
# from its Data folder (resources/Data/) and into the program icon
# (resources/quorvane.ico). The outputs are committed, so a build needs none
# of the tools used here.
#
#   tools/render_artwork.sh            render everything
#   tools/render_artwork.sh --install  first apt-get install missing tools
#
# Needs rsvg-convert (librsvg2-bin) and ImageMagick 6 (imagemagick).
# The same sources and tools give the same bytes on every run.
#
# Output format: Windows BMP with the 40-byte BITMAPINFOHEADER, 24 bits per
# pixel, uncompressed, bottom-up - what LoadImageW(LR_LOADFROMFILE) reads.
#
# Colour keys: a keyed picture is rendered over transparency; every pixel
# that is at least KEEP opaque is blended over the colour the program really
# draws the picture on (its "matte": a flat colour, or a crop of the picture
# underneath), and every other pixel becomes exactly the key colour. Edges
# therefore carry no tint of the key, and the key colour itself never occurs
# inside a picture (such pixels are moved by one step).
#
# Page pictures are loaded with LR_LOADMAP3DCOLORS, which swaps the exact
# greys 128, 192 and 223 for system colours; every output has those greys
# moved by one step in blue, except where 223 grey is the key colour itself.
#
# The look, shared by all sources: ink and slate blues (#1A2333..#5B6B86) for
# panels, bands and glyph bodies; page grey #DCDCDC and panel grey #F6F6F6
# for surfaces (the colours the buttons fill themselves with); one accent,
# azure #2B6CD4 (highlight, tiles, arrows, focus). The partition bar adds
# green #6DBE7E (system part) and violet #54468F (free part), the warning
# sign amber #F0AA2A.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
art=$root/resources/art
out=$root/resources/Data
ico=$root/resources/quorvane.ico

usage() { echo "usage: $0 [--install]" >&2; exit 2; }
install=0
case $# in
  0) ;;
  1) [[ $1 == --install ]] || usage; install=1 ;;
  *) usage ;;
esac

have_tools() {
  command -v rsvg-convert >/dev/null 2>&1 &&
    command -v convert >/dev/null 2>&1 &&
    convert -version 2>/dev/null | grep -q 'ImageMagick 6'
}
if ! have_tools; then
  if ((install)); then
    apt-get install -y librsvg2-bin imagemagick
  fi
  if ! have_tools; then
    echo "render_artwork: needs rsvg-convert (package librsvg2-bin) and ImageMagick 6 (package imagemagick);" >&2
    echo "render_artwork: install them, or run again with --install (as root)." >&2
    exit 1
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# Alpha a pixel needs to stay part of a keyed picture. The matte is what the
# picture is drawn on, so blended edge pixels are right; only nearly clear
# pixels fall to the key.
KEEP=12%

MAGENTA='#FF00FF'
BLACK='#000000'
WARNING_KEY='#DFDFDF'
PAGE_GREY='#DCDCDC'   # background of the .ns push buttons and icon buttons
PANEL_GREY='#F6F6F6'  # frame fill; background of the .nw buttons and radios

# The three greys LR_LOADMAP3DCOLORS replaces, each with its replacement.
nudge_greys=(
  -fill 'rgb(128,128,129)' -opaque 'rgb(128,128,128)'
  -fill 'rgb(192,192,193)' -opaque 'rgb(192,192,192)'
  -fill 'rgb(223,223,224)' -opaque 'rgb(223,223,223)'
)

# render SVG PNG [CLASS] [GLYPH]: rasterise at the SVG's own size. CLASS
# replaces the class of the root element (the one with the viewBox), which
# picks the picture's state or variant; GLYPH replaces the icon button's
# "#backup" glyph reference.
render() {
  local svg=$1 png=$2 class=${3:-} glyph=${4:-}
  if [[ -z $class && -z $glyph ]]; then
    rsvg-convert "$svg" -o "$png"
    return
  fi
  local tmp=$work/variant.svg
  sed -e "/viewBox=/s/class=\"[a-z0-9-]*\"/class=\"$class\"/" \
      -e "${glyph:+s/xlink:href=\"#backup\"/xlink:href=\"#$glyph\"/}" "$svg" >"$tmp"
  rsvg-convert "$tmp" -o "$png"
}

# write_bmp PNG NAME: an opaque PNG to a 24-bit BMP3 in the Data folder.
write_bmp() {
  convert "$1" -alpha off -type TrueColor -compress None +set date:create +set date:modify \
    "BMP3:$out/$2"
}

# opaque PNG NAME: a picture copied without a key.
opaque() {
  convert "$1" -background "$PANEL_GREY" -alpha remove -alpha off "${nudge_greys[@]}" "$work/flat.png"
  write_bmp "$work/flat.png" "$2"
}

# keyed PNG NAME KEY MATTE [MOVED]: a picture with a colour key. MATTE is a
# colour or a PNG of the same size; MOVED is what a pixel of exactly the key
# colour inside the picture becomes.
keyed() {
  local png=$1 name=$2 key=$3 matte=$4 moved=${5:-}
  local size
  size=$(identify -format '%wx%h' "$png")
  if [[ -f $matte ]]; then
    convert "$matte" "$png" -compose over -composite -alpha off "$work/blend.png"
  else
    convert "$png" -background "$matte" -alpha remove -alpha off "$work/blend.png"
  fi
  local greys=("${nudge_greys[@]}")
  [[ $key == "$WARNING_KEY" ]] && greys=("${nudge_greys[@]:0:4}")
  convert "$work/blend.png" "${greys[@]}" ${moved:+-fill "$moved" -opaque "$key"} "$work/blend.png"
  convert "$png" -alpha extract -threshold "$KEEP" "$work/mask.png"
  convert -size "$size" "xc:$key" "$work/blend.png" "$work/mask.png" -composite -alpha off "$work/keyed.png"
  write_bmp "$work/keyed.png" "$name"
}

# --- page pictures -------------------------------------------------------
render "$art/background_main.svg" "$work/background_main.png"
opaque "$work/background_main.png" background_main.dat

render "$art/background_step.svg" "$work/background_step.png"
opaque "$work/background_step.png" background_step.dat

render "$art/frame_box.svg" "$work/frame_box.png"
opaque "$work/frame_box.png" background_box_1.dat

render "$art/step_highlight.svg" "$work/highlight.png"
opaque "$work/highlight.png" firstbg.dat
opaque "$work/highlight.png" secondbg.dat

# Step numbers land on the highlights: number 1 at (7,138) over firstbg at
# (0,130), number 2 at (7,201) over secondbg at (0,190).
for n in 1 2; do
  offset=$((n == 1 ? 8 : 11))
  convert "$work/highlight.png" -crop "24x34+7+$offset" +repage "$work/number_matte.png"
  sed "s/xlink:href=\"#digit-1\"/xlink:href=\"#digit-$n\"/" "$art/step_number.svg" >"$work/number.svg"
  rsvg-convert "$work/number.svg" -o "$work/number.png"
  keyed "$work/number.png" "partition_number_$n.dat" "$BLACK" "$work/number_matte.png" '#010101'
done

render "$art/warning.svg" "$work/warning.png"
keyed "$work/warning.png" popup_warning.dat "$WARNING_KEY" "$PAGE_GREY" '#E0DFDF'

for d in c d; do
  render "$art/drive.svg" "$work/drive_$d.png" "$d"
  keyed "$work/drive_$d.png" "${d}_drive_enabled.dat" "$MAGENTA" "$PANEL_GREY" '#FE00FF'
done

render "$art/usage_bar.svg" "$work/usage_bar.png"
bar_piece() { # NAME GEOMETRY
  convert "$work/usage_bar.png" -crop "$2" +repage "$work/piece.png"
  opaque "$work/piece.png" "$1"
}
bar_piece partition_green_start.dat 10x36+0+0
bar_piece partition_green_mid.dat 411x36+10+0
bar_piece partition_green_end.dat 10x36+421+0
bar_piece partition_violet_mid.dat 411x36+10+36
bar_piece partition_violet_end.dat 10x36+421+36

# --- button pictures -----------------------------------------------------
for glyph in backup recovery tool control search; do
  for state in normal rollover pressed; do
    render "$art/icon_button.svg" "$work/icon.png" "$state" "$glyph"
    keyed "$work/icon.png" "main_icon_${glyph}_${state}.dat" "$MAGENTA" "$PAGE_GREY" '#FE00FF'
  done
done

declare -A push_matte=([ns]=$PAGE_GREY [nw]=$PANEL_GREY)
for set in ns nw; do
  for state in NN UP DN FF FU XX; do
    render "$art/push_button.svg" "$work/push.png" "${state,,}"
    keyed "$work/push.png" "btn$state.$set" "$MAGENTA" "${push_matte[$set]}" '#FE00FF'
  done
done

render "$art/radio.svg" "$work/radio_off.png" off
keyed "$work/radio_off.png" radioOFF.dat "$MAGENTA" "$PANEL_GREY" '#FE00FF'
render "$art/radio.svg" "$work/radio_on.png" on
keyed "$work/radio_on.png" radioON.dat "$MAGENTA" "$PANEL_GREY" '#FE00FF'

# --- program icon --------------------------------------------------------
# 16 and 32 pixels use the heavier "small" drawing. Every image is stored as
# a 32-bit DIB with alpha (no PNG entries), which every loader and windres read.
icon_pngs=()
for size in 16 32 48 250; do
  class=large
  ((size <= 32)) && class=small
  sed "0,/class=\"large\"/s//class=\"$class\"/" "$art/app_icon.svg" >"$work/icon.svg"
  rsvg-convert -w "$size" -h "$size" "$work/icon.svg" -o "$work/icon_$size.png"
  icon_pngs+=("$work/icon_$size.png")
done
convert "${icon_pngs[@]}" -type TrueColorAlpha +set date:create +set date:modify \
  "ICO:$ico"

echo "render_artwork: wrote $(find "$out" -maxdepth 1 -type f | wc -l) pictures to $out and $ico"
