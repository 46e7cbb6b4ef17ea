#!/usr/bin/env bash
# Installs the build into an empty prefix and checks the installed layout: the
# program, the pages and pictures it reads, the starter, the desktop entry,
# icons, software-centre entry, manual page and copyright.
# Then starts the installed program on an empty profile under Xvfb, goes
# through the first start from the keyboard as a new owner would, and finds
# the diary named without a folder in the user's own folder. Last, the .deb.
set -euo pipefail

# The first start, step by step: each window is waited for by its title and
# given the keys a user would press.
first_start() {
    "$prefix/bin/sorafumi" &
    answer() { # title keys...
        local window
        window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || return 1
        xdotool windowfocus --sync "$window"
        shift
        sleep 0.3
        "$@"
    }
    answer '新規登録' xdotool key alt+y &&
        answer '所有者登録' xdotool type --delay 20 'Owner' && xdotool key Return &&
        answer '所有者確認' xdotool key Return Return space &&
        answer 'ファイル名の入力' xdotool type --delay 20 'mydiary.dat' && xdotool key Return &&
        answer 'ファイル名確認' xdotool key Return &&
        answer 'ﾜﾝﾎﾟｲﾝﾄ' sleep 1
    local walked=$?
    kill %1 2>/dev/null
    wait
    return $walked
}
if [ "${1:-}" = --first-start ]; then
    first_start
    exit
fi

build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
packages=$(mktemp -d)
trap 'rm -rf "$prefix" "$home" "$packages"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
for file in lib/sorafumi/sorafumi lib/sorafumi/sorafumi-web.so lib/sorafumi/sorafumi-stats.so \
    share/sorafumi/BackMap.gif share/sorafumi/TIPOFDAY.TXT share/sorafumi/index.htm share/sorafumi/mail.htm \
    share/sorafumi/02.htm share/sorafumi/05.htm share/sorafumi/ie.dat bin/sorafumi \
    share/applications/sorafumi.desktop share/icons/hicolor/scalable/apps/sorafumi.svg \
    share/icons/hicolor/48x48/apps/sorafumi.png share/icons/hicolor/256x256/apps/sorafumi.png \
    share/metainfo/jp.sorafumi.Sorafumi.metainfo.xml share/man/man1/sorafumi.1.gz share/doc/sorafumi/copyright \
    share/doc/sorafumi/changelog.gz; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/sorafumi" ] || fail "bin/sorafumi cannot be run"
grep -qx 'Name=日記帳Sorafumi' "$prefix/share/applications/sorafumi.desktop" || fail "desktop entry has no name"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/sorafumi.desktop" || fail "desktop entry is not valid"
fi
grep -q 'lib/sorafumi/sorafumi' "$prefix/bin/sorafumi" || fail "starter does not start the program"
# Each module holds its own windows alone: what else it uses, the program that
# loads it holds, or a library the module names; nothing of the program is in
# it twice.
symbols() { # kinds files...
    local kinds=$1
    shift
    nm -D "$@" | awk -v kinds="$kinds" 'NF >= 2 && $(NF - 1) ~ kinds { sub(/@.*/, "", $NF); print $NF }' | sort -u
}
program="$prefix/lib/sorafumi/sorafumi"
for module in sorafumi-web.so sorafumi-stats.so; do
    libraries=$(ldd "$prefix/lib/sorafumi/$module" | awk '$3 ~ /^\// { print $3 }')
    # shellcheck disable=SC2086 # one library a word
    missing=$(comm -23 <(symbols '^U$' "$prefix/lib/sorafumi/$module") <(symbols '^[^Uw]$' "$program" $libraries))
    [ -z "$missing" ] || fail "$module needs what the program does not hold: $(head -3 <<< "$missing" | c++filt | paste -sd ";")"
    twice=$(comm -12 <(symbols '^[TDBR]$' "$prefix/lib/sorafumi/$module") <(symbols '^[TDBR]$' "$program") |
        grep -v '^\(_edata\|_end\|__bss_start\)$' || true)
    [ -z "$twice" ] || fail "$module holds a second copy of the program's $(head -3 <<< "$twice" | c++filt | paste -sd ";")"
done
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/jp.sorafumi.Sorafumi.metainfo.xml" > /dev/null ||
        fail "the AppStream entry is not valid"
fi

if command -v xvfb-run > /dev/null && command -v xdotool > /dev/null; then
    export prefix XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/share" QT_QPA_PLATFORM=xcb
    xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" --first-start > "$home/first-start.log" 2>&1 ||
        { cat "$home/first-start.log"; fail "the first start did not go through"; }
    diary="$home/share/日記帳Sorafumi/MYDIARY.DAT"
    [ -f "$diary" ] || fail "no diary in the user's own folder"
    [ "$(stat -c %s "$diary")" = 10090 ] || fail "the new diary does not hold its first page"
    [ ! -e "$prefix/lib/sorafumi/MYDIARY.DAT" ] || fail "the diary went into the program folder"
fi

# The package, with the packages it needs at run time.
(cd "$build" && cpack -G DEB -B "$packages" > /dev/null) || fail "the .deb was not built"
deb=$(ls "$packages"/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6charts6 libqt6webenginewidgets6 fonts-noto-cjk qt6-translations-l10n; do
    [[ "$depends" == *"$needed"* ]] || fail "the .deb does not depend on $needed"
done
dpkg-deb -c "$deb" > "$packages/contents"
grep -q './usr/bin/sorafumi$' "$packages/contents" || fail "the .deb has no starter"
for module in sorafumi-web.so sorafumi-stats.so; do
    grep -q "./usr/lib/sorafumi/$module\$" "$packages/contents" || fail "the .deb has no $module"
done
echo "3 passed, 0 failed"
