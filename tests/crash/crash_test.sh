#!/usr/bin/env bash
# Crashes and disk faults in the middle of every store operation.
#
# For each operation the crash probe runs on a fresh five-page diary:
#  - killed (SIGKILL) at the Nth call of each write, flush, rename, open and
#    unlink (and of the export's folder calls, the backups' copy and their
#    reads), N stepping up until it finishes, and at random moments;
#  - killed after a write that reached the file only in part, as a power cut
#    leaves it;
#  - with ENOSPC and then EIO returned by each of those calls that touches the
#    diary's folder; "store-delete" fails the store of a page the user then
#    deletes;
#  - under a file size limit (ulimit -f) that the operation's writes cross.
# An operation named with "-sealed" runs in a folder that takes no new file
# (made immutable), so that the page's journal lives in the state folder.
# "export" writes the diary out as text files and as HTML into a folder beside
# it, "backup" stores a page on a day with no backup yet, so that the diary is
# copied into the backups folder first ("import-backup" imports pages on such
# a day: it is killed, not faulted), and "restore" puts an older copy from
# there in the diary's place; their disk faults are given only to the calls
# that touch the export or backups folder (and, for "restore", the diary's).
# After each run the diary is opened the way the program opens it (undoing what
# a crash left) and must hold every page exactly as before the operation or
# exactly as after it, with no temporary file or journal left beside it. A
# failed call must end in one file error box, never in a crash. An export
# leaves the diary as it was, and in its folder only whole files under their
# final names; a backup leaves only whole copies under a copy's name, and the
# page stored even when the copy fails; a restore keeps the diary as it was
# among the backups before it replaces it.
# "merge" stores an edited page just after a sync tool renamed the other
# computer's version over the diary: the diary then holds that version or the
# merge of both, and once merged both versions are among the backups.
# "merge-copy" merges a sync tool's conflict copy as the diary opens: the
# diary holds its pages before or the merge, the copy stays beside it or is
# among the backups, and a copy left beside a merged diary merges again into
# the same pages.
# The lock's operations run on a diary a start finds by the name the settings
# keep (settings.ini beside the diary's folder), as the program's does: "lock"
# turns the plain diary into DIARY.sfk, "unlock-store" stores a page in the
# locked diary, "password" changes its password, "unlock-remove" takes the
# lock off. The next start must find the plain diary as before, or the
# encrypted one opened by the old or the new password with every page whole,
# read back alike by a second reader, and nothing else beside it; a plain
# diary whose locking was cut short locks again. No file holds a page's text
# while the diary is encrypted, nor beside the diary during an encrypting
# operation. (Not given to the export's, backups' or random kills: each run
# derives a key, about half a second.)
# The draft: "draft-keep" starts with the draft of an earlier run's words in
# the state folder, takes it back, types newer words and keeps their draft at
# once (on the draft's own thread); "draft-offer" starts with that newer draft,
# takes it back and stores the page. A draft-keep never writes the diary, and
# leaves the earlier draft or the newer one, whole (a new draft that never
# took its place is no draft); the next start stores exactly its words. A
# draft-offer leaves the diary as before or with the draft's words stored,
# the draft whole until they are; the next start stores them once, or finds
# them stored. A draft that cannot be kept is told on the status line.
# strace counts each thread's calls on its own: a call that another thread's
# call of the same count comes before is reached through its file (-P).
#
# usage: crash_test.sh PATH-TO-sorafumi_crashprobe [OPERATION...]
set -uo pipefail

