#!/usr/bin/env bash
# Makes the pictures built into the program (src/ui/images): the about
# box's default picture, icon and background, the tip window's light bulb and
# the web-panel notice's globe. Needs ImageMagick and fonts-noto-cjk; the
# results are committed.
set -euo pipefail
cd "$(dirname "$0")/../src/ui/images"
convert -size 150x150 gradient:'#9cc4ea'-'#f4f8fd' -font Noto-Sans-CJK-JP-Bold -pointsize 64 -fill white \
    -stroke '#5b8fc7' -strokewidth 2 -gravity center -annotate +0-8 '空' -font Noto-Sans-CJK-JP -pointsize 18 \
    -stroke none -fill '#3d6a9c' -annotate +0+52 'Sorafumi' user.png
convert -size 32x32 xc:none -fill '#ffd84a' -stroke '#c9a000' -draw 'circle 16,12 16,3' -fill '#b0b0b0' \
    -stroke '#707070' -draw 'rectangle 12,21 20,28' -stroke '#707070' -draw 'line 12,24 20,24' bulb.png
convert -size 48x48 xc:none -fill '#5b8fc7' -draw 'roundrectangle 2,6 45,41 6,6' -fill white \
    -draw 'polygon 6,12 24,26 42,12' -font Noto-Sans-CJK-JP-Bold -pointsize 14 -fill '#ffd84a' -gravity southeast \
    -annotate +4+2 '日' icon.png
convert -size 64x64 xc:none -fill '#dfeaf5' -stroke '#5b8fc7' -strokewidth 2 -draw 'circle 32,32 32,4' -fill none \
    -draw 'ellipse 32,32 12,28 0,360' -draw 'line 4,32 60,32' -draw 'line 32,4 32,60' \
    -draw 'ellipse 32,32 28,10 0,360' globe.png
convert -size 482x248 gradient:'#ffffff'-'#eaf2fb' back.png
