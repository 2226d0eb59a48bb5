#!/bin/sh
# The Windows build's files as a user at cmd.exe meets them: Chinese folder and file names through
# the route command and the console's export, an existing file replaced, a read-only file kept with a Chinese message, the NUL
# device written into, and route files that cannot be read.
# Usage: windows_files.sh HCURVE SCRATCH_FOLDER
hcurve=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/成果" && cd "$scratch" || exit 2

failures=0
fail() {
    echo "FAIL $1"; failures=$((failures + 1))
}
# same NAME FILE_A FILE_B: both exist and hold the same bytes
same() {
    if [ ! -f "$2" ] || [ ! -f "$3" ] || ! cmp -s "$2" "$3"; then fail "$1: $2 and $3 differ"; fi
}

printf '点号,X,Y,R,A1,A2,桩号\nBP,3456088.2656,511632.3766,,,,K11+345.678\nJD1,3456789.1230,512345.6780,500,200,250,\nJD2,3457084.2532,513508.8195,800,300,300,\nEP,3457814.5550,514034.8035,,,,\n\n断链前桩号,断链后桩号\nK12+800,K12+780\n' > 路线.csv
cp 路线.csv route.csv

# The route file and the export named in Chinese give the bytes their ASCII names give.
"$hcurve" route route.csv --stakes --interval 20 --left 5 --right 5 --out plain.csv 2> err ||
    fail "route export, ASCII names: $(cat err)"
"$hcurve" route 路线.csv --stakes --interval 20 --left 5 --right 5 --out 成果/中桩坐标.csv 2> err ||
    fail "route export, Chinese names: $(cat err)"
same "route export" plain.csv 成果/中桩坐标.csv
"$hcurve" route 路线.csv --elements > 要素表.csv 2> err || fail "route elements: $(cat err)"
"$hcurve" route route.csv --elements > elements.csv 2> err || fail "route elements: $(cat err)"
same "route elements" elements.csv 要素表.csv
# LF only, as on every system.
if grep -q "$(printf '\r')" elements.csv; then fail "route elements: CR in the output"; fi

# The console's export (command 6) under a Chinese name.
design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'
session() {
    printf "${design}"'2\n2\n12100\n12600\n20\n'
    yes '' | head -n 100
    printf '6\n%s\n3\n' "$1"
}
session 成果/一号曲线.dat | "$hcurve" --console > session.txt 2> err ||
    fail "console export, Chinese name: $(cat err)"
session plain.dat | "$hcurve" --console > plain-session.txt 2> err ||
    fail "console export, ASCII name: $(cat err)"
same "console export" plain.dat 成果/一号曲线.dat
grep -q "^! .*成果.一号曲线\.dat" session.txt || fail "console export: no message naming the file"

# An export written again replaces the file, named relative to the current folder as at cmd.exe,
# and in a folder below it.
"$hcurve" route route.csv --stakes --interval 50 --out plain.csv 2> err ||
    fail "export written again: $(cat err)"
"$hcurve" route route.csv --stakes --interval 50 --out 成果/中桩坐标.csv 2> err ||
    fail "export written again in a folder: $(cat err)"
same "export written again" plain.csv 成果/中桩坐标.csv
"$hcurve" route route.csv --stakes --interval 20 --left 5 --right 5 --out plain.csv 2> err ||
    fail "export written a third time: $(cat err)"

# A read-only file is kept, with the reason in Chinese, and the status says it failed.
printf 'kept\n' > 只读.csv && chmod 444 只读.csv
"$hcurve" route route.csv --stakes --interval 20 --out 只读.csv 2> err
status=$?
[ "$status" -ne 0 ] || fail "read-only file: status 0"
grep -q "没有权限" err || fail "read-only file: standard error: $(cat err)"
[ "$(cat 只读.csv)" = kept ] || fail "read-only file: replaced"
[ "$(ls -a 成果 | wc -l)" -eq 4 ] || fail "temporary files left: $(ls -a 成果)"

# The NUL device (also as NUL.csv, as Windows reads that name) is written into, never replaced by a
# file; nothing is left beside it.
before=$(ls -a)
"$hcurve" route route.csv --stakes --interval 20 --out NUL.csv 2> err || fail "NUL.csv: $(cat err)"
[ "$(ls -a)" = "$before" ] || fail "NUL.csv: files made: $(ls -a)"

# A route file that cannot be read says why, in Chinese, with status 1.
for case in "成果|这是一个文件夹" "没有.csv|没有这个文件或文件夹"; do
    "$hcurve" route "${case%%|*}" --elements > out 2> err
    status=$?
    [ "$status" -eq 1 ] && grep -q "无法打开文件“${case%%|*}”：${case#*|}。" err ||
        fail "route file ${case%%|*}: status $status, $(cat err)"
done

[ "$failures" -eq 0 ] && echo "Chinese names and protected files as expected"
exit "$failures"
