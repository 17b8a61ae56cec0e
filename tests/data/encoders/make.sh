#!/bin/sh
# Makes the bitmap files of real encoders that the loader's tests read, and what those encoders'
# own readers give back for them (PPM, top row first). Needs netpbm and ImageMagick 6.
#   ppm-*.bmp   netpbm's ppmtobmp: 40-byte (-windows) and 12-byte (-os2) headers, 1/4/8/24 bits
#   im-*.bmp    ImageMagick's BMP3 writer: 24 bits, 8 bits, 8 bits with RLE, 4 bits
set -e
cd "$(dirname "$0")"
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 37 x 23: every row needs padding at every depth. Flat shapes for the run-length codes, a
# gradient and noise for the literal ones.
$im -size 37x23 gradient:'#2060c0'-'#f0d020' \
    -fill '#c02040' -draw 'circle 12,11 12,3' -fill white -draw 'rectangle 24,2 34,9' \
    -fill black -draw 'line 0,22 36,14' \
    \( -size 37x6 -seed 5 plasma:fractal \) -geometry +0+17 -composite \
    -depth 8 "$tmp/src.ppm"
pnmquant 2 "$tmp/src.ppm" > "$tmp/c2.ppm" 2>/dev/null
pnmquant 16 "$tmp/src.ppm" > "$tmp/c16.ppm" 2>/dev/null
pnmquant 200 "$tmp/src.ppm" > "$tmp/c200.ppm" 2>/dev/null

for header in windows os2; do
    ppmtobmp -$header -bpp=1 "$tmp/c2.ppm" > ppm-$header-1.bmp 2>/dev/null
    ppmtobmp -$header -bpp=4 "$tmp/c16.ppm" > ppm-$header-4.bmp 2>/dev/null
    ppmtobmp -$header -bpp=8 "$tmp/c200.ppm" > ppm-$header-8.bmp 2>/dev/null
    ppmtobmp -$header -bpp=24 "$tmp/src.ppm" > ppm-$header-24.bmp 2>/dev/null
done
for f in ppm-*.bmp; do bmptopnm "$f" 2>/dev/null | ppmtoppm > "${f%.bmp}.ppm"; done

$im "$tmp/src.ppm" -type TrueColor BMP3:im-24.bmp
$im "$tmp/c200.ppm" -type Palette -compress None BMP3:im-8.bmp
$im "$tmp/c200.ppm" -type Palette -compress RLE BMP3:im-8-rle.bmp
$im "$tmp/c16.ppm" -type Palette BMP3:im-4.bmp
for f in im-*.bmp; do $im "$f" -depth 8 PPM:"${f%.bmp}.ppm"; done
