#!/usr/bin/env bash
# One diary on two computers kept together by Syncthing: two real Syncthing
# instances on the loopback share one folder, and two copies of the real
# program, each with a home of its own, keep the diary in their own copy of
# that folder (under one Xvfb with openbox). A page written and stored on one
# computer reaches the other without a restart, and the other's next store
# keeps it. Pages both add while apart (on different days: the two computers
# live in time zones 26 hours apart) come together without a question; one
# page both rewrite while apart is asked about, and 両方残す keeps both. A
# then locks the diary: the encrypted diary reaches B, opens there with the
# same password, and pages still go both ways.
set -euo pipefail

for tool in syncthing Xvfb openbox xdotool curl jq python3; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed (tools/packages.sh installs it); the diary was not synced between two computers"
        exit 77
    fi
done
# The distribution's python, whose packages hold python3-nacl.
python=/usr/bin/python3
if ! "$python" -c 'import nacl.pwhash' 2> /dev/null; then
    echo "SKIP: python3-nacl is not installed (tools/packages.sh installs it); the diary was not synced between two computers"
    exit 77
fi
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
pages_tool="$here/diary_pages.py"

work=$(mktemp -d)
ST_BASE="$work"
pids=()
finish() {
    local pid
    declare -F st_stop > /dev/null && st_stop
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap finish EXIT
step="start"
fail() {
    echo "FAIL: $step: $*"
    for side in A B; do
        echo "--- $side's diary:"; "$python" "$pages_tool" list "$work/$side/diary/${diary[$side]}" 2> /dev/null || true
        echo "--- $side's folder:"; ls -la "$work/$side/diary" 2> /dev/null || true
        echo "--- $side's program:"; tail -20 "$work/$side/program.log" 2> /dev/null || true
    done
    echo "--- what was asked:"; cat "$work/answers.log" 2> /dev/null || true
    exit 1
}

source "$here/syncthing_pair.sh"

# --- the display ---------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb LANG=C.UTF-8
openbox --sm-disable > "$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.05; done

# --- the two computers ---------------------------------------------------
# The diary starts on A with one page, and Syncthing brings it to B.
mkdir -p "$work/seed"
"$python" "$pages_tool" write "$work/seed/DIARY.DAT" "2026-12-01:first day"
ST_SEED_A="$work/seed/DIARY.DAT"
st_start > /dev/null || fail "the two Syncthing instances did not come up in sync"
[ -s "$work/B/diary/DIARY.DAT" ] || fail "the diary did not reach B"

declare -A program_pid
# The diary each side's settings name; the reader opens an encrypted one with
# DIARY_PASSWORD.
declare -A diary=([A]=DIARY.DAT [B]=DIARY.DAT)
declare -A zone=([A]=Etc/GMT-14 [B]=Etc/GMT+12)
start_program() { # side
    local side=$1 root="$work/$1"
    mkdir -p "$root/home" "$root/config/日記帳Sorafumi"
    printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserName=%s\nUserPWS=\nLoginOnOff=0\nUserDataFile=%s\n' \
        "$side" "$root/diary/${diary[$side]}" > "$root/config/日記帳Sorafumi/日記帳Sorafumi.ini"
    HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/share" XDG_STATE_HOME="$root/state" \
        TZ="${zone[$side]}" "$program" > "$root/program.log" 2>&1 &
    pids+=($!)
    program_pid[$side]=$!
    if [[ ${diary[$side]} == *.sfk ]]; then
        # The password is asked before the main window shows.
        window_titled "$side" '^所有者確認$' > /dev/null || fail "$side did not ask the diary's password"
        xdotool type --delay 20 "$DIARY_PASSWORD"
        xdotool key Return
    fi
    main_window "$side" > /dev/null || fail "$side's main window did not show"
    # The window shows before the diary is read into it.
    sleep 2
}
# The side's window of that title, waited for up to 20 s.
window_titled() { # side pattern
    local found
    for _ in $(seq 200); do
        found=$(xdotool search --all --onlyvisible --pid "${program_pid[$1]}" --name "$2" 2> /dev/null | head -1) || true
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
main_window() { window_titled "$1" '^日記帳Sorafumi'; }
# Brings the side's main window forward.
activate() { # side
    local window
    window=$(main_window "$1") || fail "$1's main window is gone"
    # Keys go to the active window: the other program's window must not be it.
    for _ in $(seq 20); do
        xdotool windowactivate --sync "$window" 2> /dev/null || true
        sleep 0.3
        [ "$(xdotool getactivewindow 2> /dev/null)" = "$window" ] && return 0
    done
    fail "$1's main window did not become the active one"
}
# Adds a page on the side (F4), types its body and stores the diary (F5).
write_page() { # side body
    activate "$1"
    xdotool key F4 sleep 0.7 type --delay 30 "$2"
    sleep 0.3
    xdotool key F5
}
pages() { "$python" "$pages_tool" list "$work/$1/diary/${diary[$1]}" 2> /dev/null | cut -f2; }
# Waits up to 30 s until the side's diary holds exactly these bodies, in any order.
wait_pages() { # side body...
    local side=$1 want have
    shift
    want=$(printf '%s\n' "$@" | sort)
    for _ in $(seq 120); do
        have=$(pages "$side" | sort)
        [ "$have" = "$want" ] && return 0
        sleep 0.25
    done
    fail "$side's diary holds [$(echo $have)], not [$(echo $want)]"
}

start_program B
start_program A

# --- a page written on A reaches B, and B's next store keeps it ----------
step="a page from A"
write_page A "written on A"
wait_pages A "first day" "written on A"
st_wait_synced || fail "the page did not sync"
wait_pages B "first day" "written on A"
# B took the new version in while running: its own next page is stored
# beside A's, not over it, and goes back to A.
write_page B "written on B"
wait_pages B "first day" "written on A" "written on B"
st_wait_synced || fail "B's page did not sync"
wait_pages A "first day" "written on A" "written on B"
echo "PASS: a page stored on A reached B without a restart, and B's next store kept it"

# --- both write while apart; after the reconnect both have every page ----
step="pages written while apart"
connection() { # pause|resume
    st_api A POST "/rest/system/$1?device=${ST_ID[B]}" > /dev/null || fail "Syncthing on A did not $1"
    st_api B POST "/rest/system/$1?device=${ST_ID[A]}" > /dev/null || fail "Syncthing on B did not $1"
}
# Every visible window of the programs but the main windows, as "side id title".
dialogs() {
    local side window
    for side in A B; do
        for window in $(xdotool search --all --onlyvisible --pid "${program_pid[$side]}" --name '.' 2> /dev/null); do
            title=$(xdotool getwindowname "$window" 2> /dev/null) || continue
            case $title in 日記帳Sorafumi*) ;; *) echo "$side $window $title" ;; esac
        done
    done
}
connection pause
write_page A "A while apart"
write_page B "B while apart"
wait_pages A "first day" "written on A" "written on B" "A while apart"
wait_pages B "first day" "written on A" "written on B" "B while apart"
connection resume
# Each side is asked: the side whose diary Syncthing replaced shows the merge
# window for the page both added, the other offers the conflict copy. Every
# merge window is answered 両方残す, every offer はい, until nothing is asked.
# Both times a conflict copy comes, so the quiet that ends the answers starts
# only after an offer: Syncthing may take half a minute to reconnect after a
# pause, and what comes then must still be answered.
answer_all() {
    local side window title width quiet=0 deadline=$((SECONDS + 150))
    while [ $SECONDS -lt $deadline ]; do
        asked=$(dialogs)
        if [ -z "$asked" ]; then
            [ $offers -ge 1 ] && quiet=$((quiet + 1))
            [ $quiet -ge 12 ] && return 0
            sleep 0.5
            continue
        fi
        quiet=0
        while read -r side window title; do
            xdotool windowactivate --sync "$window" 2> /dev/null || continue
            sleep 0.3
            width=$(xwininfo -id "$window" | awk '/Width:/ { print $2 }')
            echo "$step: $side $title $width" >> "$work/answers.log"
            [ -n "${KEEP_WORK:-}" ] && import -window "$window" "$work/asked-$(wc -l < "$work/answers.log").png" 2> /dev/null
            if [ "$title" != 日記の統合 ]; then
                # Anything else (a file error) is a fault: shown, then closed.
                errors+=("$side: $title")
                [ -n "${KEEP_WORK:-}" ] && import -window "$window" "$work/error-${#errors[@]}.png" 2> /dev/null
                xdotool key Return
            elif [ "$width" -gt 600 ]; then
                # 両方残す on the page, then 統合する on the summary that follows.
                xdotool key alt+b sleep 0.7 key alt+m
                merge_windows=$((merge_windows + 1))
            else
                xdotool key alt+y
                offers=$((offers + 1))
            fi
            sleep 0.5
        done <<< "$asked"
    done
    [ $offers -ge 1 ] || fail "no computer offered the conflict copy"
    fail "the questions did not end: $asked"
}
errors=() merge_windows=0 offers=0
answer_all
st_wait_synced || fail "the merged diaries did not sync"
everything=("first day" "written on A" "written on B" "A while apart" "B while apart")
wait_pages A "${everything[@]}"
wait_pages B "${everything[@]}"
left=$(ls "$work/A/diary" "$work/B/diary" | grep sync-conflict || true)
[ -z "$left" ] || fail "conflict copies were left in the folders: $left"
[ $offers -ge 1 ] || fail "no computer offered the conflict copy"
[ $merge_windows -eq 0 ] || fail "pages of different days were asked about"
# A store that meets a version which arrived a moment before must merge it,
# not show the user a file error.
[ ${#errors[@]} -eq 0 ] || fail "the merge showed errors: ${errors[*]}"
echo "PASS: pages both computers added on different days while apart came together without a question, once each"

# --- both rewrite the same page while apart; 両方残す keeps both ----------
step="one page rewritten on both"
# Started again, each shows the diary's last page, the same one.
for side in A B; do kill "${program_pid[$side]}"; done
wait "${program_pid[A]}" "${program_pid[B]}" 2> /dev/null || true
start_program B
start_program A
last=$(pages A | tail -1)
connection pause
for side in A B; do
    activate "$side"
    xdotool key ctrl+a sleep 0.3 type --delay 30 "$side rewrote it"
    sleep 0.3
    xdotool key F5
done
connection resume
errors=() merge_windows=0 offers=0
answer_all
st_wait_synced || fail "the merged diaries did not sync"
kept=()
for body in "${everything[@]}"; do [ "$body" = "$last" ] || kept+=("$body"); done
wait_pages A "${kept[@]}" "A rewrote it" "B rewrote it"
wait_pages B "${kept[@]}" "A rewrote it" "B rewrote it"
[ $merge_windows -ge 1 ] || fail "the merge window never asked about the page both rewrote"
[ ${#errors[@]} -eq 0 ] || fail "the merge showed errors: ${errors[*]}"
echo "PASS: a page both computers rewrote while apart was asked about, and 両方残す kept both"

# --- A locks the diary; B opens it with the same password ----------------
step="the diary locked on A"
export DIARY_PASSWORD="the same words on both"
activate A
xdotool key alt+t sleep 0.5 key l
window_titled A '^日記に鍵をかける$' > /dev/null || fail "the lock window did not show"
xdotool type --delay 20 "$DIARY_PASSWORD"
xdotool key Tab
xdotool type --delay 20 "$DIARY_PASSWORD"
xdotool key Return
# A's user does not note the recovery code: closing its window is asked about.
window_titled A '^回復コード$' > /dev/null || fail "the recovery code was not shown"
xdotool key Escape sleep 0.7 key alt+y
# The plain backups are replaced by encrypted copies (はい), then nothing is asked.
quiet=0
for _ in $(seq 60); do
    asked=$(dialogs)
    [ -z "$asked" ] && { quiet=$((quiet + 1)); [ $quiet -ge 6 ] && break; sleep 0.5; continue; }
    quiet=0
    case $asked in
        "A "*) xdotool windowactivate --sync "$(cut -d' ' -f2 <<< "$asked" | head -1)" key alt+y 2> /dev/null || true ;;
        # B, which holds no key, says once that the diary was locked elsewhere.
        "B "*日記の統合*) xdotool windowactivate --sync "$(cut -d' ' -f2 <<< "$asked" | head -1)" key Return 2> /dev/null || true ;;
        *) import -window root "$work/locked-B-asked.png" 2> /dev/null || true
           fail "B asked while A locked the diary: $asked" ;;
    esac
    sleep 0.5
done
diary[A]=DIARY.sfk
st_wait_synced || fail "the locked diary did not sync"
[ -f "$work/B/diary/DIARY.sfk" ] && [ ! -e "$work/B/diary/DIARY.DAT" ] ||
    fail "B's folder does not hold the locked diary alone: $(ls "$work/B/diary")"
# B's user ends the program and points it at the locked diary.
kill "${program_pid[B]}"
wait "${program_pid[B]}" 2> /dev/null || true
diary[B]=DIARY.sfk
start_program B
wait_pages B "${kept[@]}" "A rewrote it" "B rewrote it"
write_page B "B after the lock"
wait_pages B "${kept[@]}" "A rewrote it" "B rewrote it" "B after the lock"
st_wait_synced || fail "B's page did not sync"
wait_pages A "${kept[@]}" "A rewrote it" "B rewrote it" "B after the lock"
# A page only added on B is taken in without a question, as in a plain diary.
sleep 3
asked=$(dialogs)
if [ -n "$asked" ]; then
    import -window root "$work/locked-asked.png" 2> /dev/null || true
    fail "a page B added to the locked diary was asked about: $asked"
fi
# A took the version in while running: its next page is stored beside B's.
write_page A "A after the lock"
st_wait_synced || fail "A's page did not sync"
wait_pages B "${kept[@]}" "A rewrote it" "B rewrote it" "B after the lock" "A after the lock"
for side in A B; do
    left=$(LC_ALL=C grep -rlaF -D skip "after the lock" "$work/$side" | grep -v '/program.log$' || true)
    [ -z "$left" ] || fail "a page's text is in plain on $side: $left"
done
echo "PASS: a diary locked on A reached B, opened there with the same password, and pages still went both ways"