probe=$1
shift
operations=("$@")
[ ${#operations[@]} -gt 0 ] || operations=(store add delete save compact-tail store-delete import import-backup store-sealed add-sealed export backup restore merge merge-copy)

if ! command -v strace >/dev/null; then
    echo "strace is missing: install it (tools/setup.sh does)"
    exit 1
fi
if ! strace -qq -o /dev/null -e inject=write:error=ENOSPC:when=1 true 2>/dev/null; then
    echo "strace cannot trace here (ptrace not permitted): skipped"
    exit 77
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/sorafumi-crash.XXXXXX")
trap 'chattr -i "$scratch/diary" 2>/dev/null; rm -rf "$scratch"' EXIT
export XDG_STATE_HOME=$scratch/state
sealed=
# The diary's folder holds nothing else.
work=$scratch/diary
mkdir "$work"
diary=$work/DIARY.DAT
temp=$work/'~~Tmp~~.Tmp'
err=$scratch/err
trace=$scratch/trace
# Beside the diary's folder, as the crash probe puts them.
exports=$scratch/export
etemp_name='~~Export~~.Tmp'
etemp=$exports/$etemp_name
reference=$scratch/reference
backups=$scratch/backups
# The diary of five pages as built, and one with a page fewer: the copies in
# the backups folder before the operation.
original=$scratch/original.DAT
fewer=$scratch/fewer.DAT
# The two computers' versions a merge meets, and the merge of both.
ours=$scratch/ours.DAT
theirs=$scratch/theirs.DAT
merged=$scratch/merged.DAT
merged_copy=$scratch/merged-copy.DAT
delivery=$work/.syncthing.DIARY.DAT.tmp
conflict_name=DIARY.sync-conflict-20261202-081500-K3QXW7A.DAT
conflict=$work/$conflict_name
"$probe" build "$original" && "$probe" build "$fewer" fewer && "$probe" build "$ours" ours &&
    "$probe" build "$theirs" theirs && "$probe" build "$merged" merged &&
    "$probe" build "$merged_copy" merged-copy ||
    { echo "cannot build a diary in $scratch"; exit 1; }

# The calls a test kills or fails at. strace counts each name on its own.
base_calls=(openat write pwrite64 fallocate fsync fdatasync ftruncate rename unlink)
# Called for many other files as the program starts: only the ones that touch
# the diary's folder are killed at.
folder_only=" openat "

# Each run of the probe passes or fails once, whatever number of faults it
# shows.
passed=0
failed=0
run_failed=0
fail()
{
    echo "FAIL [$operation]: $*"
    run_failed=1
}
tally()
{
    if [ $run_failed = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    run_failed=0
}

# A diary of five pages; the operations that cut the file find part of a sixth.
fresh()
{
    if is_lock_operation; then
        fresh_lock
        return
    fi
    [ -n "$sealed" ] && chattr -i "$work"
    rm -rf "$work"/* "$work"/.[!.]* 2>/dev/null
    local tail=
    case $operation in save | compact-tail) tail=tail ;; esac
    "$probe" build "$diary" $tail || { echo "cannot build a diary in $work"; exit 1; }
    case $operation in
        merge | merge-copy) rm -rf "$XDG_STATE_HOME" "$backups" && mkdir "$backups" ;;
    esac
    case $operation in
        merge) cp "$theirs" "$delivery" ;;
        # Open since before both computers wrote: the last state in common
        # is the merge's base.
        merge-copy) "$probe" dump "$diary" >/dev/null 2>&1 && cp "$ours" "$diary" && cp "$theirs" "$conflict" ;;
    esac
    [ -z "$sealed" ] || chattr +i "$work"
    case $operation in
        export | backup | import-backup | restore) rm -rf "$exports" "$backups" && mkdir "$exports" "$backups" ;;
    esac
    case $operation in
        backup | import-backup) cp "$fewer" "$(copy 20261205)" && cp "$fewer" "$(copy 20261206)" ;;
        restore) cp "$fewer" "$(copy 20261206)" ;;
    esac
    # The draft an earlier run left, and the merge base of the diary as it is
    # now, as that run's end left it.
    case $operation in
        draft-keep) rm -rf "$XDG_STATE_HOME" "$backups" && cp -a "$scratch/state-old" "$XDG_STATE_HOME" ;;
        draft-offer) rm -rf "$XDG_STATE_HOME" "$backups" && cp -a "$scratch/state-new" "$XDG_STATE_HOME" ;;
    esac
    is_draft_operation && "$probe" dump "$diary" >/dev/null 2>&1
}

is_draft_operation()
{
    case $operation in draft-keep | draft-offer) return 0 ;; esac
    return 1
}

# The state folders the draft operations start from, each with the merge base
# the run that kept its draft left: the earlier words kept by a first run, and
# the newer ones kept over them by a second. How the probe prints each draft,
# and the diary a start that takes it back stores, with its words.
draft_file=
prepare_drafts()
{
    [ -z "$draft_file" ] || return 0
    local which words
    rm -rf "$work"/* "$XDG_STATE_HOME" "$backups" "$scratch/state-old" "$scratch/state-new"
    cp "$original" "$diary" && "$probe" draft-keep "$diary" old 2>/dev/null || return 1
    draft_file=$(find "$XDG_STATE_HOME" -type f -name 'draft-*')
    [ -f "$draft_file" ] || return 1
    draft_name=${draft_file##*/}
    state_folder=${draft_file%/*}
    old_words=$("$probe" draft "$diary") && cp -a "$XDG_STATE_HOME" "$scratch/state-old" &&
        "$probe" draft-keep "$diary" 2>/dev/null && new_words=$("$probe" draft "$diary") &&
        cp -a "$XDG_STATE_HOME" "$scratch/state-new" || return 1
    for which in old new; do
        rm -rf "$XDG_STATE_HOME" && cp -a "$scratch/state-$which" "$XDG_STATE_HOME" && cp "$original" "$diary" &&
            "$probe" draft-offer "$diary" 2>/dev/null || return 1
        words=夜になって雪はやみ、月が出た。
        [ $which = old ] && words=夕方から雪、窓の外が静かになった。
        LC_ALL=C grep -qF "$(printf %s "$words" | iconv -f UTF-8 -t CP932)" "$diary" || return 1
        printf -v "offered_$which" %s "$("$probe" dump "$diary" 2>/dev/null)"
    done
    [ "$old_words" != "$new_words" ] && [[ $new_words == draft* ]]
}

is_lock_operation()
{
    case $operation in lock | unlock-store | password | unlock-remove) return 0 ;; esac
    return 1
}

# The plain diary of five pages for "lock", and for the others the same
# locked with the old password, its name in the settings.
locked=$work/DIARY.sfk
settings=$scratch/settings.ini
fresh_lock()
{
    rm -rf "$work"/* "$work"/.[!.]* "$XDG_STATE_HOME" "$settings" "$backups"
    if [ "$operation" = lock ]; then
        "$probe" build "$diary" || { echo "cannot build a diary in $work"; exit 1; }
        return
    fi
    if [ ! -e "$scratch/locked.sfk" ]; then
        "$probe" build "$diary" && "$probe" lock "$diary" 2>/dev/null && [ -e "$locked" ] ||
            { echo "cannot lock a diary in $work"; exit 1; }
        mv "$locked" "$scratch/locked.sfk" && mv "$settings" "$scratch/locked.ini"
        rm -rf "$XDG_STATE_HOME"
    fi
    cp "$scratch/locked.sfk" "$locked" && cp "$scratch/locked.ini" "$settings"
}

# Words of the pages (a day's date, a line of the body before and after the
# store) as the diary file holds them.
page_words=()
for word in 2026年12月 散歩の途中で梅の花を見た 庭が真っ白になった; do
    page_words+=(-e "$(printf %s "$word" | iconv -f UTF-8 -t CP932)")
done
# The files in the diary's folder and the state folder that hold them.
plain_text_files()
{
    LC_ALL=C grep -rlaF "${page_words[@]}" "$work" "$XDG_STATE_HOME" 2>/dev/null
}

# After a crash or a fault in a lock's operation: the diary the next start
# opens is as before or as after, nothing is left beside it, and no page's
# text is outside a plain diary.
#   check_lock WHAT [pages-must-be-before] [must-be-after] [FILE-LEFT-AS-TOLD]
check_lock()
{
    local what=$1 strict=${2:-0} only_after=${3:-0} told=${4:-} leaked left opened
    # Before the start tidies up: an encrypting operation writes no page's
    # text but into the plain diary it starts from (and its merge base).
    if [ "$operation" != unlock-remove ]; then
        leaked=$(plain_text_files | grep -vx -e "$diary" -e "$XDG_STATE_HOME/.*/merge-base-[0-9a-f]*\(\.new\)\?" | tr '\n' ' ')
        [ -z "$leaked" ] || fail "$what: a page's text is in $leaked"
    fi
    now=$("$probe" start "$diary" 2>/dev/null)
    outcome=neither
    [ "$now" = "$after" ] && outcome=after
    [ "$now" = "$before" ] && outcome=before
    if [ $outcome = neither ]; then
        fail "$what: the next start finds the diary neither as before nor as after:"
        echo "$now" | grep -v '^page ' | sed 's/^/    /'
    elif [ "$only_after" = 1 ] && [ $outcome != after ]; then
        fail "$what: the diary is as before, not as after"
    elif [ "$strict" = 1 ] && [ $outcome != before ]; then
        fail "$what: the diary is as after, though the fault came before it was safe"
    fi
    opened=$(echo "$now" | sed -n 's/^\(plain\|encrypted\) \([^ ,]*\).*/\2/p')
    # A plain diary whose lock was cut short: locking it again works.
    if [ "$operation:$outcome" = lock:before ] && [ -e "$locked" ]; then
        "$probe" lock "$diary" 2>"$err.next"
        if [ "$("$probe" start "$diary" 2>/dev/null)" != "$after" ]; then
            fail "$what: DIARY.sfk is left beside the plain diary, and locking again fails:"
            grep '^box ' "$err.next" | sed 's/^/    /'
        fi
        return
    fi
    left=$(ls -A "$work" | grep -vx -e "${opened:-DIARY.DAT}" -e "$told" | tr '\n' ' ')
    [ -z "$left" ] || fail "$what: left beside the diary: $left"
    if [[ $now == encrypted* ]]; then
        leaked=$(plain_text_files | grep -vx "$work/$told" | tr '\n' ' ')
        [ -z "$leaked" ] || fail "$what: the diary is encrypted, yet a page's text is in $leaked"
    fi
}

# A copy of the diary in the backups folder, named as the program names it:
# after the diary, a mark of its place and the day (and time).
copy_stem=$("$probe" copy-name "$diary" 2000-01-01)
copy_stem=${copy_stem%20000101.DAT}
copy() { echo "$backups/$copy_stem$1.DAT"; }

# The files the operation writes outside the diary's folder, with their hashes.
outputs()
{
    (cd "$scratch" && find export backups -type f 2>/dev/null | sort | xargs -r sha256sum)
    is_draft_operation && "$probe" draft "$diary" 2>/dev/null
}

# Which calls a fault is given to.
faulted()
{
    case $operation:$1 in
        *:other) return 1 ;;
        export:export | export:efolder | export:etemp | export:etempdir) return 0 ;;
        backup:backups | backup:bfolder) return 0 ;;
        # The copy's faults are the backup's, the rewrite's the import's.
        export:* | backup:* | import-backup:*) return 1 ;;
    esac
    return 0
}

