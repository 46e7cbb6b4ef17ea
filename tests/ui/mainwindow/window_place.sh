#!/usr/bin/env bash
# The main window comes back where the user left it, at the same size, start
# after start. Five starts of the real program under a real window manager
# (openbox on Xvfb): the first with registration and login and nothing stored,
# then with login, maximised, and twice without login. Each start compares what
# the X server shows (the frame's corner and the inside size, by xwininfo) with
# the place and size in the settings file, before and after the run.
#
# The settings hold the frame's top-left corner and the inside size, in twips
# (15 to a pixel at 96 dpi).
set -euo pipefail

for tool in Xvfb openbox xdotool xwininfo xprop; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed (tools/packages.sh installs it); the window's place was not tried"
        exit 77
    fi
done
program=$(realpath "$1")

work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: start $run: $*"
    echo "settings file:"; cat "$ini" 2> /dev/null || true
    exit 1
}

# A display of its own, of the most common desktop's size: Xvfb takes a free
# number and tells it.
screen_width=1920 screen_height=1080
Xvfb -displayfd 3 -screen 0 ${screen_width}x${screen_height}x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
mkdir -p "$HOME"
openbox --sm-disable > "$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break; sleep 0.05; done

# A new user whose settings name a diary and switch the tip off, and hold
# nothing else: no owner, no place, no size.
ini="$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini"
mkdir -p "$(dirname "$ini")"
: > "$work/DIARY.DAT"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserDataFile=%s\n' "$work/DIARY.DAT" > "$ini"
run=0

# The value of a key in the settings file, or the default when it is absent.
setting() { # key default
    local value
    value=$(sed -n "s/^$1=//p" "$ini" 2> /dev/null)
    echo "${value:-$2}"
}
pixels() { awk -v t="$1" 'BEGIN { p = t / 15; printf "%d", (p < 0 ? p - 0.5 : p + 0.5) }'; }
# Place and size as stored, in pixels: "left top width height".
stored() {
    echo "$(pixels "$(setting MainLeft 0)") $(pixels "$(setting MainTop 0)")" \
        "$(pixels "$(setting MainWidth 7800)") $(pixels "$(setting MainHeight 6500)")"
}
# The inside area's corner, its offset in the frame and its size:
# "x y offsetX offsetY width height", once the window manager has framed it
# and it holds still.
shown() {
    local last="" now
    for _ in $(seq 40); do
        now=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
            /Relative upper-left X/ { ox = $4 } /Relative upper-left Y/ { oy = $4 }
            /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, ox, oy, w, h }')
        [ "$now" = "$last" ] && [ "$(echo "$now" | cut -d' ' -f4)" != 0 ] && break
        last=$now
        sleep 0.1
    done
    echo "$now"
}
# The first visible window whose title matches, waited for up to 20 s. A
# search that meets a window vanishing under it (start-up makes and drops a few)
# fails with an X error; it is tried again.
find_window() { # title-pattern
    local found
    for _ in $(seq 200); do
        found=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1) || true
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits for a visible window by its whole title, brings it forward and presses keys.
answer() { # title keys...
    local window
    window=$(find_window "^$1\$") || fail "no window \"$1\""
    xdotool windowactivate --sync "$window" 2> /dev/null || xdotool windowfocus --sync "$window"
    sleep 0.4
    shift
    [ $# -eq 0 ] || xdotool "$@"
}
drag() { # from-x from-y to-x to-y
    xdotool mousemove "$1" "$2" sleep 0.1 mousedown 1 sleep 0.1 mousemove $(($1 + ($3 - $1) / 2)) $(($2 + ($4 - $2) / 2)) \
        sleep 0.1 mousemove "$3" "$4" sleep 0.1 mouseup 1
    sleep 0.3
}

# Opens a window beside the main window by its menu key and tells its id.
open_beside() { # main-window title
    local keys
    case $2 in
    検索) keys="ctrl+f" ;;
    統計) keys="alt+t s" ;;
    *) keys="alt+t Return" ;;
    esac
    xdotool windowactivate --sync "$1" key --clearmodifiers $keys
    find_window "^$2\$"
}

# The search window, the window of the same day and the statistics open with
# their title bars on the screen, also beside a main window that fills it, and
# close by Esc.
beside() { # main-window
    local title window y oy
    for title in 検索 過去の同じ日 統計; do
        window=$(open_beside "$1" "$title") || fail "no window \"$title\""
        read -r _ y _ oy _ _ <<< "$(shown "$window")"
        [ "$((y - oy))" -ge 0 ] || fail "the title bar of \"$title\" is off the screen (frame top $((y - oy)))"
        xdotool windowactivate --sync "$window" key Escape
        sleep 0.3
    done
}

# The frame's rectangle by the window manager's extents: "left top right bottom",
# right and bottom just outside it.
frame() { # window
    local x y w h left right top bottom
    read -r x y _ _ w h <<< "$(shown "$1")"
    read -r left right top bottom <<< "$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    echo "$((x - left)) $((y - top)) $((x + w + right)) $((y + h + bottom))"
}

