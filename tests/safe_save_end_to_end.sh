#!/bin/bash
# Every kind of file the programs write, seen from outside: onto a full disk,
# through a link planted at the output, onto read-only and private files,
# killed mid-save, to a full standard output and over its own input.
# Usage: safe_save_end_to_end.sh VESSOR_GRAPH VESSOR_LOGGER GRAPH_DATA_DIR
set -u
GRAPH=$1
LOGGER=$2
INPUT=$3/humidity-day.txt
export QT_QPA_PLATFORM=offscreen
export VESSOR_SIM_SPEED=3600
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
skipped=0

ok() { passed=$((passed + 1)); }
bad() { echo "FAILED: $*"; failed=$((failed + 1)); }
skip() { echo "SKIPPED: $*"; skipped=$((skipped + 1)); }
expect() { # NAME CONDITION...
    local name=$1
    shift
    if "$@"; then ok; else bad "$name"; fi
}

# A simulated logger with an hour of readings, stopped, for the download
# file and the logger image.
IMAGE=$work/logger.img
"$LOGGER" sim-create --model 1 --logging "$IMAGE" >/dev/null
sleep 1
"$LOGGER" --device "sim:$IMAGE" stop >/dev/null

# produce KIND OUT: writes one file of that kind at OUT; the programs'
# stderr goes to $work/err.
produce() {
    case $1 in
    json | png | pdf | xlsx) "$GRAPH" "--export-$1" "$2" "$INPUT" ;;
    download) "$LOGGER" --device "sim:$IMAGE" download -o "$2" ;;
    image) "$LOGGER" --device "sim:$IMAGE" dump "$2" ;;
    esac >/dev/null 2>"$work/err"
}
export -f produce
export GRAPH LOGGER INPUT IMAGE work

leftovers() { find "$1" -maxdepth 1 -name '.*.part' | wc -l; }

KINDS="json png pdf xlsx download image"
for kind in $KINDS; do
    out=$work/$kind.out
    expect "$kind: written" produce "$kind" "$out"
    expect "$kind: a file" test -s "$out"

    # A link planted at the output is replaced, never followed.
    echo private >"$work/victim"
    chmod 600 "$work/victim"
    ln -sf "$work/victim" "$work/link.$kind"
    expect "$kind: through a link" produce "$kind" "$work/link.$kind"
    expect "$kind: the link's target untouched" test "$(cat "$work/victim")" = private
    expect "$kind: the link replaced" test -f "$work/link.$kind" -a ! -L "$work/link.$kind"

    # A file without write bits is refused, for root too; a private one stays private.
    echo old >"$work/ro.$kind"
    chmod 444 "$work/ro.$kind"
    expect "$kind: read-only refused" test "$(produce "$kind" "$work/ro.$kind"; echo $?)" = 1
    expect "$kind: read-only names the reason" grep -q "Permission denied" "$work/err"
    expect "$kind: read-only untouched" test "$(cat "$work/ro.$kind")" = old
    echo old >"$work/private.$kind"
    chmod 600 "$work/private.$kind"
    expect "$kind: private file rewritten" produce "$kind" "$work/private.$kind"
    expect "$kind: private file stays 0600" test "$(stat -c %a "$work/private.$kind")" = 600
    expect "$kind: no temporary file left" test "$(leftovers "$work")" = 0
done

# A full disk: a small file system of its own whose only page the old file holds.
if unshare -m true 2>/dev/null; then
    for kind in $KINDS; do
        mkdir -p "$work/full"
        result=$(unshare -m bash -c '
            mount -t tmpfs -o size=4k tmpfs "$work/full" || exit 99
            echo old >"$work/full/out"
            produce "$1" "$work/full/out"
            echo "status=$? old=$(cat "$work/full/out") left=$(find "$work/full" -name ".*.part" | wc -l)"
        ' - "$kind")
        if [ $? = 99 ]; then
            skip "$kind on a full disk: a tmpfs cannot be mounted here"
            continue
        fi
        expect "$kind on a full disk: fails, old file kept, nothing left ($result)" \
            test "$result" = "status=1 old=old left=0"
        expect "$kind on a full disk: names the reason" grep -q "No space left on device" "$work/err"
    done
else
    skip "full disk cases: no mount namespace here (unshare -m)"
fi

# Killed right after the data is written: the old file stays, the hidden
# temporary file is left, and the next save of that target removes it.
if strace -f -qq -o /dev/null -e trace=none true 2>/dev/null; then
    for kind in pdf download; do
        echo old >"$work/killed.$kind"
        strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:signal=KILL \
            bash -c 'produce "$@"' - "$kind" "$work/killed.$kind" 2>/dev/null
        expect "$kind killed: old file kept" test "$(cat "$work/killed.$kind")" = old
        expect "$kind killed: its temporary file left" test "$(leftovers "$work")" = 1
        expect "$kind killed: saved again" produce "$kind" "$work/killed.$kind"
        expect "$kind killed: the next save removed the leftover" test "$(leftovers "$work")" = 0
    done
else
    skip "kill cases: strace cannot trace here"
fi

# Standard output that cannot be written fails the program.
"$GRAPH" --export-json - "$INPUT" >/dev/full 2>"$work/err"
expect "json to a full standard output: exit 1" test $? = 1
expect "json to a full standard output: the reason" grep -q "No space left on device" "$work/err"
"$GRAPH" --help >/dev/full 2>"$work/err"
expect "vessor-graph --help to a full standard output: exit 1" test $? = 1
"$LOGGER" --device "sim:$IMAGE" info >/dev/full 2>"$work/err"
expect "vessor-logger info to a full standard output: exit 1" test $? = 1

# An output that is the input is refused.
cp "$INPUT" "$work/input.txt"
ln "$work/input.txt" "$work/input-link.txt"
for option in --export-xlsx --export-json --export-png; do
    "$GRAPH" "$option" "$work/input-link.txt" "$work/input.txt" 2>/dev/null
    expect "$option over its own input: exit 2" test $? = 2
done
expect "the input untouched" cmp -s "$INPUT" "$work/input.txt"

echo "$passed passed, $failed failed, $skipped skipped"
test "$failed" = 0
