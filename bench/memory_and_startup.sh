#!/usr/bin/env bash
# Peak resident memory with the hundred-year diary open after a date click and
# a search, and start-up time to the shown main window on that diary against a
# one-page diary (median of 5); the real program's peak on that diary and the
# large libraries it maps at the start. Everything runs on an X server of its
# own (Xvfb with openbox), as on a desktop: the offscreen platform never loads
# OpenGL and would hide what a start costs. Builds nothing: build
# sorafumi_memory_probe (and sorafumi, for the cross-check) first.
#
#   bench/memory_and_startup.sh [BUILD_FOLDER]     default: build
#
# SORAFUMI_BENCH_DIARY=path reuses a 36,500-page diary written earlier;
# otherwise one is generated in a temporary folder and removed afterwards.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
probe=$build/bench/sorafumi_memory_probe
program=$build/sorafumi
pages=36500
record=10090
runs=5

if [ ! -x "$probe" ]; then
    echo "missing $probe: build the target sorafumi_memory_probe first" >&2
    exit 1
fi
[ -x /usr/bin/time ] || "$top/tools/packages.sh" time
for tool in Xvfb openbox; do
    command -v "$tool" > /dev/null || { echo "missing $tool (tools/packages.sh installs it)" >&2; exit 1; }
done

export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
work=$(mktemp -d "${TMPDIR:-/tmp}/sorafumi-memory-XXXXXX")
servers=()
trap 'kill "${servers[@]}" 2>/dev/null; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
servers+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
openbox > /dev/null 2>&1 &
servers+=($!)
sleep 1

hundred=${SORAFUMI_BENCH_DIARY:-}
if [ -z "$hundred" ] || [ "$(stat -c %s "$hundred" 2>/dev/null || echo 0)" -ne $((pages * record)) ]; then
    hundred=$work/HUNDRED.DAT
    echo "generating the $pages-page diary in $work ..." >&2
    "$probe" generate "$pages" "$hundred" 2>/dev/null
fi
one=$work/ONE.DAT
"$probe" generate 1 "$one" 2>/dev/null
# Both diaries come from the page cache, as on a machine that used them lately.
cat "$hundred" "$one" > /dev/null

now_ns() { date +%s%N; }

# Wall time from the launch to the shown main window, in ms with two decimals.
startup_ms() {
    local diary=$1 before output shown
    before=$(now_ns)
    output=$("$probe" run "$diary" "$build" --startup-only 2>/dev/null)
    shown=$(sed -n 's/^shown_at_ns=//p' <<<"$output")
    awk -v a="$before" -v b="$shown" 'BEGIN { printf "%.2f\n", (b - a) / 1e6 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Peak resident set of one command, in kB, as /usr/bin/time -v reports it;
# the command's own exit status goes to the file named by the first argument.
peak_kb() {
    local status_file=$1 log=$work/time.log
    shift
    local status=0
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 || status=$?
    echo "$status" >"$status_file"
    sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$log"
}

# The runs of the two diaries take turns, so that a change in the machine's
# load falls on both alike.
one_runs=()
hundred_runs=()
for _ in $(seq "$runs"); do
    one_runs+=("$(startup_ms "$one")")
    hundred_runs+=("$(startup_ms "$hundred")")
done
one_median=$(printf '%s\n' "${one_runs[@]}" | median)
hundred_median=$(printf '%s\n' "${hundred_runs[@]}" | median)

probe_hundred_kb=$(peak_kb "$work/status" "$probe" run "$hundred" "$build")
[ "$(cat "$work/status")" -eq 0 ] || { echo "the probe failed on $hundred" >&2; exit 1; }
probe_one_kb=$(peak_kb "$work/status" "$probe" run "$one" "$build")
[ "$(cat "$work/status")" -eq 0 ] || { echo "the probe failed on $one" >&2; exit 1; }

# The real program on the same diary, started and left alone for a few
# seconds: it cannot be clicked from here, so this is the start-up only. It
# counts only when the diary was open meanwhile (no box stopped it earlier).
real_kb="-"
real_open="not run"
mapped="-"
# The large libraries a start might map, counted in the program's maps.
heavy="libQt6WebEngineCore libQt6Charts libQt6Quick libQt6OpenGL libGLX_mesa libLLVM swrast_dri"
if [ -x "$program" ]; then
    export XDG_CONFIG_HOME=$work/config
    "$probe" settings "$XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini" "$hundred" 2>/dev/null
    peak_kb "$work/status" timeout -s TERM 8 "$program" >"$work/real_kb" &
    measured=$!
    sleep 5
    holder=$(find /proc/[0-9]*/fd -lname "$hundred" 2>/dev/null | head -1 | cut -d/ -f3 || true)
    if [ -n "$holder" ]; then
        real_open="diary open"
        mapped=$(for library in $heavy; do
            printf '%s %s, ' "$library" "$(grep -c "/$library" "/proc/$holder/maps" || true)"
        done)
    else
        real_open="diary NOT open"
    fi
    wait "$measured"
    real_kb=$(cat "$work/real_kb")
fi

mb() { awk -v k="$1" 'BEGIN { if (k == "-") print "-"; else printf "%.1f", k / 1024 }'; }

echo
echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "diary: $hundred ($pages pages), page cache warm"
echo
printf '%-62s %12s %10s\n' "measure" "value" "target"
printf '%-62s %12s %10s\n' "peak RSS, 36,500 pages: start, date click, search (probe)" "$(mb "$probe_hundred_kb") MB" "< 150 MB"
printf '%-62s %12s %10s\n' "peak RSS, 1 page: start, date click, search (probe)" "$(mb "$probe_one_kb") MB" ""
printf '%-62s %12s %10s\n' "peak RSS, 36,500 pages: sorafumi start only, 8 s ($real_open)" "$(mb "$real_kb") MB" "<= 70 MB"
printf '%-62s %12s %10s\n' "start-up to shown window, 1 page (median of $runs)" "$one_median ms" ""
printf '%-62s %12s %10s\n' "start-up to shown window, 36,500 pages (median of $runs)" "$hundred_median ms" ""
ratio=$(awk -v a="$hundred_median" -v b="$one_median" 'BEGIN { printf "%.2f", a / b }')
printf '%-62s %12s %10s\n' "start-up ratio 36,500 / 1" "$ratio" "<= 1.5"
echo
echo "X server: Xvfb $DISPLAY with openbox (QT_QPA_PLATFORM=xcb)"
echo "maps lines of large libraries, sorafumi 5 s after the start (grep -c /LIBRARY /proc/PID/maps): ${mapped%, }"
echo "start-up runs, 1 page (ms): ${one_runs[*]}"
echo "start-up runs, 36,500 pages (ms): ${hundred_runs[*]}"