# Boxes other than the questions before a page is deleted, before a conflict
# copy is merged and before a draft is taken back.
draft_offer=保存されていない書きかけがあります
errors_shown()
{
    grep '^box ' "$err" | grep -v '^box \[日記の統合\] 他のコンピュータで書かれたページが届いています' |
        grep -v "^box \[日記帳Sorafumi\] $draft_offer" | grep -vc '^box \[ページ削除の問い合わせ\]'
}

size_of() { stat -c %s "$diary" 2>/dev/null || echo missing; }

# A merge's base stays as the operation left it; the offer of a conflict copy
# (refused) is not a page.
dump()
{
    case $operation in
        lock | unlock-store | password | unlock-remove) "$probe" start "$diary" 2>/dev/null ;;
        merge | merge-copy) XDG_STATE_HOME=$scratch/dump-state "$probe" dump "$diary" 2>/dev/null | grep -v '^box \[日記の統合\]' ;;
        *) "$probe" dump "$diary" 2>/dev/null ;;
    esac
}

# Runs a command with strace's injection (on the calls aim chose), without the
# shell's notice of a kill.
aim_filter=()
run_injected()
{
    local what=$1 rc
    shift
    strace -f -qq -o /dev/null "${aim_filter[@]}" -e "inject=$what" "$probe" "$@" 2>"$err" &
    wait $! 2>/dev/null
    rc=$?
    aim_filter=()
    return $rc
}

