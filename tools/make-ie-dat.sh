#!/usr/bin/env bash
# Makes data/ie.dat, the little animation at the right end of the browser
# window's toolbar: a white cloud drifting across a pale sky while a small
# star twinkles above it. 40 x 40 pixels, 16 frames, looping forever.
# The file is an animated GIF; the program reads it by its content, so the
# name need not end in .gif. Needs ImageMagick; the result is committed.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly SIZE=40
readonly FRAMES=16
readonly DELAY=12          # hundredths of a second per frame

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The cloud's shapes, drawn around the origin; "translate" moves them.
cloud_shapes() {
    echo "circle 9,26 9,31"
    echo "circle 16,21 16,28"
    echo "circle 24,23 24,29"
    echo "circle 30,27 30,31"
    echo "roundrectangle 5,25 34,32 4,4"
}

# One cloud at horizontal offset $1: a soft shadow, an outline, the white body.
cloud_mvg() {
    local dx=$1
    echo "push graphic-context"
    echo "translate $dx,1"
    echo "fill #c9dbee stroke none"
    cloud_shapes
    echo "pop graphic-context"
    echo "push graphic-context"
    echo "translate $dx,0"
    echo "fill #a9c3df stroke #a9c3df stroke-width 2"
    cloud_shapes
    echo "fill #ffffff stroke none"
    cloud_shapes
    echo "pop graphic-context"
}

# A four-pointed star at ($1,$2) with arm length $3 and waist $4.
star_mvg() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" 'BEGIN {
        printf "fill #ffd75e stroke #e8a900 stroke-width 0.8 polygon"
        printf " %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f", cx, cy - r, cx + w, cy - w, cx + r, cy, cx + w, cy + w
        printf " %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", cx, cy + r, cx - w, cy + w, cx - r, cy, cx - w, cy - w
    }'
}

for ((i = 0; i < FRAMES; i++)); do
    # The cloud moves one full width per loop, so the last frame meets the first.
    dx=$(awk -v i="$i" -v n="$FRAMES" -v s="$SIZE" 'BEGIN { printf "%.2f", i * s / n }')
    dx_wrapped=$(awk -v d="$dx" -v s="$SIZE" 'BEGIN { printf "%.2f", d - s }')
    # The star grows and shrinks once per loop.
    arm=$(awk -v i="$i" -v n="$FRAMES" 'BEGIN { printf "%.2f", 4.5 + 2.0 * sin(6.2831853 * i / n) }')
    waist=$(awk -v a="$arm" 'BEGIN { printf "%.2f", a * 0.28 }')
    mvg=$(
        star_mvg 31 9 "$arm" "$waist"
        cloud_mvg "$dx"
        cloud_mvg "$dx_wrapped"
    )
    convert -size "${SIZE}x${SIZE}" gradient:'#bcd8f2-#f4f9fe' \
        -draw "$mvg" "$work/frame-$(printf '%02d' "$i").png"
done

mkdir -p data
convert -delay "$DELAY" -loop 0 "$work"/frame-*.png +dither +remap data/ie.dat.tmp.gif
mv data/ie.dat.tmp.gif data/ie.dat
