#!/usr/bin/env bash
# Two builds of hcurve give the same bytes: every table of `hcurve route` (--elements, --segments,
# --vertical, --stakes with side points, skew, two rows, a grade line and cross-fall, --locate at
# many points), its exports (.csv, .dat, .gsi, .dxf, LandXML), the cross-section (--edges,
# --sections, --slope-stake, --slope-stakes) and the ground (--ground from sections and from
# terrain points, --earthwork), and console sessions (design,
# stake runs with side points, reverse calculations, exports, the plan as .dxf, curve files), on
# the README's routes and on two large generated roads (60 JDs over 100 km, 10 000 JDs), with
# standard error and the exit status of each command. Run it before and after a change to the
# numeric code: it lists what differs and exits 1 then.
# Usage: tools/same_output.sh OLD_HCURVE NEW_HCURVE [SCRATCH_FOLDER]
set -u
old=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
new=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
scratch=${3:-$(mktemp -d)}
samples=$(cd "$(dirname "$0")/../tests/support" && pwd)
readme=$(cd "$(dirname "$0")/../tests/data/readme" && pwd)
rm -rf "$scratch" && mkdir -p "$scratch/in" "$scratch/old" "$scratch/new" || exit 2
cd "$scratch/in" || exit 2

cp "$readme/route.csv" route.csv
{
    cat route.csv
    printf '\n变坡点桩号,高程,竖曲线半径\nK11+400,100.000,\nK12+000,112.000,8000\n'
    printf 'K12+700,105.000,12000\n13500,117.000,10000\n14400,112.000,\n'
    printf '\n桩号,左横坡,右横坡\nK11+400,-2,-2\nK12+168.835,-2,-2\nK12+248.835,4,-4\n'
    printf 'K12+410.388,4,-4\nK12+535.388,-2,-2\n'
} > road.csv
cat > egg.csv <<'EOF'
起点桩号,X,Y,方位角
K0+000,3456000.0000,512000.0000,45.0000

长度,起点半径,终点半径,转向,名称
200,,,,QD
120,inf,800,右,ZH
150,800,800,右,HY
80,800,400,右,YH1
100,400,400,右,YH2
120,400,inf,右,YH3
300,,,,HZ
EOF
# The LandXML ramp of the tests, out of the header that holds it for them.
sed -n '/R"xml(/,/^)xml";/p' "$samples/ramp_landxml.h" | sed '1s/.*R"xml(//; $d' > ramp.xml
[ -s ramp.xml ] || { echo "no LandXML sample in $samples/ramp_landxml.h" >&2; exit 2; }

# The cross-section and the ground on the README's route with its grade line: a template of four
# lanes with shoulders (narrower from K12+600), the crown, superelevation and widening on both JDs,
# fill and cut slopes with a berm and a ditch; ground sections surveyed every 40 m, a terrain of
# points over the whole route, and ground points about its first two legs for the slope stakes.
{
    cat route.csv
    printf '\n变坡点桩号,高程,竖曲线半径\nK11+300,99.000,\nK12+000,112.000,8000\n'
    printf 'K12+700,105.000,12000\n13500,117.000,10000\n14500,112.000,\n'
} > roadg.csv
printf '侧,部件,宽度,横坡\n左,行车道,3.5,路拱\n右,行车道,3.5,路拱\n右,硬路肩,1.5,路拱\n\n路拱横坡\n2\n\n起点桩号,终点桩号,超高横坡,加宽\n160,240,6,0.5\n\n侧,类型,坡率,高度,平台宽\n左,填,1.5,,\n右,填,1.5,,\n左,挖,1,,\n右,挖,1,,\n' > ramp_section.csv
cat > section.csv <<'EOF'
侧,部件,宽度,横坡,起点桩号
左,中央分隔带,1,路拱,
左,行车道,7.5,路拱,
左,硬路肩,2.5,路拱,
左,土路肩,0.75,-4,
右,中央分隔带,1,路拱,
右,行车道,7.5,路拱,
右,硬路肩,2.5,路拱,
右,土路肩,0.75,-4,
左,中央分隔带,1,路拱,K12+600
左,行车道,7.5,路拱,K12+600
左,土路肩,0.75,-4,K12+600
右,中央分隔带,1,路拱,K12+600
右,行车道,7.5,路拱,K12+600
右,土路肩,0.75,-4,K12+600

