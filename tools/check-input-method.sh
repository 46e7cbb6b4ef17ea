#!/usr/bin/env bash
# Types Japanese through a real input method (mozc, under ibus or fcitx5) into
# the real program under Xvfb and reads what reached the diary file:
#  - every entry box, converted and committed, then saved with F5: each box
#    holds exactly what was typed once;
#  - text left unconverted at the end of a page's body when 新規, 前日 or 後日
#    is clicked on the toolbar, then Return: the text is stored with the page
#    it was typed on and never starts the next one.
# With ibus it also takes docs/input-method.png, the inline preedit with its
# candidate list.
#
#   tools/check-input-method.sh [ibus|fcitx5] [program]
#
# Exits 77 where it cannot run (no Xvfb, no input method, no user of its own).
# Mozc does not run as root, so as root the check runs as a throwaway user of
# its own. Every server it starts is stopped when it ends, however it ends.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
framework=${1:-ibus}
program=$(realpath "${2:-$top/build/sorafumi}")
case $framework in
    ibus) packages=(ibus ibus-mozc) ;;
    fcitx5) packages=(fcitx5 fcitx5-mozc fcitx5-frontend-qt6) ;;
    *) echo "usage: tools/check-input-method.sh [ibus|fcitx5] [program]" >&2; exit 2 ;;
esac
packages+=(xvfb xdotool dbus-daemon python3)

skip() {
    echo "SKIP: $*; the input method was not tried"
    exit 77
}

