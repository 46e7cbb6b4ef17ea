#!/usr/bin/env bash
# Makes data/BackMap.gif, the default background: soft clouds on a pale sky,
# seamless when tiled. Needs ImageMagick; the result is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 160x160 xc: -seed 11 +noise Random -channel G -separate +channel -virtual-pixel tile \
    \( +clone -blur 0x24 -auto-level \) \( -clone 0 -blur 0x8 -auto-level \) -delete 0 \
    -compose blend -define compose:args=85 -composite -auto-level \
    -set colorspace sRGB -type TrueColor +level-colors '#b4d0ec','#f6f9fd' -colors 64 data/BackMap.gif
