#!/usr/bin/env bash
# A run under Wayland cannot know where its window is: it keeps the place the
# last X11 run stored, for the next X11 start, and saves the size. The real
# program under a real compositor (weston, headless), ended as a logout ends it.
set -euo pipefail

command -v weston > /dev/null || { echo "SKIP: weston is not installed (tools/packages.sh installs it)"; exit 77; }
dpkg-query -W -f='${Status}' qt6-wayland 2> /dev/null | grep -q 'install ok installed' ||
    { echo "SKIP: qt6-wayland is not installed (tools/packages.sh installs it); Qt cannot reach weston"; exit 77; }
program=$(realpath "$1")

work=$(mktemp -d)
weston="" pid=""
trap 'kill -9 $pid $weston 2> /dev/null || true; wait || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    echo "settings file:"; cat "$ini" 2> /dev/null || true
    echo "program:"; cat "$work/run.log" 2> /dev/null || true
    exit 1
}

export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY="sorafumi-test-$$"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --width=1280 --height=1024 \
    > "$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { cat "$work/weston.log"; echo "FAIL: weston did not start"; exit 1; }

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=wayland LANG=C.UTF-8
unset DISPLAY
mkdir -p "$HOME"
# A registered owner without login, the place an X11 run left and no size.
ini="$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini"
mkdir -p "$(dirname "$ini")"
: > "$work/DIARY.DAT"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[Settings]\nMainLeft=3000\nMainTop=1500\n[User]\nUserName=Owner\nLoginOnOff=0\nUserDataFile=%s\n' \
    "$work/DIARY.DAT" > "$ini"

"$program" > "$work/run.log" 2>&1 &
pid=$!
# The copy that holds the diary listens for later copies just before its window shows.
for _ in $(seq 200); do compgen -G "$XDG_RUNTIME_DIR/*sorafumi*" > /dev/null && break; sleep 0.1; done
sleep 2
kill -0 "$pid" 2> /dev/null || fail "the program ended before it was asked to"
kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && fail "the program did not end at SIGTERM"
wait "$pid" || fail "the program ended with $? at SIGTERM"

setting() { sed -n "s/^$1=//p" "$ini"; }
[ "$(setting MainLeft) $(setting MainTop)" = "3000 1500" ] ||
    fail "the place the X11 run stored became $(setting MainLeft) $(setting MainTop)"
# The default size, 520 by 433 pixels.
[ "$(setting MainWidth) $(setting MainHeight)" = "7800 6495" ] ||
    fail "the window's size was saved as '$(setting MainWidth) $(setting MainHeight)', not 7800 6495"
echo "the Wayland run kept the place 3000 1500 and saved the size 7800 6495"
