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
for s in 16 32 48 50; do
  $IM "$tmp/icon256.png" -resize ${s}x${s} -background white -flatten -alpha off -type TrueColor "$tmp/icon$s.bmp"
done
$IM "$tmp/icon256.png" -resize 50x50 -background white -flatten -alpha off -type TrueColor "BMP3:$out/icon50.bmp"
$IM "$tmp/icon16.bmp" "$tmp/icon32.bmp" "$tmp/icon48.bmp" "$tmp/icon50.bmp" "$tmp/icon256.png" "$out/quellanix.ico"
$IM "$out/logo.bmp" "$out/button_password.bmp" "$out/button_compile.bmp" "$out/icon50.bmp" +append /tmp/qx-assets-sheet.png
echo "assets written to $out"
