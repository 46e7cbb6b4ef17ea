#!/usr/bin/env bash
# Words typed and not stored survive every way the real program goes (Xvfb,
# openbox, xdotool, the body read over AT-SPI): the window manager's close box
# and SIGTERM store them; on a diary that cannot be written (immutable) the
# close box asks and いいえ keeps the window with the words, and a SIGHUP while
# it asks again ends the program, leaving the draft; after that or a SIGKILL
# the next start offers the draft, はい puts the words back and 終了 stores
# them. A locked diary's draft holds no word in plain, and none is left from
# before the lock. A keystroke never waits for a draft's disk writes.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
# shellcheck source=desktop.sh
. "$here/desktop.sh"

skip() { echo "SKIP: $*; no words were typed"; exit 77; }
python=/usr/bin/python3
need_desktop wmctrl
# A session bus of our own: the body is read over its accessibility bus.
own_session_bus "$@"
program=$(realpath "$1")
shots=$PWD

work=$(mktemp -d)
# Everything the program may write to goes under $computer, and is searched.
computer="$work/computer"
diary="$computer/diary/DIARY.DAT"
pids=()
finish() {
    chattr -i "$diary" 2> /dev/null || true
    end_desktop KILL
}
trap finish EXIT
step="start"
fault_folders() {
    echo "--- the diary's folder and the state folder:"
    ls -la "$computer/diary" "$XDG_STATE_HOME/日記帳Sorafumi" 2> /dev/null || true
}
start_desktop

password="correct horse battery staple 7"
export DIARY_PASSWORD=$password
# The shown page at every start is the last one: its Japanese words go into
# every draft, which the search for plain text below needs.
diary_pages write "$diary" "2026-11-30:前の日のページ previous-day" \
    "2026-12-01:北の窓に霜の花が咲いた frost-window"
write_settings "$diary"
caption="日記帳Sorafumi Kasumire ＳＲ６"
main_title="^$caption\$"
# The draft of the diary at that path.
draft_of() { echo "$XDG_STATE_HOME/日記帳Sorafumi/draft-$(printf %s "$1" | sha1sum | cut -c1-40)"; }

# What a screen reader hears of the program, over AT-SPI.
cat > "$work/heard.py" << 'EOF'
"""heard.py PID body             the text of the body
   heard.py PID labels TITLE     the labels of the showing window of that title
   heard.py PID type TEXT        types TEXT into the body; the seconds from its
                                 last key until the body holds it"""
import subprocess, sys, time
import pyatspi

pid, what = int(sys.argv[1]), sys.argv[2]
SKIPPED = {pyatspi.ROLE_TABLE, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_PAGE_TAB_LIST}

def below(node):
    for child in node:
        if child is not None:
            yield child
            if child.getRole() not in SKIPPED:
                yield from below(child)

def tops():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            yield from (top for top in app if top is not None and top.getState().contains(pyatspi.STATE_SHOWING))

def waited(find):
    """What find gives, once the bus has it: a window is on the bus a moment
    after it is on the screen."""
    end = time.monotonic() + 10
    while not (found := find()) and time.monotonic() < end:
        time.sleep(0.1)
    return found or sys.exit(f"not on the accessibility bus: {what} {sys.argv[3:]}")

def body():
    return next((node.queryText() for top in tops() for node in below(top)
                 if node.getRole() == pyatspi.ROLE_TEXT and node.name == "日記の内容"), None)

def text(box):
    return box.getText(0, box.characterCount)

if what == "body":
    print(text(waited(body)))
elif what == "labels":
    print("\n".join(waited(lambda: [node.name for top in tops() if top.name == sys.argv[3]
                                    for node in below(top) if node.getRole() == pyatspi.ROLE_LABEL and node.name])))
else:
    box = waited(body)
    subprocess.run(["xdotool", "type", "--delay", "15", sys.argv[3]], check=True)
    sent = time.monotonic()
    while sys.argv[3] not in text(box) and time.monotonic() - sent < 10:
        time.sleep(0.01)
    print(f"{time.monotonic() - sent:.2f}")
EOF
heard() { "$python" "$work/heard.py" "$program_pid" "$@"; }

