#!/usr/bin/env bash
# Types Japanese through a real input method (mozc, under ibus or fcitx5) into
# every entry box of the real program under Xvfb, converts, commits, saves
# with F5 and reads the page back from the diary file. With ibus it also takes
# docs/input-method.png, the inline preedit with its candidate list.
#
#   tools/check-input-method.sh [ibus|fcitx5]      default: ibus
#
# Mozc does not run as root, so as root the check runs as a throwaway user of
# its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program="$top/build/sorafumi"
framework=${1:-ibus}
case $framework in
    ibus) packages=(ibus ibus-mozc) ;;
    fcitx5) packages=(fcitx5 fcitx5-mozc fcitx5-frontend-qt6) ;;
    *) echo "usage: tools/check-input-method.sh [ibus|fcitx5]" >&2; exit 2 ;;
esac

if [ "$(id -u)" -eq 0 ] && [ -z "${SORAFUMI_IM_USER:-}" ]; then
    "$top/tools/packages.sh" "${packages[@]}" xdotool imagemagick dbus
    id sorafumi-im >/dev/null 2>&1 || useradd --create-home sorafumi-im
    work=$(mktemp -d)
    chown sorafumi-im "$work"
    chmod 755 "$work"
    runuser -u sorafumi-im -- env SORAFUMI_IM_USER=1 SORAFUMI_IM_WORK="$work" HOME=/home/sorafumi-im \
        bash "$0" "$framework" || status=$?
    if [ "$framework" = ibus ] && [ -f "$work/input-method.png" ]; then
        cp "$work/input-method.png" "$top/docs/input-method.png"
    fi
    rm -rf "$work"
    exit "${status:-0}"
fi
[ -x "$program" ] || { echo "build the program first (./test.sh)" >&2; exit 2; }
work=${SORAFUMI_IM_WORK:-$(mktemp -d)}

# An owner without a login, an empty diary, and mozc as fcitx5's second input
# method after the plain keyboard.
profile() {
    mkdir -p "$work/config/日記帳Sorafumi" "$work/config/fcitx5"
    : > "$work/DIARY.DAT"
    cat > "$work/config/日記帳Sorafumi/日記帳Sorafumi.ini" <<INI
[User]
UserName=空野太郎
LoginOnOff=0
UserDataFile=$work/DIARY.DAT
[Options]
Show%20Tips%20at%20Startup=0
INI
    cat > "$work/config/fcitx5/profile" <<PROFILE
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
}

start_ibus() {
    export GTK_IM_MODULE=ibus QT_IM_MODULE=ibus XMODIFIERS=@im=ibus
    ibus-daemon --daemonize --replace --panel=disable --xim
    sleep 3
}

# Mozc under ibus starts switched off: the key left of 1 switches it to
# hiragana. Its server may still be starting, so the key is pressed until the
# input method takes it (the program logs each key the input method handled).
switch_on_ibus() {
    # A new user's engine list is built on the daemon's first start.
    for _ in $(seq 20); do
        ibus engine mozc-jp 2>/dev/null && break
        sleep 1
    done
    sleep 1
    for _ in $(seq 15); do
        xdotool key Zenkaku_Hankaku
        sleep 1
        grep -q 'filterEventFinished return [0-9]* 65322 0 true' "$work/session.log" && break
    done
}

start_fcitx5() {
    export GTK_IM_MODULE=fcitx QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
    fcitx5 -d --disable=wayland
    sleep 3
}

# Switched on for the focused window once it has an input context: the
# state the remote reports then is 2, active.
switch_on_fcitx5() {
    for _ in $(seq 15); do
        sleep 1
        fcitx5-remote -s mozc
        fcitx5-remote -o
        [ "$(fcitx5-remote)" = 2 ] && break
    done
}

session() {
    "start_$framework"
    QT_LOGGING_RULES="qt.qpa.input.methods.debug=true" "$program" &
    sleep 5
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '日記帳' | head -1)"
    "switch_on_$framework"
    # Each box by its place in the window: date, time, weekday, weather,
    # signature, body; the expense takes digits.
    for place in "100 101" "252 101" "100 129" "243 129" "252 157" "250 300"; do
        xdotool mousemove $place click 1 key ctrl+a
        xdotool type --delay 60 nihongo
        sleep 1
        [ "$place" = "250 300" ] && import -window root -crop 520x440+0+0 "$work/input-method.png"
        xdotool key space
        sleep 0.5
        xdotool key Return
        sleep 0.5
    done
    xdotool mousemove 100 157 click 1 key ctrl+a
    xdotool type --delay 60 1234
    xdotool key Return
    sleep 0.5
    xdotool key F5
    sleep 2
    kill %1
}

if [ "${2:-}" = --session ]; then
    session
    exit
fi
profile
export SORAFUMI_IM_WORK="$work"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_CACHE_HOME="$work/cache" \
    xvfb-run -a -s '-screen 0 800x600x24' dbus-run-session -- bash "$0" "$framework" --session \
    >"$work/session.log" 2>&1 || true

echo "$framework with mozc:"
python3 - "$work/DIARY.DAT" <<'PY' || { tail -20 "$work/session.log"; exit 1; }
import sys
page = open(sys.argv[1], 'rb').read()[:10090]
fields = {'日付': (0, 15), '曜日': (15, 30), '出費': (30, 45), '署名': (45, 60), '時間': (60, 75), '天候': (75, 90),
          '日記の内容': (90, 10090)}
expected = {name: '日本語' for name in fields}
expected['出費'] = '1234'
failed = 0
for name, (start, end) in fields.items():
    text = page[start:end].decode('cp932', 'replace').strip()
    ok = text.startswith(expected[name])
    failed += not ok
    print(('ok  ' if ok else 'FAIL') + f' {name}: {text[:20]!r}')
sys.exit(1 if failed else 0)
PY
