#!/bin/sh
# The files the program writes, as a shell sees them: a pipe (FIFO) or a character device given as
# the file of `hcurve route --out`, of console command 6 (export) or 7 (plan), named or through a
# link, is written into and stays what it is; a file the user may not write is kept, with its
# owner and mode, and the failure is told. Only nodes made here are written, never the system's.
# Usage: file_targets.sh HCURVE SCRATCH_FOLDER [plan|no-plan]  (no-plan: built without Qt, which
# draws the plan of command 7)
hcurve=$1
scratch=$2
plan=${3:-plan}
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 2
chmod 755 "$scratch"
# Where content for a pipe or device waits until it is written: here, so that leftovers are seen.
mkdir tmp && chmod 1777 tmp && TMPDIR=$scratch/tmp && export TMPDIR

cat > route.csv <<'EOF'
点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,
EOF
route() { "$hcurve" route route.csv --stakes --interval 20 --from K12+000 --to K12+400 --out "$1"; }
route expected.csv || exit 2

design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'
# A session that computes the curve, runs ten stakes and then writes the file of command $1.
console() {
    { printf "$design"; printf '2\n2\n12100\n12109\n1\n'; yes '' | head -n 10; printf '%s\n%s\n3\n' "$1" "$2"; } |
        env -u XDG_RUNTIME_DIR -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$hcurve" --console > out 2> err
}

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# through_fifo NAME FIFO TARGET WRITER...: a new FIFO, and the writer writes TARGET (the FIFO or a
# link to it) while a reader takes what comes through; the FIFO must still be one afterwards.
through_fifo() {
    name=$1 fifo=$2 target=$3
    shift 3
    rm -f "$fifo" && mkfifo "$fifo" || exit 2
    timeout 20 cat "$fifo" > got &
    reader=$!
    "$@"
    status=$?
    if [ ! -p "$fifo" ]; then
        fail "$name: the pipe was replaced by a file of $(wc -c < "$fifo") bytes"
        kill "$reader" 2>/dev/null
    fi
    wait "$reader" 2>/dev/null
    [ "$status" -eq 0 ] || fail "$name: status $status"
}

ln -s pipe.csv link-to-pipe.csv && ln -s pipe.svg link-to-pipe.svg || exit 2
for target in pipe.csv link-to-pipe.csv; do
    through_fifo "route --out $target" pipe.csv "$target" route "$target"
    cmp -s got expected.csv || fail "route --out $target: the reader got $(wc -c < got) bytes"
    through_fifo "console export to $target" pipe.csv "$target" console 6 "$target"
    grep -q '^K12+105\.000,K12+105\.000,' got ||
        fail "console export to $target: the reader got $(wc -c < got) bytes"
done
[ "$plan" = plan ] && plan_targets="pipe.svg link-to-pipe.svg" || plan_targets=
for target in $plan_targets; do
    through_fifo "console plan to $target" pipe.svg "$target" console 7 "$target"
    grep -q '<svg' got || fail "console plan to $target: the reader got $(wc -c < got) bytes"
    # Qt's notice of the missing runtime folder stays off standard error.
    [ -s err ] && fail "console plan to $target: standard error: $(cat err)"
done
[ -L link-to-pipe.csv ] && [ -L link-to-pipe.svg ] || fail "a link to a pipe was replaced"

# Device nodes of our own (the system's /dev is never a target here): a null device takes every
# byte, a full one fails the write, and both stay devices. device NODE MINOR: a new node.
device() { rm -f "$1" && mknod "$1" c 1 "$2" 2>/dev/null && printf '' > "$1" 2>/dev/null; }
still_device() { [ -c "$1" ] || fail "$2: the device was replaced by a file of $(wc -c < "$1") bytes"; }
if device null.csv 3 && device full.csv 7; then
    ln -s null.csv link-to-null.csv
    ln -s full.csv link-to-full.csv
    for target in null.csv link-to-null.csv; do
        device null.csv 3
        route "$target" 2> err || fail "route --out $target: status $?: $(cat err)"
        still_device null.csv "route --out $target"
        device null.csv 3
        console 6 "$target"
        grep -q "^! 已导出 10 个点到文件“$target”。" out || fail "console export to $target: $(tail -n 1 out)"
        still_device null.csv "console export to $target"
    done
    for target in full.csv link-to-full.csv; do
        device full.csv 7
        route "$target" 2> err
        status=$?
        [ "$status" -eq 1 ] && grep -qx "hcurve: 无法写入文件“$target”：磁盘已满。" err ||
            fail "route --out $target: status $status: $(cat err)"
        still_device full.csv "route --out $target"
        device full.csv 7
        console 6 "$target"
        grep -q "^! 无法写入文件“$target”：磁盘已满。" out || fail "console export to $target: $(tail -n 1 out)"
        still_device full.csv "console export to $target"
    done
    [ -L link-to-null.csv ] && [ -L link-to-full.csv ] || fail "a link to a device was replaced"
else
    echo "SKIP device nodes: cannot make and write a device node in $scratch"
fi

# Write-protected files, as an ordinary user: a 0444 file of the user's own and a root-owned 0644
# file in the user's folder are kept, with a message, and the command fails.
if [ "$(id -u)" -ne 0 ]; then
    as_user() { "$@"; }
    mkdir user
    printf 'kept\n' > user/protected.csv && chmod 0444 user/protected.csv
    targets=user/protected.csv
    echo "SKIP root-owned file: not run as root"
elif id nobody > /dev/null 2>&1 && command -v setpriv > /dev/null; then
    as_user() { setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups "$@"; }
    mkdir user && chown nobody user
    printf 'kept\n' > user/protected.csv && chown nobody user/protected.csv &&
        chmod 0444 user/protected.csv
    printf 'kept\n' > user/rootowned.csv && chmod 0644 user/rootowned.csv
    targets="user/protected.csv user/rootowned.csv"
else
    targets=
    echo "SKIP write-protected files: run as root and no other user to run as"
fi
for target in $targets; do
    before=$(stat -c '%a %u %g' "$target")
    as_user "$hcurve" route route.csv --stakes --interval 20 --out "$target" 2> err
    status=$?
    [ "$status" -eq 1 ] && grep -qx "hcurve: 无法写入文件“$target”：没有权限。" err ||
        fail "route --out $target as a user: status $status: $(cat err)"
    { printf "$design"; printf '2\n2\n12100\n12109\n1\n'; yes '' | head -n 10; printf '6\n%s\n3\n' "$target"; } |
        as_user "$hcurve" --console > out 2> err
    grep -q "^! 无法写入文件“$target”：没有权限。" out || fail "console export to $target as a user: $(tail -n 1 out)"
    [ "$(cat "$target")" = kept ] && [ "$(stat -c '%a %u %g' "$target")" = "$before" ] ||
        fail "$target was replaced: $(stat -c '%a %u %g' "$target")"
done
if [ -n "$(find . -name '.*.tmp')" ]; then
    fail "temporary files left: $(find . -name '.*.tmp')"
fi

[ "$failures" -eq 0 ] && echo "every file target as expected"
exit "$failures"
