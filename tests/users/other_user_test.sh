#!/usr/bin/env bash
# Another user of the machine, with write access to the diary's folder: a
# group folder they share with the owner, and a sticky folder open to all like
# /tmp. They plant a journal that would cut the diary to one page, a
# temporary file of their own that anyone may write, and links at the
# temporary names to the owner's files and folders. The owner then uses the
# diary through the crash probe, and nothing the other user planted may
# change the diary, reach the owner's files, or get the diary's bytes to them.
# The links work only where the kernel follows them into such folders, so the
# protections against that are off while the test runs, as on many machines.
#
# usage: other_user_test.sh PATH-TO-sorafumi_crashprobe [PATH-TO-sorafumi]
set -uo pipefail

probe=$1
program=${2:-}
owner=sorafumi-owner
other=sorafumi-other
family=sorafumi-family

[ "$(id -u)" = 0 ] || { echo "skipped: only root can make the two users this test needs"; exit 77; }
for tool in useradd userdel groupadd groupdel runuser gzip; do
    command -v $tool >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/sorafumi-users.XXXXXX")
chmod 0755 "$scratch"
old_symlinks=$(cat /proc/sys/fs/protected_symlinks 2>/dev/null)
old_regular=$(cat /proc/sys/fs/protected_regular 2>/dev/null)
cleanup()
{
    [ -n "$old_symlinks" ] && echo "$old_symlinks" >/proc/sys/fs/protected_symlinks
    [ -n "$old_regular" ] && echo "$old_regular" >/proc/sys/fs/protected_regular
    userdel "$owner" 2>/dev/null
    userdel "$other" 2>/dev/null
    groupdel "$family" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
echo 0 >/proc/sys/fs/protected_symlinks 2>/dev/null && echo 0 >/proc/sys/fs/protected_regular 2>/dev/null ||
    echo "note: the kernel's link protections cannot be turned off here; the links are tried with them on"

# Both users share the group "users"; the diary's group is the owner's family.
userdel "$owner" 2>/dev/null
userdel "$other" 2>/dev/null
groupdel "$family" 2>/dev/null
groupadd "$family" && useradd -M -d "$scratch/owner" -g users -G "$family" "$owner" &&
    useradd -M -d "$scratch/other" -g users "$other" || { echo "cannot make the test's users"; exit 1; }
install -d -o "$owner" -g users -m 0700 "$scratch/owner"
install -d -o "$other" -g users -m 0700 "$scratch/other"
install -m 0755 "$probe" "$scratch/probe"

failed=0
fail()
{
    echo "FAIL [$place]: $*"
    failed=1
}
as_owner()
{
    runuser -u "$owner" -- env HOME="$scratch/owner" XDG_STATE_HOME="$scratch/owner/state" \
        XDG_DATA_HOME="$scratch/owner/data" LANG=C.UTF-8 "$@"
}
as_other() { runuser -u "$other" -- "$@"; }
pages() { as_owner "$scratch/probe" dump "$diary" | sed -n 's/^pages //p'; }
kept_as_it_was()
{
    local what=$1
    [ "$(stat -c '%a %U:%G' "$diary")" = "640 $owner:$family" ] ||
        fail "$what: the diary is $(stat -c '%a %U:%G' "$diary"), not 640 $owner:$family"
    as_other cat "$diary" >/dev/null 2>&1 && fail "$what: the other user can read the diary"
    cmp -s "$victim" "$scratch/bashrc" || fail "$what: the owner's $victim was written"
    [ -f "$keep/photo.jpg" ] || fail "$what: the owner's $keep/photo.jpg is gone"
}
# A journal that cuts the diary to its first page: page 2 appended, no old
# record, and its CRC-32 (gzip's trailer holds it).
journal_cutting_to_one_page()
{
    local head='SFJRNL01\x02\x00\x00\x00\x00\x00\x00\x00'
    printf "$head"
    printf "$head" | gzip -c | tail -c 8 | head -c 4
}

# The owner's own files, which a link may lead to.
victim=$scratch/owner/.bashrc
keep=$scratch/owner/keep
printf 'alias ls="ls -F"\n' >"$scratch/bashrc"
# A diary of five pages, 0640 owner:family, with nothing beside it; the
# owner's files as they were.
fresh()
{
    rm -rf "$top/diary/"* "$top/diary/"*.* "$top/export/"* "$top/export/"*.* "$top/backups/"* "$top/backups/"*.* \
        "$victim" "$keep"
    as_owner sh -c "cat '$scratch/bashrc' >'$victim' && mkdir '$keep' && echo JPEG >'$keep/photo.jpg'"
    as_owner "$scratch/probe" build "$diary" && chgrp "$family" "$diary" && chmod 0640 "$diary"
}

# A folder of the group "users", and a sticky one open to everybody.
for place in group sticky; do
    top=$scratch/$place
    for folder in "$top" "$top/diary" "$top/export" "$top/backups"; do
        case $place in
            group) install -d -g users -m 0770 "$folder" ;;
            sticky) install -d -m 1777 "$folder" ;;
        esac
    done
    diary=$top/diary/DIARY.DAT
    tmp=$top/diary/'~~Tmp~~.Tmp'

    # 8: the planted journal is not played into the diary, and is named.
    fresh
    journal_cutting_to_one_page | as_other tee "$diary-journal" >/dev/null
    as_owner "$scratch/probe" dump "$diary" >"$scratch/dump"
    grep -q '^pages 5$' "$scratch/dump" || fail "the planted journal cut the diary: $(tail -1 "$scratch/dump")"
    grep -q "$diary-journal" "$scratch/dump" || fail "no message names the planted journal"
    as_owner "$scratch/probe" delete "$diary" 2>/dev/null
    [ "$(pages)" = 4 ] || fail "a page deletion played the planted journal: $(pages) pages"

    # 9, 10: another user's world-writable temporary file takes no diary.
    fresh
    as_other sh -c "echo theirs >'$tmp' && chmod 0666 '$tmp'"
    as_owner "$scratch/probe" delete "$diary" 2>/dev/null
    [ "$(pages)" = 4 ] || fail "the page deletion beside another user's temporary file failed: $(pages) pages"
    [ "$(cat "$tmp")" = theirs ] || fail "the other user's temporary file received the diary"
    kept_as_it_was "page deleted"

    # 9, 10: links at the temporary names to the owner's file and folder.
    fresh
    as_other ln -s "$victim" "$tmp"
    as_owner "$scratch/probe" build "$top/backups/$(as_owner "$scratch/probe" copy-name "$diary" 2026-12-06)" fewer
    as_owner "$scratch/probe" restore "$diary" 2>/dev/null
    [ "$(pages)" = 4 ] || fail "the restore beside a link at its temporary name failed: $(pages) pages"
    kept_as_it_was "restored"

    fresh
    part=$top/backups/$(as_owner "$scratch/probe" copy-name "$diary" 2026-12-07).part
    as_other ln -s "$victim" "$part"
    as_owner "$scratch/probe" backup "$diary" 2>/dev/null
    [ -f "${part%.part}" ] || fail "no backup was taken beside a link at its temporary name"
    kept_as_it_was "backup taken"

    fresh
    as_other ln -s "$keep" "$top/export/~~Export~~.Tmp"
    as_owner "$scratch/probe" export "$diary" 2>/dev/null
    [ -f "$top/export/2026-12-01.txt" ] || fail "the export beside a link at its temporary folder failed"
    kept_as_it_was "exported"