# Whether a traced call touches the draft, the new draft or the state folder
# (whose name strace writes escaped).
touches()
{
    case $2 in
        draftnew) [[ $1 == *"/$draft_name.new"[\>\"]* ]] ;;
        draft) [[ $1 == *"/$draft_name"[\>\"]* ]] ;;
        state) [[ $1 == *"$XDG_STATE_HOME/"*Sorafumi[\>\"]* ]] ;;
        *) return 1 ;;
    esac
}

# How strace reaches event i: its thread's n-th call of that name, unless
# another thread makes its own n-th call first; then (or when told a file)
# the k-th of its thread's calls of that name that touch the event's file,
# with strace looking only at calls that touch it. False when it cannot.
#   aim I [draftnew|draft|state]
aim()
{
    local i=$1 class=${2:-} name n target path j k=0 e
    local -A seen=()
    read -r name n target <<<"${events[$i]}"
    aim_filter=()
    aim_when=$n
    [ -z "$class" ] && [ "${first[$name:$n]}" = "$i" ] && return 0
    class=${class:-$target}
    case $class in
        draftnew) path=$draft_file.new ;;
        draft) path=$draft_file ;;
        state) path=$state_folder ;;
        *) return 1 ;;
    esac
    for ((j = 0; j <= i; j++)); do
        read -r e _ <<<"${events[$j]}"
        [ "$e" = "$name" ] && touches "${texts[$j]}" "$class" || continue
        if [ "${callers[$j]}" = "${callers[$i]}" ]; then
            k=$((k + 1))
        else
            seen[${callers[$j]}]=$((${seen[${callers[$j]}]:-0} + 1))
        fi
    done
    for e in "${seen[@]}"; do [ "$e" -lt "$k" ] || return 1; done
    aim_filter=(-P "$path")
    aim_when=$k
}

# After a crash or a fault: opened again, the diary holds the state before or
# after the operation, and nothing is left beside it.
#   check WHAT [pages-must-be-before] [size-must-be-before] [must-be-after]
check()
{
    local what=$1 strict_pages=${2:-0} strict_size=${3:-0} only_after=${4:-0}
    local now size before=$before size_before=$size_before
    now=$(dump)
    size=$(size_of)
    # Killed before the sync tool's rename: its version still waits.
    if [ "$operation" = merge ] && [ -e "$delivery" ]; then
        before=$undelivered size_before=$size_undelivered
    fi
    outcome=neither
    [ "$now" = "$after" ] && outcome=after
    [ "$now" = "$before" ] && outcome=before
    if [ "$now" != "$before" ] && [ "$now" != "$after" ]; then
        fail "$what: the diary is neither as before nor as after"
        diff <(echo "$before") <(echo "$now") | sed 's/^/    before→now /' | head -20
    elif [ "$only_after" = 1 ] && [ "$now" != "$after" ]; then
        fail "$what: the pages are as before, not as after"
    elif [ "$strict_pages" = 1 ] && [ "$now" != "$before" ]; then
        fail "$what: the pages are as after, though the fault came before they were safe"
    fi
    if [ "$size" != "$size_before" ] && [ "$size" != "$size_after" ]; then
        fail "$what: the diary is $size bytes: neither $size_before (before) nor $size_after (after)"
    elif [ "$only_after" = 1 ] && [ "$size" != "$size_after" ]; then
        fail "$what: the diary is $size bytes as before, not $size_after as after"
    elif [ "$strict_size" = 1 ] && [ "$size" != "$size_before" ]; then
        fail "$what: the file was cut, though the fault came before its rewrite was safe"
    fi
    if [ -e "$temp" ] || [ -e "$journal" ]; then
        fail "$what: left beside the diary: $(cd "$work" && ls -A | grep -v '^DIARY.DAT$' | tr '\n' ' ')"
    fi
}

# The export only reads the diary; in its folder every file under a final name
# is whole, and a next export cleans up whatever a crash left.
#   check_export WHAT [must-be-complete]
check_export()
{
    local what=$1 complete=${2:-0} name left
    cmp -s "$diary" "$original" || fail "$what: the diary changed"
    left=$(ls -A "$work" | grep -vx DIARY.DAT | tr '\n' ' ')
    [ -z "$left" ] || fail "$what: left beside the diary: $left"
    while IFS= read -r name; do
        [ "$name" = "$etemp_name" ] && [ -d "$etemp" ] && continue
        if [ ! -f "$reference/$name" ]; then
            fail "$what: $name in the export folder is none of the export's files"
        elif ! cmp -s "$exports/$name" "$reference/$name"; then
            fail "$what: $name is not whole under its final name"
        fi
    done < <(ls -A "$exports")
    if [ "$complete" = 1 ] && ! diff -rq -x "$etemp_name" "$reference" "$exports" >/dev/null; then
        fail "$what: no file error was shown, yet the export is not all there"
    fi
    diff -rq "$reference" "$exports" >/dev/null && return
    "$probe" export "$diary" 2>"$err.next"
    local rc=$?
    if [ $rc -ne 0 ] || grep -q '^box ' "$err.next" || ! diff -rq "$reference" "$exports" >/dev/null; then
        fail "$what: the next export (exit $rc) does not leave the files whole and nothing else:"
        grep '^box ' "$err.next"
        ls -A "$exports" "$etemp" 2>/dev/null | sed 's/^/    /'
    fi
}

# The older copies are as they were, and the one of the 5th is gone only once
# today's is whole; today's copy holds the diary as it was before the store;
# a temporary copy left is taken over by the next backup.
check_backups()
{
    local what=$1 name today older5 older6
    today=$(basename "$(copy 20261207)") older5=$(basename "$(copy 20261205)") older6=$(basename "$(copy 20261206)")
    while IFS= read -r name; do
        case $name in
            "$older5" | "$older6")
                cmp -s "$backups/$name" "$fewer" || fail "$what: the older copy $name changed" ;;
            "$today") cmp -s "$backups/$name" "$original" || fail "$what: $today is not a whole copy of the diary" ;;
            "$today.part") ;;
            *) fail "$what: $name in the backups folder" ;;
        esac
    done < <(ls -A "$backups")
    [ -e "$backups/$older6" ] || fail "$what: the copy of the 6th, which is kept, is gone"
    [ -e "$backups/$older5" ] || [ -e "$backups/$today" ] ||
        fail "$what: the copy of the 5th is gone, though today's is not whole"
    [ -e "$backups/$today.part" ] || return
    "$probe" backup-next "$diary" 2>/dev/null
    [ -e "$backups/$today.part" ] && fail "$what: the next backup leaves the temporary copy"
    [ -e "$backups/$today" ] || fail "$what: the next backup makes no copy"
}

# The copy restored is as it was, and the diary is replaced only once it is
# kept whole among the backups.
check_restore()
{
    local what=$1 name kept older6
    kept=$(basename "$(copy 20261207-093000)") older6=$(basename "$(copy 20261206)")
    while IFS= read -r name; do
        case $name in
            "$older6") cmp -s "$backups/$name" "$fewer" || fail "$what: the copy restored changed" ;;
            "$kept") cmp -s "$backups/$name" "$original" || fail "$what: $kept is not a whole copy of the diary" ;;
            "$kept.part") ;;
            *) fail "$what: $name in the backups folder" ;;
        esac
    done < <(ls -A "$backups")
    [ "$outcome" = after ] && [ ! -e "$backups/$kept" ] && fail "$what: the diary was replaced but not kept"
}