路拱横坡,旋转轴
2,中线

交点,超高横坡,加宽
JD1,6,0.8
JD2,4,0.5

侧,类型,坡率,高度,平台宽
左,填,1.5,8,2
左,填,1.75,,
右,填,1.5,,
左,挖,0.75,10,1.5
左,挖,1,,
右,挖,0.75,10,1.5
右,挖,1,,

侧,边沟底宽,边沟深,内坡率,外坡率
左,0.6,0.6,1,1
右,0.6,0.6,1,1
EOF
python3 - <<'EOF'
import math
def grade(c):  # the grade line's PVIs, straight between them (near enough for made-up ground)
    pvi = [(11300, 99), (12000, 112), (12700, 105), (13500, 117), (14400, 112)]
    for (a, ha), (b, hb) in zip(pvi, pvi[1:]):
        if c <= b:
            return ha + (hb - ha) * (max(c, a) - a) / (b - a)
    return pvi[-1][1]
with open("ground.txt", "w") as out:
    c = 11420.0
    while c < 13500:
        if not 12770 <= c <= 12810:  # the long chain gives K12+780..K12+800 twice
            km, m = divmod(c, 1000)
            out.write("BEGIN,K%d+%07.3f\n" % (km, m))
            centre = grade(c) - 3 + 6 * math.sin(c / 97.0)
            for i in range(-12, 13):
                off = i * 5.0 + (0.37 if i % 3 == 0 else 0)
                out.write("%.3f,%.3f\n" % (off, centre + off * 0.04 * math.cos(c / 53.0)))
        c += 40.0 if c < 12500 else 43.7
with open("terrain.csv", "w") as out:
    out.write("点名,X,Y,H\n")
    n = 0
    for i in range(52):
        for j in range(66):
            x, y = 3455900 + i * 40.0, 511500 + j * 40.0
            n += 1
            h = 104 + 6 * math.sin(x / 230.0) + 5 * math.cos(y / 310.0)
            out.write("T%d,%.3f,%.3f,%.3f\n" % (n, x, y, h))
legs = [((3456088.2656, 511632.3766), (3456789.1230, 512345.6780)),
        ((3456789.1230, 512345.6780), (3457084.2532, 513508.8195))]
with open("slope_points.csv", "w") as out, open("slope_points.txt", "w") as one:
    out.write("点名,X,Y,H\n")
    n = 0
    for (a, b) in legs:
        dx, dy = b[0] - a[0], b[1] - a[1]
        L = math.hypot(dx, dy)
        for k in range(1, 40):
            t = k / 40.0
            for off in (-31.5, -24.2, -16.8, 15.9, 22.4, 37.1):
                n += 1
                x = a[0] + dx * t - dy / L * off
                y = a[1] + dy * t + dx / L * off
                h = 96 + (n * 7919 % 200) / 10.0
                out.write("P%d,%.3f,%.3f,%.2f\n" % (n, x, y, h))
                if n % 9 == 0:
                    one.write("%.3f %.3f %.2f\n" % (x, y, h))
EOF

