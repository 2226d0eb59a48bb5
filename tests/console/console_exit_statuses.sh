#!/bin/sh
# The console's exit statuses as a shell script sees them, each with its one line on standard
# error, and no export once the output is lost; and an export beside a planted link.
# Usage: console_exit_statuses.sh HCURVE SCRATCH_FOLDER
hcurve=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 2

design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'
# The curve, a run of 2000 stakes (far more output than a pipe holds), an export, the end.
{
    printf "$design"
    printf '2\n2\n10000\n11999\n1\n'
    yes '' | head -n 2000
    printf '6\nexported.csv\n3\n'
} > long.txt

failures=0
# check NAME EXPECTED_STATUS STATUS EXPECTED_ERRORS (a grep pattern; empty: none at all)
check() {
    if [ "$3" != "$2" ]; then
        echo "FAIL $1: status $3, expected $2"; failures=$((failures + 1))
    fi
    if [ -z "$4" ] && [ -s err ] || [ -n "$4" ] && ! grep -q "^hcurve: $4" err; then
        echo "FAIL $1: standard error: $(cat err)"; failures=$((failures + 1))
    fi
    if [ -n "$4" ] && [ -s err ] && [ "$(wc -l < err)" -ne 1 ]; then
        echo "FAIL $1: more than one line on standard error"; failures=$((failures + 1))
    fi
}
no_export() {
    if [ -e exported.csv ]; then
        echo "FAIL $1: exported although the output was lost"; failures=$((failures + 1))
        rm -f exported.csv
    fi
}

printf '3\n' | "$hcurve" --console > out 2> err
check "end command" 0 $? ""

printf "$design" | "$hcurve" --console > out 2> err
check "end of input between commands" 0 $? ""

printf '1\n7\n' | "$hcurve" --console > out 2> err
check "input cut off inside a command" 1 $? "输入在命令等待回答时结束"

"$hcurve" --console < / > out 2> err
check "unreadable input" 2 $? "无法读取输入：这是一个文件夹。"

"$hcurve" --console < long.txt > /dev/full 2> err
check "full disk" 3 $? "无法写入标准输出：磁盘已满。"
no_export "full disk"

"$hcurve" --console < long.txt >&- 2> err
check "closed output" 3 $? "无法写入标准输出：没有打开。"
no_export "closed output"

(trap '' PIPE; "$hcurve" --console < long.txt 2> err; echo $? > status) | head -n 1 > /dev/null
check "closed pipe, SIGPIPE ignored" 3 "$(cat status)" "无法写入标准输出：接收的一方已关闭。"
no_export "closed pipe"
# As a script runs it, `| head -1`: the same status and line, not an end without a word.
{ "$hcurve" --console < long.txt 2> err; echo $? > status; } | head -n 1 > /dev/null
check "closed pipe" 3 "$(cat status)" "无法写入标准输出：接收的一方已关闭。"
no_export "closed pipe, SIGPIPE as the shell left it"

# A dangling link planted under a name a temporary file could take: the export writes its own
# file and nothing where the link points.
ln -s "$scratch/victim" exported.csv.tmp0
ln -s "$scratch/victim" .exported.csv.tmp
"$hcurve" --console < long.txt > out 2> err
check "export beside planted links" 0 $? ""
if [ -e victim ] || [ ! -L exported.csv.tmp0 ] || [ "$(wc -l < exported.csv)" -ne 2001 ]; then
    echo "FAIL export beside planted links: $(ls -la)"; failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "all exit statuses as expected"
exit "$failures"
