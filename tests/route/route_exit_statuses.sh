#!/bin/sh
# hcurve route as a shell script sees it: a lost output (a reader that leaves early among them), a
# file that cannot be read or is far too large, a point far from the road, control characters in
# names, the bound on a stake table and the mode options, each with its exit status and its one
# line on standard error.
# Usage: route_exit_statuses.sh HCURVE SCRATCH_FOLDER [windows]  (windows: the Windows build run
# under Wine, where file modes and control characters in file names do not exist; its own cases of
# those are in tests/windows)
hcurve=$1
scratch=$2
system=${3:-posix}
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 2
chmod 755 "$scratch"

cat > route.csv <<'CSV'
点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,
CSV

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# check NAME EXPECTED_STATUS STATUS EXPECTED_LINE: standard error is exactly that one line.
check() {
    [ "$3" = "$2" ] || fail "$1: status $3, expected $2"
    [ "$(cat err)" = "hcurve: $4" ] || fail "$1: standard error: $(cat err)"
}
# quiet NAME STATUS: status 0 and nothing on standard error.
quiet() {
    [ "$2" -eq 0 ] || fail "$1: status $2"
    [ -s err ] && fail "$1: standard error: $(cat err)"
}

for mode in "--elements" "--stakes --interval 1" "--locate 3456906 512800"; do
    # shellcheck disable=SC2086
    "$hcurve" route route.csv $mode > /dev/full 2> err
    check "$mode to a full disk" 3 $? "无法写入标准输出：磁盘已满。"
    # shellcheck disable=SC2086
    "$hcurve" route route.csv $mode >&- 2> err
    check "$mode to a closed output" 3 $? "无法写入标准输出：没有打开。"
done
(trap '' PIPE; "$hcurve" route route.csv --stakes --interval 1 2> err; echo $? > status) | head -n 1 > /dev/null
check "closed pipe, SIGPIPE ignored" 3 "$(cat status)" "无法写入标准输出：接收的一方已关闭。"
# As a script runs it, `| head -1`: the same status and line, not an end without a word.
{ "$hcurve" route route.csv --stakes --interval 1 2> err; echo $? > status; } | head -n 1 > first
check "closed pipe" 3 "$(cat status)" "无法写入标准输出：接收的一方已关闭。"
[ "$(cat first)" = "点,桩号,里程,X,Y,方位角" ] || fail "closed pipe: the first line read $(cat first)"

mkdir folder.csv
"$hcurve" route folder.csv --elements > out 2> err
check "a folder" 1 $? "无法打开文件“folder.csv”：这是一个文件夹。"
"$hcurve" route missing.csv --elements > out 2> err
check "a missing file" 1 $? "无法打开文件“missing.csv”：没有这个文件或文件夹。"
if [ "$system" = windows ]; then
    echo "SKIP unreadable file: no file modes on Windows"
elif [ "$(id -u)" -ne 0 ] || { id nobody > /dev/null 2>&1 && command -v setpriv > /dev/null; }; then
    cp route.csv secret.csv && chmod 0600 secret.csv
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
            "$hcurve" route secret.csv --elements > out 2> err
    else
        chmod 0000 secret.csv && "$hcurve" route secret.csv --elements > out 2> err
    fi
    check "an unreadable file" 1 $? "无法打开文件“secret.csv”：没有权限。"
else
    echo "SKIP unreadable file: run as root and no other user to run as"
fi

# An endless file, under a memory limit well below what reading it whole would take. A sanitizer
# build reserves more address space than any such limit allows: there the limit is left off.
if (ulimit -v 1000000 && "$hcurve" --version) > /dev/null 2>&1; then limit=1000000; else limit=unlimited; fi
(ulimit -v "$limit" && exec "$hcurve" route /dev/zero --elements) > out 2> err
check "/dev/zero (memory limit $limit)" 1 $? "文件“/dev/zero”超过 64 MiB，不像是交点表，没有读。"
[ -s out ] && fail "/dev/zero: wrote $(wc -c < out) bytes"

"$hcurve" route route.csv --locate 1e308 0 > out 2> err
check "--locate 1e308 0" 1 $? "X 超出范围（绝对值不能超过 1000000000）：“1e308” 不对。"
"$hcurve" route route.csv --locate -1e8 -1e8 > out 2> err
check "--locate -1e8 -1e8" 0 $? "注意：该点离路线超过 500 米（附近曲线的半径 R 与 1000 米中较小者），不像是这条路线上的点，请核对座标。"
[ "$(wc -l < out)" -eq 2 ] || fail "--locate -1e8 -1e8: $(cat out)"

