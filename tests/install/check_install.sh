#!/usr/bin/env bash
# Installs the build into an empty prefix and checks the installed layout: the
# program with the files it reads, the starter, the desktop entry and icons.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
for file in lib/sorafumi/sorafumi lib/sorafumi/BackMap.gif lib/sorafumi/TIPOFDAY.TXT lib/sorafumi/index.htm \
    lib/sorafumi/mail.htm lib/sorafumi/02.htm lib/sorafumi/05.htm lib/sorafumi/ie.dat bin/sorafumi \
    share/applications/sorafumi.desktop share/icons/hicolor/scalable/apps/sorafumi.svg \
    share/icons/hicolor/48x48/apps/sorafumi.png share/icons/hicolor/256x256/apps/sorafumi.png; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/sorafumi" ] || fail "bin/sorafumi cannot be run"
grep -qx 'Name=日記帳Sorafumi' "$prefix/share/applications/sorafumi.desktop" || fail "desktop entry has no name"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/sorafumi.desktop" || fail "desktop entry is not valid"
fi
grep -q 'lib/sorafumi/sorafumi' "$prefix/bin/sorafumi" || fail "starter does not start the program"
echo "1 passed, 0 failed"
