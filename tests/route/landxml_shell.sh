#!/bin/sh
# LandXML through the real program: a JD route written with --landxml, its alignments listed, the
# alignment read back by name with the same stakes as the route it came from, QZ included, also
# from its AlignPIs alone; a name not in the file; an alignment whose profile is only a ground line
# or cannot be computed.
# Usage: landxml_shell.sh HCURVE SCRATCH_FOLDER
hcurve=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 2

cat > route.csv <<'CSV'
点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,

断链前桩号,断链后桩号
K12+500,K12+480

变坡点桩号,高程,竖曲线半径
K11+400,100,
K12+000,112,8000
K12+900,104,6000
K13+600,110,
CSV

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

cp route.csv 甲线.csv
"$hcurve" route 甲线.csv --landxml out.xml 2> err || fail "--landxml: status $?: $(cat err)"
[ -s err ] && fail "--landxml wrote to standard error: $(cat err)"
grep -q '<Alignment name="甲线" length="3068.92362149" staStart="11345.678">' out.xml ||
    fail "--landxml: no alignment named after the file"

"$hcurve" route out.xml --alignments > out 2> err || fail "--alignments: status $?: $(cat err)"
[ "$(cat out)" = "$(printf '名称,长度,线元数\n甲线,3068.924,9')" ] || fail "--alignments: $(cat out)"

"$hcurve" route 甲线.csv --stakes --interval 20 > from_csv.csv 2> /dev/null
"$hcurve" route out.xml --alignment 甲线 --stakes --interval 20 > from_xml.csv 2> /dev/null ||
    fail "--alignment 甲线: status $?"
# The same stake table, byte for byte: the file's AlignPIs give back the JD route, QZ and all.
cmp -s from_csv.csv from_xml.csv || fail "stakes differ: $(diff from_csv.csv from_xml.csv | head -5)"
grep -q '^QZ,' from_xml.csv || fail "no QZ stakes read back"
sed '/<CoordGeom>/,/<\/CoordGeom>/d' out.xml > pis.xml
"$hcurve" route pis.xml --stakes --interval 20 > from_pis.csv 2> /dev/null ||
    fail "AlignPIs alone: status $?"
cmp -s from_csv.csv from_pis.csv || fail "AlignPIs alone: $(diff from_csv.csv from_pis.csv | head -5)"

# A ground line only: --vertical and a measured height say that the alignment has no design
# profile; the stakes are there, without elevations.
sed -e '/<ProfAlign/,/<\/ProfAlign>/d' -e 's|<Profile name="甲线">|<Profile name="甲线"><ProfSurf name="地面线"><PntList2D>11345.678 98 13600 108</PntList2D></ProfSurf>|' \
    out.xml > ground.xml
"$hcurve" route ground.xml --vertical > out 2> err
status=$?
[ $status = 1 ] || fail "--vertical on a ground line: status $status"
[ "$(cat err)" = "hcurve: LandXML 文件的线路 “甲线” 只有地面线（ProfSurf），没有设计纵断面（ProfAlign），列不出竖曲线表。" ] ||
    fail "--vertical on a ground line: $(cat err)"
"$hcurve" route ground.xml --locate 3456906 512800 100 > out 2> err
[ "$(cat err)" = "hcurve: LandXML 文件的线路 “甲线” 只有地面线（ProfSurf），没有设计纵断面（ProfAlign），无法与实测高程比较。" ] ||
    fail "--locate H on a ground line: $(cat err)"
"$hcurve" route ground.xml --stakes --interval 100 > out 2> err || fail "stakes on a ground line: status $?"
[ "$(head -1 out)" = "点,桩号,里程,X,Y,方位角" ] || fail "stakes on a ground line: $(head -1 out)"

# A profile that cannot be computed (vertical curves overlapping by 13 m): the plan and the stakes
# stand without elevations, with one line that says why; --vertical refuses.
sed 's|<ParaCurve length="[0-9.]*">12000 112</ParaCurve>|<ParaCurve length="1800">12000 112</ParaCurve>|' out.xml > bad.xml
"$hcurve" route bad.xml --stakes --interval 100 > out 2> err || fail "stakes on a bad profile: status $?"
[ "$(head -1 out)" = "点,桩号,里程,X,Y,方位角" ] || fail "stakes on a bad profile: $(head -1 out)"
case "$(cat err)" in
"bad.xml: 注意：纵断面算不出来，中桩没有高程：第 "*" 行：变坡点1 的竖曲线起点超出了纵断面的起点："*) ;;
*) fail "stakes on a bad profile: $(cat err)" ;;
esac
"$hcurve" route bad.xml --vertical > out 2> err
[ $? = 1 ] || fail "--vertical on a bad profile: status not 1"
[ "$(tail -1 err)" = "hcurve: LandXML 文件的线路 “甲线” 的纵断面算不出来（原因见上），列不出竖曲线表。" ] ||
    fail "--vertical on a bad profile: $(cat err)"

"$hcurve" route out.xml --alignment 乙线 --segments > out 2> err
status=$?
[ $status = 1 ] || fail "a name not in the file: status $status"
[ "$(cat err)" = "out.xml: 第 7 行：文件里没有名为 “乙线” 的线路（Alignment），有 “甲线”。" ] ||
    fail "a name not in the file: $(cat err)"
[ -s out ] && fail "a name not in the file: output $(cat out)"

"$hcurve" route route.csv --alignments > out 2> err
status=$?
[ $status = 1 ] || fail "--alignments of a CSV file: status $status"
[ "$(cat err)" = "hcurve: 文件“route.csv”不是 LandXML 文件，--alignments 只列 LandXML 文件的线路。" ] ||
    fail "--alignments of a CSV file: $(cat err)"

[ $failures = 0 ] && echo "all passed"
exit $failures