# The benchmark's roads: BP, n JDs turning right and left by 15 to 35 degrees on radii of 1000 to
# 2000 m with spirals of 150 to 250 m, EP, legs of 1.65 km; the 60-JD one also with a grade line
# of 80 PVIs and 200 cross-fall rows. The points of locate.txt lie up to 20 m either side of it,
# and some far off, between two curves and beyond its ends.
python3 - <<'EOF'
import math
K = 3.1415926535 / 180
def zigzag(jds):
    x, y, az = 3000000.0, 500000.0, 45.0
    rows = [("BP", x, y, "", "", "")]
    for i in range(1, jds + 2):
        x += 1650 * math.cos(az * K)
        y += 1650 * math.sin(az * K)
        if i == jds + 1:
            rows.append(("EP", x, y, "", "", ""))
            break
        R = 1000 + (i * 37 % 11) * 100
        ls1, ls2 = 150 + (i * 13 % 5) * 25, 150 + (i * 7 % 5) * 25
        rows.append(("JD%d" % i, x, y, "%.4f" % R, "%.4f" % math.sqrt(ls1 * R),
                     "%.4f" % math.sqrt(ls2 * R)))
        az += (1 if i % 2 == 0 else -1) * (15 + (i * 17 % 21))
    return rows
def table(rows):
    text = "点号,X,Y,R,A1,A2,桩号\n"
    for k, (name, x, y, R, A1, A2) in enumerate(rows):
        text += "%s,%.4f,%.4f,%s,%s,%s,%s\n" % (name, x, y, R, A1, A2, "K10+000" if k == 0 else "")
    return text
road = zigzag(60)
open("road60.csv", "w").write(table(road))
open("road10000.csv", "w").write(table(zigzag(10000)))
length = 60 * 1650.0  # a little more than the road: the grade line reaches beyond its ends
grade = "\n变坡点里程,高程,竖曲线半径\n"
for i in range(82):
    H = 400 + (0 if i % 2 == 0 else 12) + (i % 3) * 2.0
    R = "" if i in (0, 81) else "%d" % (8000 + (i % 4) * 1000)
    grade += "%.4f,%.4f,%s\n" % (10000 + (length - 2000) * i / 81, H, R)
cross = "\n里程,左横坡,右横坡\n"
for i in range(200):
    crown = i % 2 == 0
    cross += "%.4f,%s,%s\n" % (10000 + (length - 2000) * i / 199, "-2" if crown else "4",
                               "-2" if crown else "-4")
open("road60h.csv", "w").write(table(road) + grade + cross)
with open("locate_60.txt", "w") as out:
    n = 1500
    for i in range(n):
        # Along the legs and across the curves, at offsets of -20..20 m, some up to 2 km off.
        t = (i + 0.5) / n
        k = int(t * 61)
        a, b = road[k], road[k + 1]
        f = t * 61 - k
        x, y = a[1] + (b[1] - a[1]) * f, a[2] + (b[2] - a[2]) * f
        off = ((i * 7919) % 401) / 10.0 - 20
        if i % 50 == 0:
            off *= 100
        d = math.atan2(b[2] - a[2], b[1] - a[1]) + math.pi / 2
        out.write("%.4f %.4f\n" % (x + off * math.cos(d), y + off * math.sin(d)))
    bp, ep = road[0], road[-1]
    for d in (-5000, -100, -0.001, 0, 0.0004):
        out.write("%.4f %.4f\n" % (bp[1] + d, bp[2] + d))
        out.write("%.4f %.4f\n" % (ep[1] - d, ep[2] - d))
big = zigzag(10000)
with open("locate_10000.txt", "w") as out:
    for i in range(0, 10000, 47):
        a, b = big[i], big[i + 1]
        out.write("%.4f %.4f\n" % ((a[1] + b[1]) / 2 + 3.3, (a[2] + b[2]) / 2 - 7.1))
        out.write("%.4f %.4f\n" % (b[1] + 12.5, b[2] + 4.25))
# Points about the README route: a grid over it and its surroundings.
with open("locate_readme.txt", "w") as out:
    for i in range(41):
        for j in range(31):
            out.write("%.4f %.4f\n" % (3455900 + i * 50.17, 511500 + j * 90.31))
    for p in ("3456906 512800", "3456750.4575 512318.9125", "3456088.2656 511632.3766",
              "3457814.5550 514034.8035", "3456789.1230 512345.6780", "1e9 1e9", "1e10 0"):
        out.write(p + "\n")