done

# 11: the call between two copies of the program. The other user takes first,
# in /tmp, the name the owner's copies once called each other by; the owner
# then starts the real program on a diary, and a second copy on the same
# diary. The second must never call the other user's socket, and must leave
# the diary alone.
place=socket
if [ -n "$program" ] && command -v python3 >/dev/null && command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    install -m 0755 "$program" "$scratch/sorafumi"
    diary=$scratch/owner/DIARY.DAT
    config=$scratch/owner/config/日記帳Sorafumi
    as_owner "$scratch/probe" build "$diary"
    as_owner mkdir -p -m 0700 "$config" "$scratch/owner/run"
    printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n[User]\nUserName=owner\nLoginOnOff=0\nUserDataFile=%s\n' \
        "$diary" | as_owner tee "$config/日記帳Sorafumi.ini" >/dev/null
    cp "$diary" "$scratch/diary-before"
    squatted=/tmp/sorafumi-$(id -u "$owner")-$(printf '%s' "$diary" | sha1sum | cut -c1-20)
    rm -f "$squatted" "$scratch/called" "$scratch/over"
    touch "$scratch/called" && chown "$other" "$scratch/called"
    as_other python3 -c '
import os, socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
os.chmod(sys.argv[1], 0o777)
server.listen(4)
server.settimeout(0.2)
# Until the test is over, or a minute at most.
for _ in range(300):
    if os.path.exists(sys.argv[3]):
        break
    try:
        caller, _ = server.accept()
        open(sys.argv[2], "a").write("called\n")
        caller.close()
    except socket.timeout:
        pass
os.unlink(sys.argv[1])
' "$squatted" "$scratch/called" "$scratch/over" &
    squatter=$!
    for _ in $(seq 50); do [ -S "$squatted" ] && break; sleep 0.1; done
    # A display of the owner's own, on which the second copy's box is closed.
    as_owner Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
    display=:$(cat "$scratch/display")
    program_as_owner()
    {
        as_owner env DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch/owner/config" \
            XDG_RUNTIME_DIR="$scratch/owner/run" "$@"
    }
    program_as_owner "$scratch/sorafumi" >"$scratch/first.log" 2>&1 &
    first=$!
    for _ in $(seq 100); do ls "$scratch/owner/run"/sorafumi-* >/dev/null 2>&1 && break; sleep 0.1; done
    # The second copy says that the diary is open elsewhere; once its box is
    # closed it calls the first copy, and ends.
    program_as_owner timeout 20 "$scratch/sorafumi" >"$scratch/second.log" 2>&1 &
    second=$!
    sleep 1
    box=$(program_as_owner timeout 10 xdotool search --sync --onlyvisible --pid "$(pgrep -n -u "$owner" -x sorafumi)" |
        tail -1)
    [ -n "$box" ] && program_as_owner timeout 10 xdotool windowfocus --sync "$box" key Return
    wait "$second" || fail "the second copy did not end after its box (exit $?)"
    [ -s "$scratch/called" ] && fail "the second copy called the other user's socket in /tmp"
    ls "$scratch/owner/run"/sorafumi-* >/dev/null 2>&1 || fail "the first copy listens nowhere in the owner's runtime folder"
    cmp -s "$diary" "$scratch/diary-before" || fail "the second copy changed the diary"
    pkill -KILL -u "$owner" 2>/dev/null
    touch "$scratch/over"
    { wait "$first" "$squatter" "$xvfb"; } 2>/dev/null
    rm -f "$squatted"
else
    echo "note: no program, python3, Xvfb or xdotool: the call between two copies was not tried"
fi

[ $failed = 0 ] && echo "passed: the other user's files changed nothing of the owner's"
exit $failed