# The search window, 統計 and 過去の同じ日 open together on the screen, none
# over another nor over the body. The body is taken from the main window's
# inside as the layout puts it, reaching up to the menu bar to be safe.
together() { # main-window
    local title window x y w h rects
    read -r x y _ _ w h <<< "$(shown "$1")"
    rects="本文 $((x + 8)) $((y + 180)) $((x + w - 7)) $((y + h - 17))"$'\n'
    for title in 統計 検索 過去の同じ日; do
        window=$(open_beside "$1" "$title") || fail "no window \"$title\""
        rects+="$title $(frame "$window")"$'\n'
    done
    [ -z "${SORAFUMI_SCREENSHOT:-}" ] || import -window root "$SORAFUMI_SCREENSHOT"
    echo "$rects" | awk -v width=$screen_width -v height=$screen_height '
        NF == 5 { n++; name[n] = $1; l[n] = $2; t[n] = $3; r[n] = $4; b[n] = $5 }
        END {
            for (i = 1; i <= n; i++) {
                if (l[i] < 0 || t[i] < 0 || r[i] > width || b[i] > height) { print name[i] " is off the screen"; bad = 1 }
                for (j = i + 1; j <= n; j++)
                    if (l[i] < r[j] && l[j] < r[i] && t[i] < b[j] && t[j] < b[i]) {
                        print name[j] " " l[j] "," t[j] "-" r[j] "," b[j] " covers " name[i] " " l[i] "," t[i] "-" r[i] "," b[i]; bad = 1 }
            }
            exit bad
        }' || fail "the windows opened over each other"
    # Closed and opened again, the search window comes back to its place.
    local before
    before=$(frame "$(find_window '^検索$')")
    xdotool windowactivate --sync "$(find_window '^検索$')" key Escape
    sleep 0.3
    window=$(open_beside "$1" 検索) || fail "no window \"検索\" the second time"
    [ "$(frame "$window")" = "$before" ] || fail "the search window came back at $(frame "$window"), not at $before"
}

start() { # what the user does: first, login, none; then move, maximise or nothing
    run=$((run + 1))
    local expected
    expected=$(stored)
    "$program" > "$work/run$run.log" 2>&1 &
    local pid=$!
    case $1 in
    first)
        answer '新規登録' key alt+y
        answer '所有者登録' type --delay 20 'Owner'
        xdotool key Return
        answer '所有者確認' key Return Return space
        ;;
    login) answer '所有者確認' key Return Return space ;;
    esac
    local main
    main=$(find_window 'Kasumire') || fail "no main window"

    local x y ox oy w h
    read -r x y ox oy w h <<< "$(shown "$main")"
    if [ "${3:-}" = elsewhere ]; then
        local left top right
        read -r left top right _ <<< "$(frame "$main")"
        [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le "$screen_width" ] ||
            fail "stored at $expected, the frame shows from $left $top to $right: the title bar is not on the screen"
    else
        [ "$((x - ox)) $((y - oy)) $w $h" = "$expected" ] ||
            fail "the frame's corner and the inside size are $((x - ox)) $((y - oy)) $w $h, stored $expected"
    fi
    [ "$((y - oy))" -ge 0 ] || fail "the title bar is off the screen (frame top $((y - oy)))"

    case $2 in
    move) # by the title bar, then the lower right corner, as a user drags them
        drag $((x + 100)) $((y - oy / 2)) $((x + 230)) $((y - oy / 2 + 140))
        read -r x y _ _ w h <<< "$(shown "$main")"
        drag $((x + w)) $((y + h)) $((x + w + 70)) $((y + h + 50))
        ;;
    maximise) # by a double click on the title bar
        xdotool mousemove $((x + 100)) $((y - oy / 2)) click --repeat 2 --delay 80 1
        sleep 0.5
        xprop -id "$main" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || fail "the window was not maximised"
        ;;
    esac
    read -r x y ox oy w h <<< "$(shown "$main")"
    [ "${3:-}" != beside ] || beside "$main"
    [ "${3:-}" != together ] || together "$main"

    xdotool windowactivate --sync "$main" key --clearmodifiers alt+F4
    for _ in $(seq 100); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2> /dev/null && fail "the program did not end when its window was closed"
    wait "$pid" || fail "the program ended with $?"
    # A maximised window comes back as a normal one of its size and place.
    local left=$((x - ox)) top=$((y - oy))
    [ "$(stored)" = "$left $top $w $h" ] || fail "stored $(stored) after the window was at $left $top $w $h"
    [ "$2" != move ] || [ "$left $top $w $h" != "$expected" ] || fail "the window could not be moved"
    echo "start $run: frame corner and inside size $expected, left at $left $top $w $h"
}

start first move
start login none
start login maximise
# The login switched off, as the properties dialog stores it.
sed -i '/^LoginOnOff=/d; /^\[User\]$/a LoginOnOff=0' "$ini"
start none none
start none none beside
# The main window where a new user finds it, with room beside it.
sed -i '/^Main\(Left\|Top\|Width\|Height\)=/d' "$ini"
start none none together
# A place on no screen, and one above it, as a Wayland run of an older version stored.
sed -i 's/^MainLeft=.*/MainLeft=45000/; s/^MainTop=.*/MainTop=-450/' "$ini"
start none none elsewhere
echo "7 starts, the window came back each time, on the screen"
