#!/usr/bin/env bash
# A diary locked through the windows of the real program (Xvfb, openbox,
# xdotool): a diary of three pages, a fourth written in the window (which
# leaves a plain backup of the three), then ツール › 日記に鍵をかける, the
# recovery code typed back as its window asks (read over AT-SPI), the backup
# replaced. After 終了 no page's text, in CP932 or UTF-8, is anywhere in the
# computer's folders (diary, journal, backups, settings, state, caches,
# temporary files), while a reader of this test's own opens every page with
# the password. Started again, a wrong password is refused, the right one
# opens the diary, and the search finds a page in the middle of it.
set -euo pipefail

skip() { echo "SKIP: $*; no diary was locked"; exit 77; }
for tool in Xvfb openbox xdotool xprop xwininfo import dbus-run-session dbus-update-activation-environment; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (tools/packages.sh installs it)"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed (tools/packages.sh installs it)"
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2> /dev/null || skip "python3-pyatspi is not installed (tools/packages.sh installs it)"
"$python" -c 'import nacl.pwhash' 2> /dev/null || skip "python3-nacl is not installed (tools/packages.sh installs it)"
# A session bus of our own: the recovery code is read over its accessibility bus.
if [ -z "${SORAFUMI_A11Y_BUS:-}" ]; then
    SORAFUMI_A11Y_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
pages_tool="$here/../sync/diary_pages.py"
shots=$PWD

