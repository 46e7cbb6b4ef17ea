#!/usr/bin/env bash
# Makes the README's pictures from the real program under Xvfb: the first
# start, the main window, the search window and the properties dialog.
# Needs xvfb, xdotool and imagemagick; writes docs/*.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program="$top/build/sorafumi"
out="$top/docs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/config/日記帳Sorafumi"

shoot() { # name width height
    sleep 2
    import -window root -crop "$2x$3+0+0" "$out/$1.png"
}

# The first start: the question before anything else.
XDG_CONFIG_HOME="$work/first" XDG_DATA_HOME="$work/share" xvfb-run -a -s '-screen 0 800x600x24' bash -c "
    '$program' & sleep 4
    $(declare -f shoot); out='$out'; shoot first-start 800 600
    kill %1" || true
# Only the question, without the empty screen around it.
convert "$out/first-start.png" -trim +repage "$out/first-start.png"

# A diary of a few pages for the other pictures.
diary="$work/DIARY.DAT"
: > "$diary"
cat > "$work/config/日記帳Sorafumi/日記帳Sorafumi.ini" <<INI
[User]
UserName=空野太郎
LoginOnOff=0
UserDataFile=$diary
[Options]
Show%20Tips%20at%20Startup=0
INI
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" xvfb-run -a -s '-screen 0 800x600x24' bash -c "
    $(declare -f shoot); out='$out'
    '$program' & sleep 4
    xdotool mousemove 200 300 click 1 type --delay 30 'きょうは晴れ。朝から散歩に出た。'
    xdotool key F5
    shoot main-window 540 460
    xdotool key ctrl+f; sleep 1
    xdotool type --delay 30 '散歩'; xdotool key Return
    shoot search 800 600
    xdotool key Escape; xdotool mousemove 338 42 click 1
    shoot properties 800 600
    kill %1" || true
ls -la "$out"
