#!/usr/bin/env bash
# Draws the main window's icon "aaaa" (a small sheet with a header row and a picked cell) as aaaa.png and aaaa.ico.
# Run it after changing the drawing; both outputs are kept beside it so a build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"

edge='#34495e'
header='#1f7a8c'
labels='#e3edf2'
grid='#b8c7d1'
pick='#f39c12'

# Lines and cells are drawn without antialiasing so they land on whole pixels;
# only the sheet's rounded outline and its shadow are smoothed.
convert -size 48x48 xc:none \
    -fill 'rgba(0,0,0,0.22)' -draw 'roundrectangle 5,6 45,45 4,4' \
    -fill white -stroke "$edge" -strokewidth 2 -draw 'roundrectangle 3,4 43,43 4,4' \
    +antialias -stroke none \
    -fill "$header" -draw 'rectangle 6,5 40,12' -draw 'rectangle 4,7 42,12' \
    -draw 'point 5,6' -draw 'point 41,6' \
    -fill "$edge" -draw 'rectangle 4,13 42,13' \
    -fill "$labels" -draw 'rectangle 4,14 11,41' \
    -fill "$grid" \
    -draw 'rectangle 12,14 12,42' -draw 'rectangle 23,14 23,42' -draw 'rectangle 33,14 33,42' \
    -draw 'rectangle 4,21 42,21' -draw 'rectangle 4,28 42,28' -draw 'rectangle 4,35 42,35' \
    -fill white \
    -draw 'rectangle 15,9 20,10' -draw 'rectangle 26,9 30,10' -draw 'rectangle 36,9 39,10' \
    -fill "$edge" \
    -draw 'rectangle 6,17 9,18' -draw 'rectangle 6,24 9,25' -draw 'rectangle 6,31 9,32' -draw 'rectangle 6,38 9,39' \
    -fill "$pick" -draw 'rectangle 22,20 34,29' \
    -fill white -draw 'rectangle 24,22 32,27' \
    -fill "$pick" -draw 'rectangle 26,24 30,25' \
    -strip PNG32:aaaa.png

convert aaaa.png aaaa.ico