# Starts the program on the plain diary and types a word at the body's end.
start_and_type() { # word
    start_program
    activate "$(main_window)"
    sleep 1
    xdotool key ctrl+End type --delay 30 " $1"
}
# Waits up to 10 s for the draft to be there (or, with "gone", not to be).
draft_is() { # there|gone diary
    local file
    file=$(draft_of "$2")
    for _ in $(seq 100); do
        if [ "$1" = there ]; then [ -s "$file" ] && return 0; else [ -e "$file" ] || return 0; fi
        sleep 0.1
    done
    fail "the draft is not $1: $file"
}
killed() {
    kill -KILL "$program_pid"
    wait "$program_pid" 2> /dev/null || true
}
# The bodies of the diary's pages, on one line.
bodies() { page_bodies "$1" | tr '\n' ' '; }
diary_holds() { # diary word
    grep -qF -- "$2" <<< "$(bodies "$1")" || fail "the diary does not hold $2: [$(bodies "$1")]"
}
# When the draft was kept, as the question at the start says it.
kept_at='([0-9]+月[0-9]+日 )?[0-9]+:[0-9]{2}'
# The start after an end that left a draft: the question, はい, the words in
# the body; 終了 stores them and the draft goes.
take_back() { # diary word [password]
    grep -qF -- "$2" <<< "$(bodies "$1")" && fail "the diary holds $2 before it was taken back"
    start_program
    if [ -n "${3:-}" ]; then
        activate "$(window_titled '^所有者確認$')"
        xdotool type --delay 20 "$3"
        xdotool key Return
    fi
    window_titled '^日記帳Sorafumi$' > /dev/null
    heard labels 日記帳Sorafumi | grep -qE "^保存されていない書きかけがあります（2026年12月1日のページ、$kept_at）。ページに戻しますか？\$" ||
        fail "the question says [$(heard labels 日記帳Sorafumi | tr '\n' ' ')]"
    answer '^日記帳Sorafumi$' Return
    main_window > /dev/null
    heard body | grep -qF -- "$2" || fail "the body does not hold $2 again: [$(heard body)]"
    end_program
    diary_holds "$1" "$2"
    draft_is gone "$1"
}
# Holds every fsync and fdatasync of the program's threads for 3 s at their
# start; false where strace is missing or may not trace the program.
tracer=
hold_flushes() {
    command -v strace > /dev/null || return 1
    strace -f -p "$program_pid" -e trace=fsync,fdatasync -e inject=fsync,fdatasync:delay_enter=3000000 \
        -o /dev/null 2> /dev/null &
    tracer=$!
    pids+=($tracer)
    for _ in $(seq 50); do
        grep -q '^TracerPid:[[:space:]]*0$' /proc/"$program_pid"/task/*/status || return 0
        kill -0 "$tracer" 2> /dev/null || return 1
        sleep 0.1
    done
    kill "$tracer" 2> /dev/null
    return 1
}

# --- the close box and SIGTERM store the page ---------------------------------
step="the close box"
start_and_type closed-by-frame
wmctrl -c "$caption"
ended
diary_holds "$diary" closed-by-frame
draft_is gone "$diary"

step="SIGTERM"
start_and_type ended-by-term
kill -TERM "$program_pid"
ended
diary_holds "$diary" ended-by-term
draft_is gone "$diary"
echo "PASS: the close box and SIGTERM stored the page"

# --- a diary that cannot be written -------------------------------------------
# Made immutable, which only root can do.
if [ "$(id -u)" -eq 0 ] && chattr +i "$diary" 2> /dev/null && chattr -i "$diary"; then
    step="the close box on a diary that cannot be written"
    start_and_type kept-when-refused
    chattr +i "$diary"
    wmctrl -c "$caption"
    answer '^ﾌｧｲﾙ ｴﾗｰ$' Return
    window_titled '^終了の確認$' > /dev/null
    heard labels 終了の確認 | grep -q '保存せずに終了しますか？$' ||
        fail "the question says [$(heard labels 終了の確認 | tr '\n' ' ')]"
    # いいえ is the default.
    answer '^終了の確認$' Return
    sleep 0.5
    kill -0 "$program_pid" 2> /dev/null || fail "the program ended at いいえ"
    main_window > /dev/null
    heard body | grep -qF kept-when-refused || fail "the body lost the words: [$(heard body)]"
    draft_is there "$diary"
    # A logout while the question waits ends without an answer, and the
    # draft stays for the next start.
    step="SIGHUP while the question waits"
    wmctrl -c "$caption"
    answer '^ﾌｧｲﾙ ｴﾗｰ$' Return
    window_titled '^終了の確認$' > /dev/null
    kill -HUP "$program_pid"
    ended
    chattr -i "$diary"
    draft_is there "$diary"
    step="taking back the draft SIGHUP left"
    take_back "$diary" kept-when-refused
    echo "PASS: on a diary that cannot be written the close box asked and いいえ kept the window;" \
        "SIGHUP at the question left a draft, and the next start put its words back"
else
    echo "SKIP: the diary cannot be made immutable here (chattr +i needs root and a file system that keeps the flag)"
fi

# --- SIGKILL: the next start offers the draft ---------------------------------
step="SIGKILL"
start_and_type back-after-kill
# Typing on without a pause of 2 s still has a draft kept within 5 s.
xdotool type --delay 500 " still-typing-for-eight-seconds" &
typing=$!
draft_is there "$diary"
kill -0 "$typing" 2> /dev/null || fail "no draft was kept while the typing went on"
wait "$typing"
# The search for plain text below finds a plain draft.
files_with_text back-after-kill 霜の花 | grep -qx "$(draft_of "$diary")" ||
    fail "the search for words does not find them in the plain draft"
killed
take_back "$diary" back-after-kill
echo "PASS: after SIGKILL the next start put the words back, and 終了 stored them"

# --- a keystroke never waits for the disk -------------------------------------
# Measured: the seconds from the last of 30 keys sent until the body holds all
# 30, read over AT-SPI; first as the disk is, then while strace holds every
# fsync and fdatasync of the program's threads for 3 s at their start, typed
# while the draft's file is being written (its ".new" is there before the keys
# and still there after the body held them).
step="typing with the disk as it is"
start_and_type fast-disk
draft_is there "$diary"
as_is=$(heard type "keys-while-the-disk-is-fast-30")
step="typing while a draft is being written"
if hold_flushes; then
    xdotool type --delay 30 " slow-disk"
    draft=$(draft_of "$diary")
    for _ in $(seq 100); do compgen -G "$draft.new*" > /dev/null && break; sleep 0.05; done
    compgen -G "$draft.new*" > /dev/null || fail "no draft was being written"
    held=$(heard type "keys-while-the-disk-is-slow-30")
    compgen -G "$draft.new*" > /dev/null || fail "the draft's write was over before the body held the keys, in $held s"
    echo "typing 30 keys: the body held them $as_is s after the last key as the disk is," \
        "$held s while a draft was being written"
    for time in "$as_is" "$held"; do
        "$python" -c 'import sys; sys.exit(float(sys.argv[1]) >= 1)' "$time" ||
            fail "the body held the keys only $time s after the last (as the disk is: $as_is s)"
    done
    kill -INT "$tracer"
    wait "$tracer" 2> /dev/null || true
    echo "PASS: a keystroke did not wait for the draft's disk writes"
else
    echo "SKIP: the disk cannot be slowed here (strace is missing or may not trace the program);" \
        "as it is, the body held 30 keys $as_is s after the last"
fi
end_program
diary_holds "$diary" keys-while-the-disk-is-fast-30

# --- a locked diary's draft ---------------------------------------------------
# A plain draft kept before the lock is not left behind.
step="locking"
start_and_type typed-before-lock
draft_is there "$diary"
lock_diary "$password"
# The plain backups the earlier stores left are replaced.
answer '^確認$' Return
locked="$computer/diary/DIARY.sfk"
[ -f "$locked" ] || fail "no DIARY.sfk"
step="SIGKILL on a locked diary"
activate "$(main_window)"
xdotool key ctrl+End type --delay 30 " sealed-after-kill"
draft_is there "$locked"
killed
nothing_plain() {
    local left
    left=$(files_with_text typed-before-lock sealed-after-kill 霜の花)
    [ -z "$left" ] || fail "words are in plain in: $left"
}
nothing_plain
take_back "$locked" sealed-after-kill "$password"
nothing_plain
echo "PASS: a locked diary's draft held no word in plain, and the start with the password put its words back"