work=$(mktemp -d)
# Everything the program may write to goes under $computer, and is searched.
computer="$work/computer"
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap finish EXIT
step="start"
# Also called inside $(...): it says everything on stderr.
fail() {
    local shot="$shots/locked_diary-failed.png"
    {
        import -window root "$shot" 2> /dev/null && echo "screen: $shot"
        echo "FAIL: $step: $*"
        echo "--- the diary's folder:"; ls -la "$computer/diary" 2> /dev/null || true
        echo "--- the program:"; tail -20 "$work/program.log" 2> /dev/null || true
    } >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export HOME="$computer/home" XDG_CONFIG_HOME="$computer/config" XDG_DATA_HOME="$computer/share"
export XDG_STATE_HOME="$computer/state" XDG_CACHE_HOME="$computer/cache" XDG_RUNTIME_DIR="$computer/runtime"
export TMPDIR="$computer/tmp"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/日記帳Sorafumi" "$TMPDIR" "$computer/diary"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-update-activation-environment HOME XDG_CACHE_HOME XDG_RUNTIME_DIR DISPLAY
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
openbox --sm-disable > "$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.05; done

# ASCII: xdotool types other characters by remapping keys, which races with the program.
password="correct horse battery staple 7"
export DIARY_PASSWORD=$password
seeded=("2026-11-01:青い鳥の羽根を拾った blue-feather" "2026-11-02:引き出しの奥の手紙 hidden-drawer"
    "2026-11-03:三日目は一日じゅう雨だった third-rain")
typed="typed through the window violet-ink"
bodies=("${seeded[@]#*:}" "$typed")
"$python" "$pages_tool" write "$computer/diary/DIARY.DAT" "${seeded[@]}"
ini="$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserName=Owner\nUserPWS=\nLoginOnOff=0\nUserDataFile=%s\n' \
    "$computer/diary/DIARY.DAT" > "$ini"

program_pid=
start_program() {
    "$program" >> "$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
}
# The program's visible window of that title (a pattern), waited for up to 30 s.
window_titled() { # pattern
    local found
    for _ in $(seq 300); do
        found=$(xdotool search --all --onlyvisible --pid "$program_pid" --name "$1" 2> /dev/null | head -1) || true
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    fail "no window titled $1"
}
activate() { # window
    for _ in $(seq 20); do
        xdotool windowactivate --sync "$1" 2> /dev/null || true
        sleep 0.3
        [ "$(xdotool getactivewindow 2> /dev/null)" = "$1" ] && return 0
    done
    fail "window $1 did not become the active one"
}
main_window() { window_titled '^日記帳Sorafumi'; }
# The titles of the program's visible windows but the main window.
dialogs() {
    local window
    for window in $(xdotool search --all --onlyvisible --pid "$program_pid" --name '.' 2> /dev/null); do
        xdotool getwindowname "$window" 2> /dev/null | grep -v '^日記帳Sorafumi' || true
    done
}
# Answers the program's message of that title with these keys.
answer() { # title-pattern keys...
    local message
    message=$(window_titled "$1")
    shift
    activate "$message"
    xdotool key "$@"
    for _ in $(seq 50); do
        xdotool getwindowname "$message" > /dev/null 2>&1 || return 0
        xwininfo -id "$message" 2> /dev/null | grep -q IsViewable || return 0
        sleep 0.1
    done
    fail "the message $(xdotool getwindowname "$message") did not close"
}
end_program() {
    activate "$(main_window)"
    xdotool key alt+f sleep 0.5 key e
    for _ in $(seq 200); do
        kill -0 "$program_pid" 2> /dev/null || { wait "$program_pid" || true; return 0; }
        sleep 0.1
    done
    fail "the program did not end at 終了 (still open: $(dialogs | tr '\n' ' '))"
}
# The files under the computer's folders holding any page text as bytes, in
# CP932 or in UTF-8.
files_with_text() { # body...
    "$python" -c 'import sys
with open(sys.argv[1], "wb") as out:
    for body in sys.argv[2:]:
        for word in body.split():
            if len(word.encode()) >= 8:
                out.write(word.encode("cp932") + b"\n" + word.encode() + b"\n")' "$work/patterns" "$@"
    LC_ALL=C grep -rlaF -D skip -f "$work/patterns" "$computer" || true
}
diary_bodies() { "$python" "$pages_tool" list "$1" | cut -f2 | sort; }
want_bodies() { printf '%s\n' "$@" | sort; }

# --- a plain diary with a backup ---------------------------------------------
step="writing a page in the plain diary"
start_program
main=$(main_window)
sleep 2
activate "$main"
xdotool key F4 sleep 0.7 type --delay 30 "$typed"
sleep 0.3
xdotool key F5
sleep 1
[ "$(diary_bodies "$computer/diary/DIARY.DAT")" = "$(want_bodies "${bodies[@]}")" ] ||
    fail "the plain diary holds [$(diary_bodies "$computer/diary/DIARY.DAT" | tr '\n' ' ')]"
# The search below must see the texts where they are plain: the diary and
# the backup taken before the day's first write.
plain=$(files_with_text "${bodies[@]}")
grep -q '/diary/DIARY.DAT$' <<< "$plain" || fail "the search for page text does not see the plain diary"
grep -q '/backups/' <<< "$plain" || fail "no plain backup was taken before the write: [$plain]"

# --- the lock through the windows ---------------------------------------------
step="locking"
activate "$main"
xdotool key alt+t sleep 0.5 key l
activate "$(window_titled '^日記に鍵をかける$')"
xdotool type --delay 20 "$password"
xdotool key Tab
xdotool type --delay 20 "$password"
xdotool key Return
code_window=$(window_titled '^回復コード$')
group=$("$python" "$here/recovery_code.py" "$program_pid") || fail "the recovery code could not be read"
activate "$code_window"
xdotool type --delay 30 "$group"
xdotool key Return
# The plain backup is offered to be replaced: はい is the default.
step="replacing the plain backup"
answer '^確認$' Return
sleep 1
[ -z "$(dialogs)" ] || fail "a window was left open after the lock: $(dialogs | tr '\n' ' ')"
step="ending after the lock"
end_program

# --- nothing of a page is left in plain ---------------------------------------
step="after the lock"
[ -f "$computer/diary/DIARY.sfk" ] || fail "no DIARY.sfk"
[ ! -e "$computer/diary/DIARY.DAT" ] || fail "the plain diary is still there"
grep -q "^UserDataFile=$computer/diary/DIARY.sfk\$" "$ini" || fail "the settings name another diary: $(grep UserDataFile "$ini")"
left=$(files_with_text "${bodies[@]}")
[ -z "$left" ] || fail "page text is left in plain in: $left"
[ "$(diary_bodies "$computer/diary/DIARY.sfk")" = "$(want_bodies "${bodies[@]}")" ] ||
    fail "the locked diary opens to [$(diary_bodies "$computer/diary/DIARY.sfk" | tr '\n' ' ')]"
for backup in "$XDG_DATA_HOME"/日記帳Sorafumi/backups/*; do
    [ "$(diary_bodies "$backup")" = "$(want_bodies "${seeded[@]#*:}")" ] || fail "the backup $backup does not open to the three first pages"
done
echo "PASS: the diary was locked through the windows, and no page text is left in plain in the computer's folders"

# --- started again: the password, then a search --------------------------------
step="unlocking"
start_program
unlock=$(window_titled '^所有者確認$')
activate "$unlock"
xdotool type --delay 20 "not the password"
xdotool key Return
# A wrong password says so and leaves the window to try again.
answer '^確認$' Return
activate "$unlock"
xdotool key ctrl+a type --delay 20 "$password"
xdotool key Return
main=$(main_window)
sleep 2
step="searching"
activate "$main"
xdotool key ctrl+f
activate "$(window_titled '^検索$')"
xdotool type --delay 30 "hidden-drawer"
xdotool key Return sleep 1 key Escape
# The page found is the one shown: a word added at its end lands on it.
activate "$main"
xdotool key ctrl+End type --delay 30 " found-by-search"
xdotool key F5
sleep 1
end_program
found=$(diary_bodies "$computer/diary/DIARY.sfk" | grep -F "hidden-drawer" || true)
[ "$found" = "${seeded[1]#*:} found-by-search" ] || fail "the search did not show the page: the diary holds [$(diary_bodies "$computer/diary/DIARY.sfk" | tr '\n' ' ')]"
left=$(files_with_text "${bodies[@]}" "found-by-search")
[ -z "$left" ] || fail "page text is left in plain in: $left"
echo "PASS: started again, a wrong password was refused, the right one opened the diary, and the search found a page"
