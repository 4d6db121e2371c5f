#!/usr/bin/env bash
# Draws the Valmerin icon (a green game pad on black) at every size the desktop
# looks for. The PNGs are committed; run this only when the drawing changes.
set -euo pipefail
cd "$(dirname "$0")"

green='#39ff6a'
rim='#1f8a3e'

# Drawn once large and scaled down, so every size is the same picture.
convert -size 1024x1024 xc:none \
  -fill black -stroke "$rim" -strokewidth 28 \
  -draw 'roundrectangle 40,40 984,984 170,170' \
  -stroke none -fill "$green" \
  -draw 'roundrectangle 130,300 894,640 170,170' \
  -draw 'circle 290,630 290,820' \
  -draw 'circle 734,630 734,820' \
  -fill black \
  -draw 'rectangle 190,440 390,510' \
  -draw 'rectangle 255,375 325,575' \
  -draw 'circle 790,420 790,475' \
  -draw 'circle 680,530 680,585' \
  -draw 'roundrectangle 440,430 500,470 18,18' \
  -draw 'roundrectangle 524,430 584,470 18,18' \
  master.png

for size in 16 32 48 64 128 256; do
  convert master.png -filter Lanczos -resize "${size}x${size}" -strip -depth 8 \
    "PNG32:valmerin-${size}.png"
done
rm -f master.png
