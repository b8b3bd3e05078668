#!/usr/bin/env bash
# Draws the program's images with ImageMagick. The results are committed; run
# this only to change the artwork.
set -euo pipefail
IM=/usr/bin/convert
out=$(cd "$(dirname "$0")/../assets" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
seagreen='#2E8B57'
dark='#1F6B41'
bold=Liberation-Sans-Bold

# Button face: a raised sea-green shape with a white word, 144 x 46.
button() {
  $IM -size 144x46 xc:white \
    -fill "$dark" -draw "roundrectangle 1,2 142,44 10,10" \
    -fill "$seagreen" -draw "roundrectangle 1,0 142,41 10,10" \
    -fill '#3CB371' -draw "roundrectangle 5,3 138,18 8,8" \
    -fill "$seagreen" -draw "rectangle 5,12 138,22" \
    -font "$bold" -pointsize 18 -fill white -gravity center -annotate +0-2 "$1" \
    -alpha off -type TrueColor "BMP3:$out/$2"
}
button Password button_password.bmp
button Compile button_compile.bmp

# The maker's logo, 198 x 129.
$IM -size 198x129 gradient:'#FFFFFF'-'#E6F4EC' \
  -fill "$seagreen" -draw "circle 40,64 40,30" \
  -fill white -draw "polygon 40,42 58,50 56,74 40,86 24,74 22,50" \
  -fill "$seagreen" -draw "polygon 40,50 51,55 50,71 40,79 30,71 29,55" \
  -font "$bold" -pointsize 19 -fill "$dark" -annotate +84+62 "Brindlecor" \
  -font Liberation-Sans -pointsize 11 -fill '#333333' -annotate +86+80 "Quellanix" \
  -alpha off -type TrueColor "BMP3:$out/logo.bmp"

# The program icon: a shield on a sea-green disc; 50 x 50 in 24-bit colour,
# plus the sizes Explorer asks for.
$IM -size 256x256 xc:none \
  -fill "$seagreen" -draw "circle 128,128 128,6" \
  -fill white -draw "polygon 128,44 196,72 190,150 128,212 66,150 60,72" \
  -fill "$seagreen" -draw "polygon 128,74 170,92 166,144 128,184 90,144 86,92" \
  "$tmp/icon256.png"
# Each size drawn smoothly from the large one, so that the windows never
# stretch an icon themselves: the small and the 50-pixel icon at 100, 125, 150
# and 200 % of 96 DPI.
icon() {  # icon SOURCE.png OUT.ico SIZE... (a size "png": the source itself)
  local src=$1 ico=$2 frames=()
  shift 2
  for s in "$@"; do
    [ "$s" = png ] && frames+=("$src") && continue
    $IM "$src" -resize ${s}x${s} -background white -flatten -alpha off -type TrueColor "$tmp/f$s.bmp"
    frames+=("$tmp/f$s.bmp")
  done
  $IM "${frames[@]}" "$ico"
}
icon "$tmp/icon256.png" "$out/quellanix.ico" 16 20 24 32 48 50 63 75 100 png
$IM "$tmp/icon256.png" -resize 50x50 -background white -flatten -alpha off -type TrueColor "BMP3:$out/icon50.bmp"

# The blocker's icon: a padlock on a slate disc, naming no tool, for Task
# Manager and the blocker's notice; no large image, to keep the template small.
slate='#4A5F73'
$IM -size 256x256 xc:none \
  -fill "$slate" -draw "circle 128,128 128,6" \
  -fill none -stroke white -strokewidth 22 -draw "roundrectangle 90,58 166,160 38,38" \
  -stroke none -fill white -draw "roundrectangle 62,114 194,206 14,14" \
  -fill "$slate" -draw "circle 128,150 128,136" -draw "rectangle 121,152 135,184" \
  "$tmp/lock256.png"
icon "$tmp/lock256.png" "$out/blocker.ico" 16 20 24 32 40 48 64
$IM "$out/logo.bmp" "$out/button_password.bmp" "$out/button_compile.bmp" "$out/icon50.bmp" +append /tmp/qx-assets-sheet.png
echo "assets written to $out"
