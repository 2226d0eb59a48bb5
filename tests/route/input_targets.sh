#!/bin/sh
# An output never replaces an input: hcurve route's --out, --dxf and --landxml, and the console's
# export, plan and report after 9 (打开曲线), given one of the files being read under every name a
# shell can give it (the same name, ./name, an absolute path, a path through a linked folder, a
# symbolic link, a hard link) are refused before anything is computed, with both names, and the
# input is left as it was. A symbolic-link loop as the target is refused and stays a link.
# Usage: input_targets.sh HCURVE SCRATCH_FOLDER [windows]  (windows: the Windows build under Wine,
# which sees the links made here as the system's own; absolute paths through Wine's drive Z:)
hcurve=$1
scratch=$2
system=${3:-posix}
rm -rf "$scratch" && mkdir -p "$scratch/folder" && cd "$scratch" || exit 2

printf '点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,500,100,100,\nEP,1000,1000,,,,\n' > route.csv
printf '变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK1+800,112,8000\nK2+500,105,\n' > profile.csv
cp route.csv route.kept && cp profile.csv profile.kept
absolute=$PWD/route.csv
[ "$system" = windows ] && absolute=Z:$PWD/route.csv
ln -s .. folder/up && ln -s route.csv link.csv && ln -s route.csv link.dxf &&
    ln -s route.csv link.xml && ln route.csv hard.csv && ln profile.csv hard.dxf && ln profile.csv grades.csv &&
    ln -s loop-b.csv loop-a.csv && ln -s loop-a.csv loop-b.csv || exit 2

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# refused NAME INPUT_SHOWN TARGET ARGUMENTS...: status 1, the one line naming both, inputs intact.
refused() {
    name=$1 input=$2 target=$3
    shift 3
    "$hcurve" route "$@" > out 2> err
    status=$?
    [ "$status" -eq 1 ] || fail "$name: status $status"
    [ "$(cat err)" = "hcurve: 无法写入文件“$target”：它就是输入文件“$input”，结果不能写在输入上。" ] ||
        fail "$name: standard error: $(cat err)"
    [ -s out ] && fail "$name: wrote to standard output"
    cmp -s route.csv route.kept && cmp -s profile.csv profile.kept || fail "$name: an input changed"
}

for target in route.csv ./route.csv "$absolute" folder/up/route.csv link.csv hard.csv; do
    refused "--out $target" route.csv "$target" route.csv profile.csv --stakes --interval 20 \
        --out "$target"
done
refused "--out, the second input by a hard link" profile.csv grades.csv \
    route.csv profile.csv --stakes --interval 20 --out grades.csv
refused "--dxf through a link" route.csv link.dxf route.csv --dxf link.dxf --interval 20
refused "--dxf, a hard link to the second input" profile.csv hard.dxf \
    route.csv profile.csv --dxf hard.dxf
refused "--landxml through a link" route.csv link.xml route.csv --landxml link.xml
"$hcurve" route route.csv --landxml route.xml 2> err || fail "--landxml route.xml: $(cat err)"
cp route.xml route-xml.kept
refused "--landxml onto the LandXML read" route.xml ./route.xml route.xml --landxml ./route.xml
cmp -s route.xml route-xml.kept || fail "--landxml onto the LandXML read: it changed"
# Before anything is computed: an interval that would be refused is not reached.
refused "--out before the options are read" route.csv link.csv route.csv --stakes --interval 0 \
    --out link.csv
[ -L link.csv ] && [ -L link.dxf ] && [ -L folder/up ] || fail "a link was replaced"

# A copy is another file: written.
cp route.csv copy.csv
"$hcurve" route route.csv --stakes --interval 20 --out copy.csv 2> err ||
    fail "a copy of the input as the target: $(cat err)"
grep -q '^K1+000.000,K1+000.000,' copy.csv || fail "the copy was not written"

# A loop of links leads to no file: refused, and the links stay.
"$hcurve" route route.csv --stakes --interval 20 --out loop-a.csv > out 2> err
status=$?
[ "$status" -eq 1 ] || fail "a link loop: status $status"
[ "$(cat err)" = "hcurve: 无法写入文件“loop-a.csv”：符号链接绕成了圈，指不到文件。" ] ||
    fail "a link loop: standard error: $(cat err)"
[ -L loop-a.csv ] && [ -L loop-b.csv ] || fail "a link loop was replaced by a file"

# The console: the curve file opened by 9 is an input of the export (6), the plan (7) and the
# report (10).
design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'
printf "${design}8\ncurve.csv\n" | "$hcurve" --console > out 2> err || fail "8: $(cat err)"
cp curve.csv curve.kept
ln -s curve.csv curve-link.dxf && ln curve.csv curve-hard.pdf || exit 2
{
    printf '9\ncurve.csv\n2\n2\n12100\n12120\n10\n'
    yes '' | head -n 10
    printf '6\n./curve.csv\n7\ncurve-link.dxf\n10\ncurve-hard.pdf\n3\n'
} | "$hcurve" --console > out 2> err
status=$?
[ "$status" -eq 0 ] || fail "console: status $status: $(cat err)"
refusal() { echo "! 无法写入文件“$1”：它就是输入文件“curve.csv”，结果不能写在输入上。"; }
for target in ./curve.csv curve-link.dxf; do
    grep -qxF "$(refusal "$target")" out || fail "console onto $target: $(grep '^!' out)"
done
# A build without Qt writes no report and asks for no file.
grep -qxF "$(refusal curve-hard.pdf)" out || grep -qx '! 此版本编译时未带 Qt，无法生成中桩成果报告。' out ||
    fail "console report onto curve-hard.pdf: $(grep '^!' out)"
cmp -s curve.csv curve.kept || fail "console: the curve file changed"
[ -L curve-link.dxf ] || fail "console: the link was replaced"

[ "$failures" -eq 0 ] && echo "no input replaced by an output"
exit "$failures"