# Once merged, both inputs are among the backups; a conflict copy is never
# gone from both its places, and one still beside a merged diary merges again
# into the same pages.
check_merge()
{
    local what=$1 name input
    has_copy() { for name in "$backups"/*; do cmp -s "$name" "$1" && return 0; done; return 1; }
    if [ "$operation" = merge ]; then
        for input in "$original" "$theirs"; do
            [ "$outcome" = after ] && ! has_copy "$input" && fail "$what: merged, but ${input##*/} is not among the backups"
        done
        return
    fi
    [ "$outcome" = after ] && ! has_copy "$ours" && fail "$what: merged, but the diary before is not among the backups"
    if [ -e "$conflict" ]; then
        cmp -s "$conflict" "$theirs" || fail "$what: the conflict copy changed"
    elif ! has_copy "$theirs"; then
        fail "$what: the conflict copy is gone from beside the diary and from the backups"
    fi
    [ "$outcome" = after ] && [ -e "$conflict" ] || return
    "$probe" merge-copy "$diary" 2>/dev/null
    [ "$(dump)" = "$after" ] || fail "$what: merged again, the copy changes the merged diary"
}

# The state folder holds the merge base, the draft, and at most a new draft
# that never took its place.
check_state_folder()
{
    local left
    left=$(ls -A "$state_folder" 2>/dev/null | grep -vx -e "$draft_name" -e "$draft_name\.new.*" -e 'merge-base-[0-9a-f]*' | tr '\n' ' ')
    [ -z "$left" ] || fail "$1: left in the state folder: $left"
}

# The next start takes the draft back, if any, and stores the page: the diary
# then holds the pages expected, the draft is gone, and nothing else was said.
#   next_start WHAT EXPECTED-PAGES
next_start()
{
    local offers
    "$probe" draft-offer "$diary" 2>"$err.next"
    offers=$(grep -c "^box \[日記帳Sorafumi\] $draft_offer" "$err.next")
    if [ "$("$probe" dump "$diary" 2>/dev/null)" != "$2" ]; then
        fail "$1: the next start ($offers offer) does not store the draft's words once:"
        diff <(echo "$2") <("$probe" dump "$diary" 2>/dev/null) | sed 's/^/    expected→now /' | head -10
    fi
    [ "$("$probe" draft "$diary")" = none ] || fail "$1: the next start leaves the draft"
    grep '^box ' "$err.next" | grep -v "$draft_offer" | while IFS= read -r box; do
        fail "$1: the next start shows $box"
    done
}

# A draft-keep leaves the diary as it was and the earlier draft or the newer
# one, whole; the next start stores exactly the words of that draft.
#   check_draft_keep WHAT [must-be-newer]
check_draft_keep()
{
    local what=$1 newer=${2:-0} left now
    cmp -s "$diary" "$original" || fail "$what: the diary changed"
    left=$(ls -A "$work" | grep -vx DIARY.DAT | tr '\n' ' ')
    [ -z "$left" ] || fail "$what: left beside the diary: $left"
    check_state_folder "$what"
    now=$("$probe" draft "$diary" 2>/dev/null)
    case $now in
        "$new_words") next_start "$what" "$offered_new" ;;
        "$old_words")
            [ "$newer" = 1 ] && fail "$what: nobody was told, yet the draft is the earlier one"
            next_start "$what" "$offered_old"
            ;;
        *) fail "$what: the draft is neither the earlier one nor the newer one, but: $now" ;;
    esac
}

# A draft-offer leaves the draft whole until its words are in the diary; the
# next start stores them once, or finds them stored.
check_draft_offer()
{
    local what=$1 now
    check_state_folder "$what"
    now=$("$probe" draft "$diary" 2>/dev/null)
    if [ "$now" != none ] && [ "$now" != "$new_words" ]; then
        fail "$what: the draft is not the one kept, but: $now"
    elif [ "$now" = none ] && [ "$outcome" != after ]; then
        fail "$what: the draft is gone, though its words are not in the diary"
    fi
    next_start "$what" "$after"
}

# What a traced call touched: "name(arguments) = result".
target_of()
{
    if is_draft_operation; then
        for class in draftnew draft state; do
            touches "$1" $class && echo $class && return
        done
    fi
    case $1 in
        rename*"$work"*) echo rename ;;
        *"$journal_name"*) echo journal ;;
        *"$etemp"*O_DIRECTORY*) echo etempdir ;;
        rename*"$exports"*) echo export ;;
        *"$etemp"*) echo etemp ;;
        *"\"$exports\""* | *"$exports>"*) echo efolder ;;
        *"$exports"*) echo export ;;
        *"\"$backups\""* | *"$backups>"*) echo bfolder ;;
        *"$backups"*) echo backups ;;
        *"$temp"*) echo temp ;;
        *"$diary>"* | *"\"$diary\""* | *"$locked>"* | *"\"$locked\""*) echo diary ;;
        *"$work"*) echo folder ;;
        *) echo other ;;
    esac
}

# check, and what the operation writes outside the diary.
verify()
{
    case $operation in
        export) check_export "$1" "${4:-0}" ;;
        backup | import-backup) check "$@"; check_backups "$1" ;;
        restore) check "$@"; check_restore "$1" ;;
        merge | merge-copy) check "$@"; check_merge "$1" ;;
        lock | unlock-store | password | unlock-remove) check_lock "$1" "${2:-0}" "${4:-0}" "${5:-}" ;;
        draft-keep) check_draft_keep "$1" "${4:-0}" ;;
        draft-offer) check "$@"; check_draft_offer "$1" ;;
        *) check "$@" ;;
    esac
}

total_kills=0
total_faults=0
total_random=0
total_torn=0
# A run that was to end at its kill: counted and its diary checked, or told
# when it ended otherwise.
counted_kill() { # what rc
    if [ "$2" -ne 137 ]; then
        fail "$1: ended with $2 instead of being killed"
        tally
        return
    fi
    kills=$((kills + 1))
    killed_here=$((killed_here + 1))
    verify "$1"
    tally
}

