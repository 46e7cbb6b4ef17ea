# shellcheck shell=bash
# What the end-to-end scripts share to drive the real program through its
# windows: a screen of their own (Xvfb, openbox), throwaway home folders, and
# xdotool to find, activate and answer the program's windows. Sourced, it only
# defines functions. The script sets python, here (this folder), program,
# shots (where the screen goes at a fault), work and computer (the folders
# everything is kept and written under), pids (what to end at exit), step and
# main_title (a pattern of the main window's title), and defines skip and
# fault_folders; start_program sets program_pid.

# Skips unless Xvfb, openbox, xdotool, these other tools, the accessibility bus, pyatspi and nacl are here.
need_desktop() { # tool...
    local tool
    for tool in Xvfb openbox xdotool "$@" xprop xwininfo import dbus-run-session dbus-update-activation-environment; do
        command -v "$tool" > /dev/null || skip "$tool is not installed (tools/packages.sh installs it)"
    done
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed (tools/packages.sh installs it)"
    "$python" -c 'import pyatspi' 2> /dev/null || skip "python3-pyatspi is not installed (tools/packages.sh installs it)"
    "$python" -c 'import nacl.pwhash' 2> /dev/null || skip "python3-nacl is not installed (tools/packages.sh installs it)"
}

# Runs the script again on a session bus of its own, unless it is already on it.
own_session_bus() { # the script's arguments...
    if [ -z "${SORAFUMI_A11Y_BUS:-}" ]; then
        SORAFUMI_A11Y_BUS=1 exec dbus-run-session -- "$0" "$@"
    fi
}

# Ends all the script started (with SIGTERM unless told another signal) and removes $work, kept with KEEP_WORK set.
end_desktop() { # [signal]
    local pid
    for pid in "${pids[@]}"; do kill -"${1:-TERM}" "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    [ -n "${KEEP_WORK:-}" ] && echo "kept $work" || rm -rf "$work"
}

# Ends the script at a fault, all on stderr (it is also called inside $(...)): the screen as <script>-failed.png, the step, why, fault_folders and the program's last lines.
fail() { # why...
    local shot
    shot="$shots/$(basename "$0" .sh)-failed.png"
    {
        import -window root "$shot" 2> /dev/null && echo "screen: $shot"
        echo "FAIL: $step: $*"
        fault_folders
        echo "--- the program:"; tail -20 "$work/program.log" 2> /dev/null || true
    } >&2
    exit 1
}

# Starts a screen of the test's own (Xvfb) and openbox on it, with the folders made private in between.
start_desktop() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
    private_folders
    export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
    openbox --sm-disable > "$work/openbox.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.05; done
}

# Home, the XDG folders and the temporary files under $computer, for the session bus too; the diary's folder made.
private_folders() {
    export HOME="$computer/home" XDG_CONFIG_HOME="$computer/config" XDG_DATA_HOME="$computer/share"
    export XDG_STATE_HOME="$computer/state" XDG_CACHE_HOME="$computer/cache" XDG_RUNTIME_DIR="$computer/runtime"
    export TMPDIR="$computer/tmp"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/日記帳Sorafumi" "$TMPDIR" "$computer/diary"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    dbus-update-activation-environment HOME XDG_CACHE_HOME XDG_RUNTIME_DIR DISPLAY
}

# The program's settings file.
settings_ini() { echo "$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini"; }

# Settings that open that diary at the start, the owner's, with no password asked and no tip shown.
write_settings() { # diary
    printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserName=Owner\nUserPWS=\nLoginOnOff=0\nUserDataFile=%s\n' \
        "$1" > "$(settings_ini)"
}

# The test's own writer and reader of diaries (../sync/diary_pages.py).
diary_pages() { # write|list diary...
    "$python" "$here/../sync/diary_pages.py" "$@"
}

# The bodies of the diary's pages, one a line, as the test's own reader opens them.
page_bodies() { diary_pages list "$1" | cut -f2; }

# Starts the program in the background, its output kept in program.log.
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

# Makes the window the active one, trying for about 6 s.
activate() { # window
    for _ in $(seq 20); do
        xdotool windowactivate --sync "$1" 2> /dev/null || true
        sleep 0.3
        [ "$(xdotool getactivewindow 2> /dev/null)" = "$1" ] && return 0
    done
    fail "window $1 did not become the active one"
}

# The program's main window.
main_window() { window_titled "$main_title"; }

# The titles of the program's visible windows but the main window.
dialogs() {
    local window
    for window in $(xdotool search --all --onlyvisible --pid "$program_pid" --name '.' 2> /dev/null); do
        xdotool getwindowname "$window" 2> /dev/null | grep -v "$main_title" || true
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
        xwininfo -id "$message" 2> /dev/null | grep -q IsViewable || return 0
        sleep 0.1
    done
    fail "the message $(xdotool getwindowname "$message") did not close"
}

# Waits up to 20 s for the program to end; how it was told to, if given, goes into the fault.
ended() { # [how]
    for _ in $(seq 200); do
        kill -0 "$program_pid" 2> /dev/null || { wait "$program_pid" || true; return 0; }
        sleep 0.1
    done
    fail "the program did not end${1:+ $1} (still open: $(dialogs | tr '\n' ' '))"
}

# Ends the program through ファイル › 終了.
end_program() {
    activate "$(main_window)"
    xdotool key alt+f sleep 0.5 key e
    ended "at 終了"
}

# Locks the open diary through ツール › 日記に鍵をかける, the recovery code read over AT-SPI and typed back.
lock_diary() { # password
    local code_window group
    xdotool key alt+t sleep 0.5 key l
    activate "$(window_titled '^日記に鍵をかける$')"
    xdotool type --delay 20 "$1"
    xdotool key Tab
    xdotool type --delay 20 "$1"
    xdotool key Return
    code_window=$(window_titled '^回復コード$')
    group=$("$python" "$here/recovery_code.py" "$program_pid") || fail "the recovery code could not be read"
    activate "$code_window"
    xdotool type --delay 30 "$group"
    xdotool key Return
}

# The files under $computer holding, in CP932 or UTF-8, any word of these texts of 8 bytes or more (shorter ones turn up by chance).
files_with_text() { # text...
    "$python" -c 'import sys
with open(sys.argv[1], "wb") as out:
    for body in sys.argv[2:]:
        for word in body.split():
            if len(word.encode()) >= 8:
                out.write(word.encode("cp932") + b"\n" + word.encode() + b"\n")' "$work/patterns" "$@"
    LC_ALL=C grep -rlaF -D skip -f "$work/patterns" "$computer" || true
}