# An escape sequence in a JD name, and in the file's name: neither reaches the terminal raw, and
# the CSV shows the name escaped.
esc=$(printf '\033')
name="bad${esc}[31m.csv"
[ "$system" = windows ] && name=bad.csv
printf '点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD%s[31m,1000,0,abc,0,0,\nEP,1000,1000,,,,\n' "$esc" > "$name"
"$hcurve" route "$name" --elements > out 2> err
status=$?
shown='bad\x1B[31m.csv'
[ "$system" = windows ] && shown=bad.csv
[ "$status" -eq 1 ] && [ "$(cat err)" = "$shown: 第 3 行：R 必须是数值，“abc” 不是有效的数值。" ] ||
    fail "a bad row in a file with an escape in its name: status $status: $(cat -v err)"
grep -q "$esc" err && fail "an escape in the file's name reached standard error: $(cat -v err)"
sed 's/abc/500/' "$name" > named.csv
"$hcurve" route named.csv --elements > out 2> err || fail "a JD named with an escape: $(cat -v err)"
grep -q "$esc" out && fail "an escape in a JD name reached the CSV: $(cat -v out)"
grep -q '^JD\\x1B\[31m,' out || fail "the JD's name is not shown escaped: $(cat -v out)"

# Bidirectional controls in a JD name and in the file's name are shown escaped, so that neither
# turns the text of the line around.
rlo=$(printf '\342\200\256') lri=$(printf '\342\201\246')
printf '点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD%s1,1000,0,abc,0,0,\nEP,1000,1000,,,,\n' "$rlo" > "v${lri}csv.csv"
"$hcurve" route "v${lri}csv.csv" --elements > out 2> err
status=$?
[ "$status" -eq 1 ] && [ "$(cat err)" = "v\u2066csv.csv: 第 3 行：R 必须是数值，“abc” 不是有效的数值。" ] ||
    fail "a bidirectional control in the file's name: status $status: $(cat err)"
sed 's/abc/500/' "v${lri}csv.csv" > bidi.csv
"$hcurve" route bidi.csv --elements > out 2> err || fail "a JD name with U+202E: $(cat err)"
grep -q "$rlo" out && fail "U+202E in a JD name reached the CSV"
grep -q '^JD\\u202E1,' out || fail "the JD's name with U+202E is not shown escaped: $(cat out)"

# The one-million bound counts what is written: 340 000 grade points beyond EP add nothing to a
# table of 43 stakes (31 multiples of 100 m, BP, EP and the 2 x 5 points of the curves), and
# 500 000 elements of one metre give 500 001 stakes, one where each element meets the next.
{ cat route.csv; echo; echo '变坡点桩号,高程,竖曲线半径'; echo '11345.678,100,'
  awk 'BEGIN { for (i = 1; i <= 340000; i++) printf "%d,%d,\n", 15000 + 10 * i, 100 + i % 2 }'
} > beyond.csv
"$hcurve" route beyond.csv --stakes --interval 100 > out 2> err
quiet "340 000 grade points beyond EP" $?
[ "$(wc -l < out)" -eq 44 ] || fail "340 000 grade points beyond EP: $(wc -l < out) lines"
grep -q '^B\?PD\|^SQD\|^SZD' out && fail "a grade point beyond EP listed as a stake"
{ printf '起点桩号,X,Y,方位角\nK0+000,0,0,45\n\n长度,起点半径,终点半径,转向\n'
  awk 'BEGIN { for (i = 0; i < 500000; i++) print "1,,," }'
} > metres.csv
"$hcurve" route metres.csv --stakes --interval 1000 > out 2> err
quiet "500 000 one-metre elements" $?
tail -n 1 out > last
[ "$(wc -l < out)" -eq 500002 ] || fail "500 000 one-metre elements: $(wc -l < out) lines"
[ "$(cut -d, -f1-3 last)" = "EP,K500+000.000,500000.0000" ] ||
    fail "500 000 one-metre elements: the last row $(cat last)"
"$hcurve" route metres.csv --stakes --interval 1 --right 5 > out 2> err
check "500 000 elements with a side point: 1 000 002 points" 1 $? \
    "这一段的中桩、特征点与边桩合计会有一百万个以上。"

# --landxml: - is the standard output; given twice, or with another mode, it says so.
"$hcurve" route route.csv --landxml - > out 2> err
quiet "--landxml -" $?
head -c 5 out | grep -q '^<?xml' || fail "--landxml -: $(head -c 80 out)"
[ -e ./- ] && fail "--landxml - made a file named -"
"$hcurve" route route.csv --landxml a.xml --landxml b.xml > out 2> err
check "--landxml twice" 1 $? "--landxml 只能给出一次。"
"$hcurve" route route.csv --landxml a.xml --elements > out 2> err
check "--landxml with --elements" 1 $? "--landxml 与 --elements 不能同时使用。"
"$hcurve" route route.csv --elements --landxml a.xml > out 2> err
check "--elements with --landxml" 1 $? "--elements 与 --landxml 不能同时使用。"
[ -e a.xml ] || [ -e b.xml ] && fail "a refused --landxml wrote a file"

[ "$failures" -eq 0 ] && echo "every route exit status as expected"
exit "$failures"