# Every process started for one run carries its mark, which the servers pass
# on to what they start themselves (mozc_server): at the end they are found
# by it, and only they are stopped.
stop_marked() { # mark
    local round pid pids
    for round in 1 2 3; do
        pids=()
        for pid in /proc/[0-9]*; do
            pid=${pid#/proc/}
            [ "$pid" = $$ ] && continue
            grep -qzxF "SORAFUMI_IM_RUN=$1" "/proc/$pid/environ" 2> /dev/null && pids+=("$pid")
        done
        [ ${#pids[@]} -eq 0 ] && return
        [ "$round" = 3 ] && { kill -KILL "${pids[@]}" 2> /dev/null || true; return; }
        kill "${pids[@]}" 2> /dev/null || true
        sleep 1
    done
}

# An interrupted run still ends through its exit trap, which stops them.
trap 'exit 130' INT
trap 'exit 143' TERM

# --- as root: the same check as a user of its own ---------------------------
if [ -z "${SORAFUMI_IM_WORK:-}" ]; then
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed' ||
            skip "$package is not installed (tools/packages.sh $package installs it)"
    done
fi
if [ "$(id -u)" -eq 0 ] && [ -z "${SORAFUMI_IM_WORK:-}" ]; then
    if ! command -v useradd > /dev/null || ! command -v runuser > /dev/null; then
        skip "no useradd or runuser"
    fi
    [ -x "$program" ] || { echo "build the program first (./test.sh)" >&2; exit 2; }
    id sorafumi-im > /dev/null 2>&1 || useradd --create-home sorafumi-im || skip "the user sorafumi-im cannot be made"
    work=$(mktemp -d)
    mark="sorafumi-im-$$-$RANDOM"
    trap 'stop_marked "$mark"; rm -rf "$work"' EXIT
    # The user may not reach the build's folder, nor the checkout: the
    # program, the data files it reads from its own folder and this script go
    # with it, and it runs from there.
    mkdir "$work/program"
    cp "$program" "$top"/data/* "$work/program/"
    cp "$0" "$work/check-input-method.sh"
    chown -R sorafumi-im "$work"
    chmod 755 "$work"
    status=0
    cd "$work"
    runuser -u sorafumi-im -- env SORAFUMI_IM_WORK="$work" SORAFUMI_IM_MARK="$mark" HOME=/home/sorafumi-im \
        PATH="$PATH" bash "$work/check-input-method.sh" "$framework" "$work/program/sorafumi" &
    wait $! || status=$?
    if [ "$framework" = ibus ] && [ -f "$work/input-method.png" ]; then
        cp "$work/input-method.png" "$top/docs/input-method.png"
    fi
    exit "$status"
fi

# --- the session: one display, one bus, one input method, the program ------
# Each place is where it lies in the main window, which the bare display puts
# at the screen's top left: the boxes (date, time, weekday, weather,
# signature, body; the expense), and 新規, 前日 and 後日 on the toolbar.
BOXES=("100 101" "252 101" "100 129" "243 129" "252 157" "250 300")
EXPENSE="100 157"
BODY="250 300"
NEW_BUTTON="65 45"
PREVIOUS_BUTTON="261 45"
NEXT_BUTTON="296 45"

# Waits up to a number of tenths of a second for a command to succeed.
wait_for() { # tenths command...
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" > /dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "gave up waiting for: $*" >&2
    return 1
}

start_display() {
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    wait_for 100 test -s "$work/display"
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" > /dev/null 2>&1 &
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
    wait_for 100 test -S "$work/bus"
}

start_ibus() {
    export GTK_IM_MODULE=ibus QT_IM_MODULE=ibus XMODIFIERS=@im=ibus
    ibus-daemon --replace --panel=disable --xim > "$work/ibus.log" 2>&1 &
    wait_for 100 ibus list-engine
}

# Mozc under ibus starts switched off: the key left of 1 switches it to
# hiragana. Its server may still be starting, so the key is pressed until the
# input method takes it (the program logs each key the input method handled).
switch_on_ibus() {
    # A new user's engine list is built on the daemon's first start.
    wait_for 300 take_mozc_ibus || return 1
    for _ in $(seq 15); do
        xdotool key Zenkaku_Hankaku
        sleep 1
        grep -q 'filterEventFinished return [0-9]* 65322 0 true' "$work/session.log" && return
    done
    echo "gave up waiting for mozc to take Zenkaku_Hankaku" >&2
    return 1
}

# `ibus engine NAME` fails after taking an engine that keeps the default
# keyboard layout, as mozc does (it has no layout to set): whether mozc was
# taken is asked afterwards.
take_mozc_ibus() {
    ibus engine mozc-jp || :
    [ "$(ibus engine)" = mozc-jp ]
}

start_fcitx5() {
    export GTK_IM_MODULE=fcitx QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
    fcitx5 --disable=wayland > "$work/fcitx5.log" 2>&1 &
    wait_for 100 fcitx5-remote
}

# Switched on for the focused window once it has an input context: the
# state the remote reports then is 2, active.
switch_on_fcitx5() {
    for _ in $(seq 30); do
        fcitx5-remote -s mozc
        fcitx5-remote -o
        [ "$(fcitx5-remote)" = 2 ] && return
        sleep 0.5
    done
    return 1
}

click() { # place
    # shellcheck disable=SC2086
    xdotool mousemove $1 click 1
}

# Typed into each box, converted and committed; then the expense, and F5.
fill_every_box() {
    for place in "${BOXES[@]}"; do
        click "$place"
        xdotool key ctrl+a
        xdotool type --delay 60 nihongo
        sleep 1
        if [ "$framework" = ibus ] && [ "$place" = "$BODY" ] && command -v import > /dev/null; then
            import -window root -crop 520x440+0+0 "$work/input-method.png"
        fi
        xdotool key space
        sleep 0.5
        xdotool key Return
        sleep 0.5
    done
    click "$EXPENSE"
    xdotool key ctrl+a
    xdotool type --delay 60 1234
    xdotool key Return
    sleep 0.5
    xdotool key F5
    sleep 1
}

# Text left unconverted at the end of a page's body as a toolbar button
# shows another page: くもり on page 1 as 新規 adds page 2, あめ on page 2 as
# 前日 goes back, ゆき on page 1 as 後日 goes on. Return after each commits
# whatever the input method still holds. (Mozc takes F2 and F3 for itself
# while it converts: the keys never change the page then.)
type_and_leave() { # romaji button
    xdotool key ctrl+End
    xdotool type --delay 60 "$1"
    sleep 1
    click "$2"
    sleep 1
    xdotool key Return
    sleep 0.5
}

change_pages_while_converting() {
    click "$BODY"
    type_and_leave kumori "$NEW_BUTTON"
    type_and_leave ame "$PREVIOUS_BUTTON"
    type_and_leave yuki "$NEXT_BUTTON"
    xdotool key F5
    sleep 1
}

session() {
    start_display
    "start_$framework"
    QT_LOGGING_RULES="qt.qpa.input.methods.debug=true" "$program" &
    wait_for 200 xdotool search --onlyvisible --name '日記帳'
    timeout 10 xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '日記帳' | head -1)"
    "switch_on_$framework"
    fill_every_box
    change_pages_while_converting
}

if [ "${SORAFUMI_IM_RUN:-}" ]; then
    work=$SORAFUMI_IM_WORK
    session
    exit
fi
[ -x "$program" ] || { echo "build the program first (./test.sh)" >&2; exit 2; }
work=${SORAFUMI_IM_WORK:-}
own=""
[ "$work" ] || { work=$(mktemp -d); own=$work; }
mark=${SORAFUMI_IM_MARK:-sorafumi-im-$$-$RANDOM}
trap 'stop_marked "$mark"; [ -z "$own" ] || rm -rf "$own"' EXIT

# An owner without a login, an empty diary, and mozc as fcitx5's second input
# method after the plain keyboard.
mkdir -p "$work/config/日記帳Sorafumi" "$work/config/fcitx5"
: > "$work/DIARY.DAT"
cat > "$work/config/日記帳Sorafumi/日記帳Sorafumi.ini" << INI
[User]
UserName=空野太郎
LoginOnOff=0
UserDataFile=$work/DIARY.DAT
[Options]
Show%20Tips%20at%20Startup=0
INI
cat > "$work/config/fcitx5/profile" << PROFILE
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
PROFILE

status=0
SORAFUMI_IM_RUN="$mark" SORAFUMI_IM_WORK="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" \
    XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 \
    timeout -k 5 90 bash "$0" "$framework" "$program" > "$work/session.log" 2>&1 &
# Waited for in the background, so that an interrupt stops it at once.
wait $! || status=$?
stop_marked "$mark"

echo "$framework with mozc:"
python3 - "$work/DIARY.DAT" << 'PY' || { echo "session ended with $status:"; tail -20 "$work/session.log"; exit 1; }
import sys
diary = open(sys.argv[1], 'rb').read()
fields = {'日付': (0, 15), '曜日': (15, 30), '出費': (30, 45), '署名': (45, 60), '時間': (60, 75), '天候': (75, 90),
          '日記の内容': (90, 10090)}
# Each box holds what was typed once; a body keeps the text left unconverted
# on it when the page changed. The line breaks Return added are not looked at.
expected = {(1, name): '日本語' for name in fields}
expected[1, '出費'] = '1234'
expected[1, '日記の内容'] = '日本語くもりゆき'
expected[2, '日記の内容'] = 'あめ'
failed = 0
for (page, name), wanted in expected.items():
    start, end = fields[name]
    record = diary[(page - 1) * 10090:page * 10090]
    text = record[start:end].decode('cp932', 'replace').strip(' \r\n\0')
    ok = text == wanted
    failed += not ok
    print(('ok  ' if ok else 'FAIL') + f' page {page} {name}: {text[:20]!r}' + ('' if ok else f', not {wanted!r}'))
sys.exit(1 if failed else 0)
PY
