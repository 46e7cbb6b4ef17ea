#!/usr/bin/env bash
# What a screen reader finds in every window of the real program: a display of
# its own (Xvfb with openbox), a private session bus with the accessibility bus
# on it, a new user's profile, and walk_windows.py going through the windows
# as a keyboard user does. Skipped where a piece of that cannot be had.
set -euo pipefail

skip() { echo "SKIP: $*; no window was walked"; exit 77; }
for tool in Xvfb openbox xdotool xprop dbus-run-session; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (tools/packages.sh installs it)"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed (tools/packages.sh installs it)"
# The distribution's python, whose packages hold pyatspi.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2> /dev/null || skip "python3-pyatspi is not installed (tools/packages.sh installs it)"

# A session bus of our own, so that nothing on the machine's bus answers.
if [ -z "${SORAFUMI_A11Y_BUS:-}" ]; then
    SORAFUMI_A11Y_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap finish EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_STATE_HOME="$work/state"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The accessibility bus, started by the session bus on first use, puts its
# socket in the user's folders: ours keep a run beside another apart.
dbus-update-activation-environment HOME XDG_CACHE_HOME XDG_RUNTIME_DIR DISPLAY
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
# Qt speaks to the accessibility bus without a desktop switching it on.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
mkdir -p "$HOME"
openbox --sm-disable > "$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.05; done

# A new user: no owner yet, so the first start shows the registration and the
# login; the diary named and empty, the tip not shown at start.
ini="$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini"
mkdir -p "$(dirname "$ini")"
: > "$work/DIARY.DAT"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserDataFile=%s\n' "$work/DIARY.DAT" > "$ini"

cd "$work"
"$python" "$here/walk_windows.py" "$program"
