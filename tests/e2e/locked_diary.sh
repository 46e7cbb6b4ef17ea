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
here=$(dirname "$(realpath "$0")")
# shellcheck source=desktop.sh
. "$here/desktop.sh"

skip() { echo "SKIP: $*; no diary was locked"; exit 77; }
python=/usr/bin/python3
need_desktop
# A session bus of our own: the recovery code is read over its accessibility bus.
own_session_bus "$@"
program=$(realpath "$1")
shots=$PWD

work=$(mktemp -d)
# Everything the program may write to goes under $computer, and is searched.
computer="$work/computer"
pids=()
trap end_desktop EXIT
step="start"
fault_folders() { echo "--- the diary's folder:"; ls -la "$computer/diary" 2> /dev/null || true; }
main_title='^日記帳Sorafumi'
start_desktop

# ASCII: xdotool types other characters by remapping keys, which races with the program.
password="correct horse battery staple 7"
export DIARY_PASSWORD=$password
seeded=("2026-11-01:青い鳥の羽根を拾った blue-feather" "2026-11-02:引き出しの奥の手紙 hidden-drawer"
    "2026-11-03:三日目は一日じゅう雨だった third-rain")
typed="typed through the window violet-ink"
bodies=("${seeded[@]#*:}" "$typed")
diary_pages write "$computer/diary/DIARY.DAT" "${seeded[@]}"
write_settings "$computer/diary/DIARY.DAT"
ini=$(settings_ini)

diary_bodies() { page_bodies "$1" | sort; }
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
lock_diary "$password"
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