for operation in "${operations[@]}"; do
    base=${operation%-sealed}
    # An operation after a sealed one runs in a folder that takes files again.
    [ -z "$sealed" ] || chattr -i "$work"
    sealed=
    journal=$diary-journal
    is_lock_operation && journal=$locked-journal
    if [ "$base" != "$operation" ]; then
        chattr -i "$work" 2>/dev/null
        if ! chattr +i "$work" 2>/dev/null; then
            echo "$operation: skipped: the folder cannot be made immutable here (root and chattr are needed)"
            continue
        fi
        chattr -i "$work"
        sealed=1
        journal=$("$probe" journal "$diary")
    fi
    # strace writes names outside ASCII escaped: a journal is known by its
    # file name.
    journal_name=${journal##*/}
    case $base in
        export) calls=("${base_calls[@]}" mkdir rmdir syncfs) ;;
        backup | import-backup | restore) calls=("${base_calls[@]}" copy_file_range pread64) ;;
        # The conflict copy goes to the backups by a rename that never
        # replaces a file.
        # So does a locked diary's first rename.
        merge-copy | lock | unlock-store | password | unlock-remove) calls=("${base_calls[@]}" renameat2) ;;
        *) calls=("${base_calls[@]}") ;;
    esac
    kills=0
    faults=0
    kill_detail=
    random_detail=
    if is_draft_operation && ! prepare_drafts; then
        fail "a draft cannot be kept, or a start does not store its words"
        draft_file=
        tally
        continue
    fi

    fresh
    before=$(dump)
    size_before=$(size_of)
    if [ "$base" = merge ]; then
        undelivered=$before size_undelivered=$size_before
        cp "$theirs" "$diary"
        before=$(dump) size_before=$(size_of)
        fresh
    fi
    outputs_before=$(outputs)
    "$probe" "$base" "$diary" 2>"$err"
    rc=$?
    after=$(dump)
    size_after=$(size_of)
    outputs_after=$(outputs)
    rm -rf "$reference"
    [ "$base" = export ] && cp -r "$exports" "$reference"
    if [ $rc -ne 0 ] || [ "$(errors_shown)" -ne 0 ]; then
        fail "the operation does not run cleanly (exit $rc):"
        cat "$err"
        tally
        continue
    fi
    if is_draft_operation && [ "$(grep -c "^box \[日記帳Sorafumi\] $draft_offer" "$err")" -ne 1 ]; then
        fail "the draft an earlier run left is not offered once"
        tally
        continue
    fi
    if [ "$before" = "$after" ] && [ "$size_before" = "$size_after" ] && [ "$outputs_before" = "$outputs_after" ]; then
        fail "the operation changes nothing"
        tally
        continue
    fi
    took=$(sed -n 's/^done in \([0-9]*\) us$/\1/p' "$err")
    case $base in
        merge)
            cmp -s "$diary" "$merged" || fail "the merge does not hold every page of both versions, each as last written"
            ;;
        merge-copy)
            cmp -s "$diary" "$merged_copy" || fail "the merge does not hold both versions of each page that differs"
            ;;
    esac

    # Every call of the clean run, in order: name, its count so far, and what
    # it touched.
    fresh
    strace -f -qq -y -o "$trace" -e "trace=$(IFS=,; echo "${calls[*]}")" "$probe" "$base" "$diary" 2>/dev/null
    rc=$?
    if [ $rc -ne 0 ] || [ "$(dump)" != "$after" ] || [ "$(size_of)" != "$size_after" ] ||
        [ "$(outputs)" != "$outputs_after" ]; then
        fail "traced, the operation ends otherwise (exit $rc)"
        tally
        continue
    fi
    tally
    # Each thread's calls are counted on their own, as strace counts them when
    # it picks the one to fail: an event is the n-th of its thread. first
    # names the event strace reaches as the n-th of a name, most the most
    # calls of a name one thread made.
    declare -A count=() first=() most=()
    events=()
    callers=()
    texts=()
    while IFS= read -r line; do
        # "PID  name(arguments) = result"
        [[ $line =~ ^([0-9]+)\ +([a-z0-9_]+)\((.*)$ ]] || continue
        pid=${BASH_REMATCH[1]}
        name=${BASH_REMATCH[2]}
        line="$name(${BASH_REMATCH[3]}"
        case " ${calls[*]} " in *" $name "*) ;; *) continue ;; esac
        n=$((${count[$pid:$name]:-0} + 1))
        count[$pid:$name]=$n
        [ "$n" -le "${most[$name]:-0}" ] || most[$name]=$n
        [ -n "${first[$name:$n]:-}" ] || first[$name:$n]=${#events[@]}
        events+=("$name $n $(target_of "$line")")
        callers+=("$pid")
        texts+=("$line")
    done <"$trace"

    # Where the operation's result becomes safe: a fault up to there must
    # leave the pages (and the file's length) as they were. A save stores the
    # page first; its pages are safe once the rewrite begins.
    pages_safe=${#events[@]}
    size_safe=${#events[@]}
    opened=
    merged_at=
    rewrite=
    backing_up=
    for i in "${!events[@]}"; do
        read -r name n target <<<"${events[$i]}"
        [ -z "$opened" ] && [ "$name:$target" = openat:diary ] && opened=$i
        [ -z "$backing_up" ] && [ "$target" = backups ] && backing_up=$i
        [ -z "$rewrite" ] && [ "$name:$target" = openat:temp ] && rewrite=$i
        case $operation:$name:$target in
            delete:rename:* | compact-tail:rename:* | import:rename:* | import-backup:rename:temp | restore:rename:rename)
                pages_safe=$i size_safe=$i ;;
            save:rename:*) size_safe=$i ;;
            # The page is stored once the draft goes.
            draft-offer:unlink:draft) pages_safe=$((i - 1)) ;;
            # The merged diary's rename; the conflict copy's move follows it.
            merge:rename:rename | merge-copy:rename:rename) [ -n "$merged_at" ] || merged_at=$i pages_safe=$i size_safe=$i ;;
            # The new file takes the diary's place; after it a fault may
            # leave either.
            lock:renameat2:rename | password:rename:rename | unlock-remove:rename:rename) pages_safe=$i ;;
        esac
    done
    case $operation in save | store-delete) pages_safe=$((${rewrite:-${#events[@]}} - 1)) ;; esac

    # Killed at every call, N stepping up until the probe finishes.
    if [ "$operation" != store-delete ]; then
        for name in "${calls[@]}"; do
            if [[ $folder_only == *" $name "* ]]; then
                points=()
                for i in "${!events[@]}"; do
                    read -r e n target <<<"${events[$i]}"
                    [ "$e" = "$name" ] && [ "$target" != other ] && [ "${first[$e:$n]}" = "$i" ] && points+=("$n")
                done
            else
                points=()
                for ((n = 1; n <= ${most[$name]:-0} + 1; n++)); do points+=("$n"); done
            fi
            killed_here=0
            for n in "${points[@]}"; do
                fresh
                run_injected "$name:signal=SIGKILL:when=$n" "$base" "$diary"
                rc=$?
                if [ $rc -eq 0 ]; then
                    # Finished: every call of that name was killed at once.
                    if [[ $folder_only != *" $name "* ]] && [ "$n" -ne $((${most[$name]:-0} + 1)) ]; then
                        fail "$name: finished at call $n, though the clean run made ${most[$name]:-0}"
                        tally
                    fi
                    break
                fi
                counted_kill "killed at $name call $n" $rc
            done
            # The calls another thread's call of the same count comes before.
            for i in "${!events[@]}"; do
                read -r e n target <<<"${events[$i]}"
                [ "$e" = "$name" ] && [ "$target" != other ] && [ "${first[$e:$n]}" != "$i" ] || continue
                what="killed at $name call $n of its thread ($target)"
                if ! aim "$i"; then
                    fail "$what: strace cannot be aimed at it"
                    tally
                    continue
                fi
                fresh
                run_injected "$name:signal=SIGKILL:when=$aim_when" "$base" "$diary"
                counted_kill "$what" $?
            done
            [ $killed_here -gt 0 ] && kill_detail+=" $name $killed_here,"
        done
    fi

    # Killed at random moments of the operation.
    random=0
    if [ "$operation" = save ] || [ "$operation" = delete ]; then
        # The flushes take longer some times than others: the quickest of a
        # few clean runs bounds the moments.
        for ((k = 0; k < 3; k++)); do
            fresh
            "$probe" "$base" "$diary" 2>"$err"
            t=$(sed -n 's/^done in \([0-9]*\) us$/\1/p' "$err")
            [ -n "$t" ] && [ "$t" -lt "${took:-999999999}" ] && took=$t
        done
        RANDOM=20261207
        span=$((${took:-5000} + 1))
        declare -A seen=([killed]=0 [finished]=0 [before]=0 [after]=0)
        for ((k = 0; k < 40; k++)); do
            delay=$(((RANDOM * 32768 + RANDOM) % span))
            fresh
            SORAFUMI_CRASHPROBE_KILL_US=$delay "$probe" "$base" "$diary" 2>/dev/null &
            wait $! 2>/dev/null
            rc=$?
            [ $rc -eq 0 ] || [ $rc -eq 137 ] || fail "random kill after $delay us: ended with $rc"
            random=$((random + 1))
            check "killed $delay us into the operation"
            tally
            if [ $rc -eq 137 ]; then seen[killed]=$((seen[killed] + 1)); else seen[finished]=$((seen[finished] + 1)); fi
            [ $outcome != neither ] && seen[$outcome]=$((seen[$outcome] + 1))
        done
        random_detail=" (within ${span} us: ${seen[killed]} killed, ${seen[finished]} finished first; ${seen[before]} as before, ${seen[after]} as after)"
        unset seen
    fi

    # A write that reaches the disk only in part, then a power cut before it
    # was flushed: the first 4096 bytes of the write never arrive, and the
    # probe dies at the flush that follows.
    torn=0
    if [ "$operation" != store-delete ]; then
        for i in "${!events[@]}"; do
            read -r name n target <<<"${events[$i]}"
            case $name:$target in
                pwrite64:diary | write:journal | write:temp | write:draftnew) ;;
                # Locking writes the encrypted pages in place in the new file.
                pwrite64:temp) is_lock_operation || continue ;;
                *) continue ;;
            esac
            flush=
            for ((j = i + 1; j < ${#events[@]}; j++)); do
                read -r fname m ftarget <<<"${events[$j]}"
                if [ "$ftarget" = "$target" ] && { [ "$fname" = fsync ] || [ "$fname" = fdatasync ]; }; then
                    flush=$j
                    break
                fi
            done
            [ -n "$flush" ] || continue
            what="$name call $n ($target) torn, killed at $fname"
            # Both reached alike: through the file when either must be.
            class=
            [ "${first[$name:$n]}" = "$i" ] && [ "${first[$fname:$m]}" = "$flush" ] || class=$target
            if ! { aim "$flush" $class && flush="$fname:signal=SIGKILL:when=$aim_when" && aim "$i" $class; }; then
                fail "$what: strace cannot be aimed at it"
                tally
                continue
            fi
            fresh
            strace -f -qq -o /dev/null "${aim_filter[@]}" -e "inject=$name:retval=4096:when=$aim_when" \
                -e "inject=$flush" "$probe" "$base" "$diary" 2>"$err" &
            wait $! 2>/dev/null
            rc=$?
            aim_filter=()
            # The lock reads each new file back before it takes it up: the
            # torn write is found there, and said, before the flush.
            if [ $rc -eq 0 ] && is_lock_operation && [ "$(errors_shown)" -eq 1 ] &&
                [ "$(grep -c '^box \[ﾌｧｲﾙ ｴﾗｰ\]' "$err")" -eq 1 ]; then
                torn=$((torn + 1))
                verify "$what (found before the flush)" 1
                tally
                continue
            fi
            if [ $rc -ne 137 ]; then
                fail "$what: ended with $rc instead of being killed"
                tally
                continue
            fi
            torn=$((torn + 1))
            verify "$what" $((i <= pages_safe)) $((i <= size_safe))
            tally
        done
    fi

    # Each call that touches the diary's folder fails once, with a full disk
    # and with an input/output error.
    for i in "${!events[@]}"; do
        read -r name n target <<<"${events[$i]}"
        faulted "$target" || continue
        # The page that could not be stored: faults after the diary was
        # opened (that is the store operation's) and before the deletion.
        [ "$operation" = store-delete ] && { [ "$i" -le "${opened:-0}" ] || [ "$i" -gt "$pages_safe" ]; } && continue
        errors=(ENOSPC EIO)
        # Each run of the lock's derives a key: a full disk where it writes,
        # an input/output error elsewhere.
        if is_lock_operation; then
            case $name in write | pwrite64 | fallocate | ftruncate) errors=(ENOSPC) ;; *) errors=(EIO) ;; esac
        fi
        for error in "${errors[@]}"; do
            what="$error at $name call $n ($target)"
            if ! aim "$i"; then
                fail "$what: strace cannot be aimed at it"
                tally
                continue
            fi
            fresh
            run_injected "$name:error=$error:when=$aim_when" "$base" "$diary"
            rc=$?
            faults=$((faults + 1))
            if [ $rc -ne 0 ]; then
                fail "$what: the probe ended with $rc"
                cat "$err"
                tally
                continue
            fi
            boxes=$(errors_shown)
            file_errors=$(grep -c '^box \[ﾌｧｲﾙ ｴﾗｰ\]' "$err")
            # A draft that cannot be kept is told on the status line.
            told=$((boxes + $(grep -c '^status 書きかけを控えておけません' "$err")))
            # Failures the program rides over on purpose: a folder that cannot
            # be flushed, a journal that finds no room (the page is written
            # without it), a claim of room the disk does not understand, a
            # leftover temporary file that cannot be removed yet.
            tolerated=0
            # Whether the diary is locked is read from its header first: its
            # ending tells it too, and a plain one opens as plain either way.
            is_lock_operation && [ "$i" = "${opened:-}" ] && tolerated=1
            case $target:$name:$error in
                folder:openat:* | folder:fsync:*) tolerated=1 ;;
                journal:openat:ENOSPC | journal:write:ENOSPC | journal:fsync:ENOSPC) tolerated=1 ;;
                diary:fallocate:EIO | temp:fallocate:EIO | backups:fallocate:EIO) tolerated=1 ;;
                temp:unlink:*) tolerated=1 ;;
                # The folder flushed after a draft was removed.
                state:openat:* | state:fsync:*) tolerated=1 ;;
                # The conflict copy is copied into the backups instead.
                rename:renameat2:*) tolerated=1 ;;
                # The export's and the backups' folders alike; a temporary
                # folder or an older copy that stays until the next time.
                efolder:openat:* | efolder:fsync:* | bfolder:openat:* | bfolder:fsync:*) tolerated=1 ;;
                etempdir:openat:* | etemp:unlink:* | etemp:rmdir:* | backups:unlink:*) tolerated=1 ;;
            esac
            if [ "$boxes" -ne "$file_errors" ] || [ "$boxes" -gt 1 ]; then
                fail "$what: the boxes shown are not one file error:"
                cat "$err"
            elif [ "$told" -eq 0 ] && [ $tolerated = 0 ]; then
                fail "$what: nobody was told"
            fi
            # A backup that fails lets the store go on.
            if [ "$operation" = store-delete ] || [ "$operation" = backup ]; then
                verify "$what" 0 0 1
            elif [ "$operation" = merge-copy ] && [ "$name:$target" = openat:folder ] && [ "$i" -lt "${merged_at:-0}" ]; then
                # The folder could not be read for conflict copies: the copy
                # waits for the next start.
                verify "$what"
            elif [ "$told" -eq 0 ]; then
                verify "$what" 0 0 1
            elif [ "$operation:$name:$target" = lock:unlink:diary ]; then
                # The plain diary could not be removed once locked: the box
                # says so, and it stays.
                verify "$what" 0 0 0 DIARY.DAT
            elif [ "$operation:$name:$target" = unlock-remove:unlink:diary ]; then
                # The encrypted file could not be removed once the lock was
                # off: the box says so, and it stays (the next lock moves it
                # into the backups).
                verify "$what" 0 0 0 DIARY.sfk
            elif [ "$operation" = restore ] && [ "$name:$target" = pread64:diary ] && [ "$i" -lt "${backing_up:-0}" ]; then
                # The page shown as the diary opens could not be read: that is
                # said, and the restore goes on with the diary kept as it is.
                verify "$what"
            else
                verify "$what" $((i <= pages_safe)) $((i <= size_safe))
            fi
            tally
        done
    done

    # A file size limit (ulimit -f) below what the operation writes: the
    # write fails with EFBIG instead of the program ending by SIGXFSZ. (In
    # store-delete the store fits below the limit and only the deletion
    # fails: a state of its own, between before and after.)
    what="a file size limit of 20 KB"
    # (In import-backup the copy and the import both meet it: the backup
    # operation tries the copy's.)
    [ "$operation" = store-delete ] || [ "$operation" = import-backup ] || {
    fresh
    (
        ulimit -f 20
        exec "$probe" "$base" "$diary"
    ) 2>"$err"
    rc=$?
    faults=$((faults + 1))
    boxes=$(errors_shown)
    if [ $rc -ne 0 ]; then
        fail "$what: the probe ended with $rc"
        cat "$err"
    elif [ "$boxes" -ne "$(grep -c '^box \[ﾌｧｲﾙ ｴﾗｰ\]' "$err")" ] || [ "$boxes" -gt 1 ]; then
        fail "$what: the boxes shown are not one file error:"
        cat "$err"
    elif [ "$boxes" -eq 1 ] && [ "$operation" != backup ]; then
        verify "$what" 1 1
    else
        verify "$what" 0 0 1
    fi
    tally
    }

    echo "$operation: ${#events[@]} calls traced; $kills kills at calls (${kill_detail%,} ); $random random kills$random_detail; $torn torn writes; $faults faults"
    total_kills=$((total_kills + kills))
    total_random=$((total_random + random))
    total_faults=$((total_faults + faults))
    total_torn=$((total_torn + torn))
    unset count first most
done

echo "$total_kills kills at calls, $total_random random kills, $total_torn torn writes, $total_faults faults"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
