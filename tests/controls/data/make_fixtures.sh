#!/usr/bin/env bash
# Regenerates the test pictures (ImageMagick). Their colours are what the tests compare with.
set -euo pipefail
cd "$(dirname "$0")"

# 12 x 13 like the launcher's glyphs: green, a red origin marker, a magenta see-through block.
convert -size 12x13 'xc:rgb(0,160,0)' \
    -fill 'rgb(255,0,0)' -draw 'point 0,0' \
    -fill 'rgb(255,0,255)' -draw 'rectangle 4,5 7,7' \
    -type TrueColor BMP3:glyph.bmp

# 40 x 20 opaque face: four bands whose channels cover the brightening's range and its limit,
# and a last column and row in a colour found nowhere else.
convert -size 40x20 'xc:rgb(0,100,200)' \
    -fill 'rgb(250,50,150)' -draw 'rectangle 10,0 19,19' \
    -fill 'rgb(30,160,90)' -draw 'rectangle 20,0 29,19' \
    -fill 'rgb(200,200,0)' -draw 'rectangle 30,0 39,19' \
    -fill 'rgb(10,220,30)' -draw 'rectangle 39,0 39,19' -draw 'rectangle 0,19 39,19' \
    -define png:color-type=2 PNG24:face.png

# A hand-ish arrow for the stand-in help program's cursor.
convert -size 32x32 xc:none -fill black -stroke white \
    -draw 'polygon 2,2 2,26 9,19 14,29 18,27 13,17 22,17' hand.cur
# ImageMagick writes an icon header; make it a cursor (type 2, hot spot 2,2 instead of the
# planes and bit count fields).
printf '\x02\x00' | dd of=hand.cur bs=1 seek=2 conv=notrunc status=none
printf '\x02\x00\x02\x00' | dd of=hand.cur bs=1 seek=10 conv=notrunc status=none