with open("locate_egg.txt", "w") as out:
    for i in range(25):
        for j in range(25):
            out.write("%.3f %.3f\n" % (3455900 + i * 40.3, 511900 + j * 40.7))
EOF

# Console sessions: several curves with stake runs at odd intervals, side points in one and two
# rows and skewed, reverse calculations, exports, the plan as .dxf, curve files.
python3 - <<'EOF'
def design(jd, K, X, Y, T, B, R, A1, A2):
    lines = ["1", jd, ""]
    for v in (K, X, Y, T, B, R, A1, A2):
        lines += [v, ""]
    return lines
right = design("7", "12345.678", "3456789.123", "512345.678", "45.3015", "30.1530", "500", "200", "250")
left = design("8", "2500", "1000", "2000", "120", "-45", "300", "0", "0")
single = design("9", "5000.5005", "4000000.0005", "600000.0005", "359.5959", "-12.3456", "1200", "0", "350")
sessions = {}
s = right + ["n", "2", "2", "12100", "12600", "1.37", "15.3"] + [""] * 800
s += ["5", "3456750.4575", "512318.9125", "5", "3456900", "512500", "5", "3456000", "512000"]
s += ["6", "out/a.csv", "6", "out/a.dat", "6", "out/a.gsi", "7", "out/plan.dxf", "8", "out/curve.csv"]
s += left + ["n", "2", "2", "2400", "2800", "0.999", "0"] + [""] * 800
s += ["6", "out/b.dat", "9", "out/curve.csv", "2", "0", "12300.0005", ""]
s += ["3"]
sessions["one_row"] = s
s = right + ["y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"]
s += ["2", "2", "12150", "12560", "3.3", "15.3", "1.5", "2"] + [""] * 2400
s += ["6", "out/c.csv", "6", "out/c.gsi", "7", "out/plan2.dxf", "4"]
s += single + ["y", "1", "1", "6.25", "2", "3", "4.5", "1"]
s += ["2", "2", "4500", "5400", "2.5", "-8.1"] + [""] * 2400
s += ["6", "out/d.csv", "6", "out/d.dat", "6", "out/d.gsi"]
for i in range(60):
    s += ["5", "%.4f" % (4000000 - 600 + i * 19.7), "%.4f" % (600000 - 300 + i * 11.3)]
s += ["3"]
sessions["two_rows"] = s
for name, lines in sessions.items():
    open("console_%s.txt" % name, "w").write("\n".join(lines) + "\n")
EOF

run() {  # run NAME COMMAND...: standard output, standard error and status of one command
    local name=$1
    shift
    "$@" > "$name.out" 2> "$name.err"
    echo $? > "$name.status"
}

