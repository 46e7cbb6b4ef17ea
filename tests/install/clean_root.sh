#!/usr/bin/env bash
# The .deb on a clean Debian 12: builds it, lets lintian look at it, makes a
# minimal root from Debian's packages, installs the .deb there with apt
# resolving what it needs, and starts the installed program in that root on an
# empty profile until its first-start question shows on a headless X server.
# The root is removed afterwards; the packages downloaded are kept in a cache
# so the next run is quick. Skipped where it cannot run (not root, no tools,
# no mirror).
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

# Inside mmdebstrap's last step: the root is ready, its /proc and /dev mounted.
start_in_root() { # root
    local root=$1 display program
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3> "$root/tmp/display" 2> /dev/null &
    local server=$!
    for _ in $(seq 50); do [ -s "$root/tmp/display" ] && break; sleep 0.2; done
    display=:$(cat "$root/tmp/display")
    mkdir -p "$root/tmp/.X11-unix" "$root/tmp/home"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    chroot "$root" env -i HOME=/tmp/home XDG_CONFIG_HOME=/tmp/home/.config XDG_DATA_HOME=/tmp/home/.local/share \
        LANG=C.UTF-8 PATH=/usr/bin:/bin DISPLAY="$display" QT_QPA_PLATFORM=xcb /usr/bin/sorafumi \
        > "$root/tmp/sorafumi.log" 2>&1 &
    program=$!
    local asked=0
    DISPLAY=$display timeout 60 xdotool search --sync --onlyvisible --name '^新規登録$' > /dev/null && asked=1
    kill "$program" "$server" 2> /dev/null || true
    wait "$program" "$server" 2> /dev/null || true
    umount "$root/tmp/.X11-unix"
    if grep -E 'cannot open shared object|Could not (load|find) the Qt platform plugin' "$root/tmp/sorafumi.log" ||
        [ "$asked" = 0 ]; then
        cat "$root/tmp/sorafumi.log"
        fail "the installed program did not reach its first-start question"
    fi
    echo "The installed program asks its first-start question."
}
if [ "${1:-}" = --start-in-root ]; then
    start_in_root "$2"
    exit
fi

build=$1
mirror=${SORAFUMI_MIRROR:-http://deb.debian.org/debian}
cache=${SORAFUMI_CLEAN_ROOT_CACHE:-/var/cache/sorafumi-clean-root}
[ "$(id -u)" = 0 ] || skip "making a root and entering it needs root"
for tool in mmdebstrap lintian Xvfb xdotool python3; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (tools/packages.sh installs it)"
done
unshare --mount true 2> /dev/null || skip "this machine lets nothing be mounted, as the root needs (a container?)"
python3 -c "import urllib.request; urllib.request.urlopen('$mirror/dists/bookworm/Release', timeout=20)" \
    2> /dev/null || skip "the package mirror $mirror cannot be reached"

work=$(mktemp -d)
# Whatever a failure leaves mounted in the root stays untouched on removal.
trap 'mountpoint -q "$work/root/tmp/.X11-unix" && umount "$work/root/tmp/.X11-unix"; rm -rf --one-file-system "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "the .deb was not built"; }
deb=$(ls "$work"/sorafumi_*.deb)

lintian "$deb" > "$work/lintian.log" 2>&1 || true
grep -v '^running with root privileges' "$work/lintian.log" || true
! grep -q '^E:' "$work/lintian.log" || fail "lintian finds errors in the .deb"

# Only the package's own Depends: no recommended packages come along.
mkdir -p "$cache"
mmdebstrap --variant=minbase --mode=root --aptopt='APT::Install-Recommends "false"' --dpkgopt=force-unsafe-io \
    --skip=download/empty \
    --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
    --setup-hook="sync-in $cache /var/cache/apt/archives/" \
    --customize-hook="copy-in $deb /tmp" \
    --customize-hook="chroot \"\$1\" apt-get install -y -q /tmp/$(basename "$deb")" \
    --customize-hook="sync-out /var/cache/apt/archives $cache" \
    --customize-hook="\"$(readlink -f "$0")\" --start-in-root \"\$1\"" \
    bookworm "$work/root" "deb $mirror bookworm main" > "$work/mmdebstrap.log" 2>&1 ||
    { tail -40 "$work/mmdebstrap.log"; fail "the .deb did not install and start in a clean Debian 12 root"; }
grep -F 'The installed program asks' "$work/mmdebstrap.log"
echo "1 passed, 0 failed"
