#!/usr/bin/env bash
# Renders the application icon from its drawing commands into one .ico holding eight 32-bit
# images: 16, 24, 32, 48, 64, 72, 96 and 128 pixels.
#   tools/make-icon.sh res/icon.mvg out.ico
set -euo pipefail
source_file=$1
output=$2
magick=$(command -v magick || command -v convert)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$magick" -background none -density 96 "mvg:$source_file" -alpha on "png32:$work/master.png"
images=()
for size in 16 24 32 48 64 72 96 128; do
  "$magick" "$work/master.png" -filter Lanczos -resize "${size}x${size}" -alpha on "png32:$work/$size.png"
  images+=("$work/$size.png")
done
# BMP entries keep the icon readable by every loader; the alpha channel makes them 32-bit.
"$magick" "${images[@]}" -define icon:format=bmp "$output"