for side in old new; do
    eval program=\$$side
    (
        cd "$scratch/$side" || exit 2
        mkdir -p out
        i=../in
        r=$i/route.csv
        run elements "$program" route $r --elements
        run segments "$program" route $r --segments
        run stakes_readme "$program" route $r --stakes --interval 20 --from K12+500 --to K12+820 \
            --left 5 --right 5
        run stakes_all "$program" route $r --stakes --interval 1.7 --left 5,10,12.25 --right 3.5
        run stakes_skew "$program" route $r --stakes --interval 7.3 --left 5 --right 5,9 \
            --skew 12.3045
        run stakes_rows "$program" route $r --stakes --interval 5 --left 2,4 --right 3 \
            --rows 1.5,2 --skew -30
        run stakes_from "$program" route $r --stakes --interval 0.5 --from 12790 --to K12+800
        run out_csv "$program" route $r --stakes --interval 10 --left 5 --right 5 --out out/r.csv
        run out_dat "$program" route $r --stakes --interval 10 --left 5 --right 5 --out out/r.dat
        run out_gsi "$program" route $r --stakes --interval 10 --right 5 --out out/r.gsi
        run dxf_line "$program" route $r --dxf out/line.dxf
        run dxf_stakes "$program" route $r --dxf out/stakes.dxf --interval 20 --left 5 --right 5
        run landxml "$program" route $r --landxml out/route.xml
        run landxml_back "$program" route out/route.xml --stakes --interval 25 --left 5 --right 5
        d=$i/road.csv
        run road_elements "$program" route $d --elements
        run road_vertical "$program" route $d --vertical
        run road_stakes "$program" route $d --stakes --interval 100 --to K12+300 --left 5 --right 5
        run road_stakes_all "$program" route $d --stakes --interval 3 --left 3.75,7.5 --right 3.75,7.5
        run road_stakes_rows "$program" route $d --stakes --interval 9 --left 4 --right 4 \
            --rows 1,1.25 --skew 5.3
        run road_out_csv "$program" route $d --stakes --interval 10 --left 5 --right 5 \
            --out out/road.csv
        run road_out_dat "$program" route $d --stakes --interval 10 --left 5 --right 5 \
            --out out/road.dat
        run road_out_gsi "$program" route $d --stakes --interval 10 --right 5 --out out/road.gsi
        run road_dxf "$program" route $d --dxf out/road.dxf --interval 10 --left 5 --right 5
        run road_landxml "$program" route $d --landxml out/road.xml
        e=$i/egg.csv
        run egg_segments "$program" route $e --segments
        run egg_stakes "$program" route $e --stakes --interval 2.5 --left 5 --right 5 --skew 10
        run egg_dxf "$program" route $e --dxf out/egg.dxf --interval 20 --left 5 --right 5
        x=$i/ramp.xml
        run ramp_alignments "$program" route $x --alignments
        run ramp_segments "$program" route $x --segments
        run ramp_vertical "$program" route $x --vertical
        run ramp_stakes "$program" route $x --alignment A匝道 --stakes --interval 50
        run ramp_stakes_all "$program" route $x --stakes --interval 1.1 --left 4 --right 4,8
        run ramp_landxml "$program" route $x --landxml out/ramp.xml
        run ramp_fault "$program" route $x --alignment B --segments
        # The cross-section, ground and earthwork.
        q=$i/roadg.csv
        t=$i/section.csv
        run sec_edges "$program" route $q $t --stakes --interval 20 --edges
        run sec_edges_sides "$program" route $q $t --stakes --interval 7.7 --left 3,20 --right 9 \
            --edges
        run sec_edges_csv "$program" route $q $t --stakes --interval 25 --edges --out out/edges.csv
        run sec_edges_dat "$program" route $q $t --stakes --interval 25 --edges --out out/edges.dat
        run sec_sections "$program" route $q $t --sections --interval 20
        run sec_sections_ew "$program" route $q $t --sections --interval 50 --from K11+800 \
            --to K13+200 --earthwork 填,挖
        run sec_sections_cut "$program" route $q $t --sections --interval 100 --earthwork 挖
        run sec_slope_stakes "$program" route $q $t --slope-stakes $i/slope_points.csv
        while read -r X Y H; do
            "$program" route $q $t --slope-stake "$X" "$Y" "$H"
            echo "status $?"
            "$program" route $q $t --locate "$X" "$Y" "$H"
            echo "status $?"
        done < $i/slope_points.txt > sec_slope_stake.out 2>&1
        run sec_dxf "$program" route $q $t --dxf out/section.dxf --interval 50 --left 5 --right 5
        run sec_ramp_edges "$program" route $x $i/ramp_section.csv --stakes --interval 10 --edges
        run sec_ramp_sections "$program" route $x $i/ramp_section.csv --sections --interval 20
        run ground_sections "$program" route $q $i/ground.txt --ground --interval 20
        run ground_sections_part "$program" route $q $i/ground.txt --ground --interval 7 \
            --from K12+000 --to K12+900 --skew 10
        run ground_terrain "$program" route $q $i/terrain.csv --ground --interval 10 --reach 30
        run ground_terrain_skew "$program" route $q $i/terrain.csv --ground --interval 33 \
            --skew -15 --reach 45
        run earthwork "$program" route $q $t $i/ground.txt --earthwork
        run earthwork_prism "$program" route $q $t $i/ground.txt --earthwork --prismoidal
        run earthwork_part "$program" route $q $t $i/ground.txt --earthwork --from K11+600 \
            --to K12+700
        run earthwork_stakes "$program" route $q $t $i/ground.txt --earthwork --interval 20 \
            --reach 60
        run earthwork_terrain "$program" route $q $t $i/terrain.csv --earthwork --interval 20
        run earthwork_terrain_prism "$program" route $q $t $i/terrain.csv --earthwork \
            --prismoidal --interval 15 --reach 50
        g=$i/road60.csv
        run road60_elements "$program" route $g --elements
        run road60_segments "$program" route $g --segments
        run road60_stakes "$program" route $g --stakes --interval 5 --left 5,10 --right 5,10
        run road60_skew "$program" route $g --stakes --interval 13.7 --left 5 --right 5 \
            --skew -20.1530 --rows 1.5,2
        run road60_dxf "$program" route $g --dxf out/road60.dxf --interval 50 --left 5 --right 5
        h=$i/road60h.csv
        run road60h_vertical "$program" route $h --vertical
        run road60h_stakes "$program" route $h --stakes --interval 5 --left 5,10 --right 5,10
        run road60h_skew "$program" route $h --stakes --interval 11 --left 7 --right 7 \
            --skew 25 --rows 2,3
        run road60h_out_dat "$program" route $h --stakes --interval 20 --left 5 --right 5 \
            --out out/road60h.dat
        run road60h_out_gsi "$program" route $h --stakes --interval 20 --right 5 \
            --out out/road60h.gsi
        b=$i/road10000.csv
        run road10000_elements "$program" route $b --elements
        run road10000_segments "$program" route $b --segments
        run road10000_stakes "$program" route $b --stakes --interval 100 --left 5 --right 5
        run road10000_landxml "$program" route $b --landxml out/road10000.xml
        # Many surveyed points, one command each (the mode takes one point).
        for pair in "r readme $r" "d readme $d" "e egg $e" "g 60 $g" "h 60 $h" "b 10000 $b"; do
            set -- $pair
            n=0
            while read -r X Y; do
                n=$((n + 1))
                if [ "$1" = h ]; then
                    "$program" route "$3" --locate "$X" "$Y" 405.5
                else
                    "$program" route "$3" --locate "$X" "$Y"
                fi
                echo "status $?"
            done < "$i/locate_$2.txt" > "locate_$1.out" 2>&1
        done
        for s in "$i"/console_*.txt; do
            run "$(basename "$s" .txt)" "$program" --console < "$s"
        done
        # The LandXML files carry the time they were written.
        sed -i 's/ date="[^"]*" time="[^"]*"//' out/*.xml
    ) || echo "FAIL $side: status $?"
done

cd "$scratch" || exit 2
failures=0
files=0
for f in $(cd old && find . -type f | sort); do
    files=$((files + 1))
    if ! cmp -s "old/$f" "new/$f"; then
        echo "DIFFERS: $f"
        diff "old/$f" "new/$f" | head -6
        failures=$((failures + 1))
    fi
done
for f in $(cd new && find . -type f | sort); do
    [ -e "old/$f" ] || { echo "ONLY NEW: $f"; failures=$((failures + 1)); }
done
bytes=$(cat old/*.out old/out/* | wc -c)
echo "$files files compared ($bytes bytes of output), $failures differ"
[ "$failures" = 0 ]
