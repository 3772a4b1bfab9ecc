#!/usr/bin/env bash
# Draws docs/resources.png, one labelled tile per generated picture, so the pictures can
# be looked over without a TIFF viewer. Transparent pictures are shown over dark grey
# (the font sheet and shadow would vanish over black or white). Needs ImageMagick 6.
set -euo pipefail
cd "$(dirname "$0")/.."
magick=/usr/bin   # Debian's ImageMagick; another `convert` may come first on PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tile() {  # tile NAME BACKGROUND
  "$magick/convert" "kivResources/$1" -background "$2" -alpha remove -alpha off \
    -resize '480x240>' "$work/${1%.tif}.png"
}
tile TupLogo.tif black
tile FennickOGL2.tif black
tile Sky_Day.tif black
tile Grass.tif black
tile RobotFont.tif '#3a4654'
tile shadow.tif '#c8d0d8'

mkdir -p docs
tiles=()
for name in TupLogo FennickOGL2 Sky_Day Grass RobotFont shadow; do
  tiles+=(-label "$name.tif" "$work/$name.png")
done
"$magick/montage" "${tiles[@]}" -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
  -tile 3x2 -geometry '480x240+12+12' -background '#1b1f24' -fill '#e8edf2' -pointsize 16 \
  -quality 95 -define png:exclude-chunks=date,time +set date:create +set date:modify \
  docs/resources.png
