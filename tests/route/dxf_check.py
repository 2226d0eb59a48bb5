"""The plan for CAD read back by an independent reader (ezdxf): hcurve route --dxf and console
command 7's .dxf.

Every element of the route's centre line is compared with the route's own element table
(--segments): straights as LINEs from start to end, arcs as ARCs about the centre found from the
start, its azimuth and the radius, spirals as polylines within 1 mm of the stakes the route
computes every 0.25 m. DXF's x is east and y north. The stakes and side points stand as POINTs
where the stake table puts them, at their design elevation, with their names as TEXT beside them.

Usage: dxf_check.py HCURVE SCRATCH_FOLDER. Exit status 77 (skipped) without python3-ezdxf.
"""

import csv
import io
import math
import os
import shutil
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("SKIP: python3-ezdxf is not installed")
    sys.exit(77)

HCURVE, SCRATCH = sys.argv[1], sys.argv[2]
shutil.rmtree(SCRATCH, ignore_errors=True)
os.makedirs(SCRATCH)
os.chdir(SCRATCH)

# Right-hand with spirals of 80 m and 125 m, then left-hand without: symmetric about no axis.
# A long chain gives 20 m of chainage texts twice; the grade line ends before EP.
ROUTE = """点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3456890.2532,513308.8195,300,0,0,
EP,3457614.5550,513934.8035,,,,

断链前桩号,断链后桩号
K12+800,K12+780

变坡点桩号,高程,竖曲线半径
K11+345.678,100.000,
K12+000,112.000,8000
K12+700,105.000,12000
K13+900,110.000,
"""
LAYERS = {"中线", "切线", "交点", "特征点", "中桩", "边桩", "标注"}
# The table's coordinates have four decimals.
TABLE = 1.5e-4

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def run(*args, stdin=None):
    done = subprocess.run([HCURVE, *args], input=stdin, capture_output=True)
    if done.returncode != 0:
        sys.exit("hcurve %s: status %d: %s" % (" ".join(args), done.returncode,
                                                 done.stderr.decode("utf-8", "replace")))
    return done.stdout.decode("utf-8")


def table(text):
    rows = list(csv.reader(io.StringIO(text)))
    return [dict(zip(rows[0], row)) for row in rows[1:]]


def read(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.has_errors, "%s: ezdxf's audit finds %s" % (path, auditor.errors))
    check(doc.dxfversion == "AC1024", "%s: version %s" % (path, doc.dxfversion))
    check(LAYERS <= {layer.dxf.name for layer in doc.layers}, "%s: layers" % path)
    return doc.modelspace()


def on(msp, layer, kind):
    return [e for e in msp if e.dxf.layer == layer and e.dxftype() == kind]


def near(a, b, tolerance):
    """Two points' distance in the plan (a vector's z, if any, left aside)."""
    return math.dist(tuple(a)[:2], tuple(b)[:2]) <= tolerance


def azimuth(dms):
    """ddd.mmssss as decimal degrees."""
    degrees, rest = dms.split(".")
    return int(degrees) + int(rest[:2]) / 60 + float(rest[2:4] + "." + rest[4:]) / 3600


def segment_distance(p, a, b):
    ax, ay, bx, by = a[0], a[1], b[0], b[1]
    dx, dy = bx - ax, by - ay
    t = ((p[0] - ax) * dx + (p[1] - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.dist(p, (ax + t * dx, ay + t * dy))


def text_anchor(t):
    return tuple(t.dxf.align_point)[:2] if t.dxf.halign else tuple(t.dxf.insert)[:2]


# --- the route -----------------------------------------------------------------------------
with open("route.csv", "w", encoding="utf-8") as f:
    f.write(ROUTE)
stake_options = ["--interval", "20", "--left", "5", "--right", "2.5,7.5"]
run("route", "route.csv", "--dxf", "plan.dxf", *stake_options)
msp = read("plan.dxf")
segments = table(run("route", "route.csv", "--segments"))
fine = table(run("route", "route.csv", "--stakes", "--interval", "0.25"))


def ends(s):
    return (float(s["起点Y"]), float(s["起点X"])), (float(s["终点Y"]), float(s["终点X"]))


lines = on(msp, "中线", "LINE")
straights = [s for s in segments if s["线元"] == "直线"]
check(len(lines) == len(straights), "%d lines for %d straights" % (len(lines), len(straights)))
for s in straights:
    start, end = ends(s)
    check(any(near(l.dxf.start, start, TABLE) and near(l.dxf.end, end, TABLE)
              for l in lines), "straight %s: no LINE from %s to %s" % (s["名称"], start, end))

arcs = on(msp, "中线", "ARC")
circular = [s for s in segments if s["线元"] == "圆曲线"]
check(len(arcs) == len(circular), "%d arcs for %d circular curves" % (len(arcs), len(circular)))
for s in circular:
    start, end = ends(s)
    radius = float(s["起点半径"])
    right = s["转向"] == "右"
    # The centre lies a radius to the side the curve turns to, square to the start's tangent.
    towards = math.radians(azimuth(s["起点方位角"]) + (90 if right else -90))
    centre = (start[0] + radius * math.sin(towards), start[1] + radius * math.cos(towards))
    found = [a for a in arcs if near(a.dxf.center, centre, 1e-3)]
    check(len(found) == 1, "arc %s: no ARC about %s" % (s["名称"], centre))
    for a in found:
        check(abs(a.dxf.radius - radius) < TABLE, "arc %s: radius %s" % (s["名称"], a.dxf.radius))

        def at(angle):
            return (a.dxf.center[0] + a.dxf.radius * math.cos(math.radians(angle)),
                    a.dxf.center[1] + a.dxf.radius * math.sin(math.radians(angle)))

        # Counter-clockwise on the drawing: a right-hand arc runs from its end to its start.
        first, last = (end, start) if right else (start, end)
        check(near(at(a.dxf.start_angle), first, 5e-4) and near(at(a.dxf.end_angle), last, 5e-4),
              "arc %s: angles %s to %s" % (s["名称"], a.dxf.start_angle, a.dxf.end_angle))

polylines = on(msp, "中线", "LWPOLYLINE")
spirals = [s for s in segments if s["线元"] == "缓和曲线"]
check(len(polylines) == len(spirals), "%d polylines for %d spirals" % (len(polylines),
                                                                      len(spirals)))
for s in spirals:
    start, end = ends(s)
    found = [p for p in polylines
             if near(p.get_points("xy")[0], start, TABLE) and near(p.get_points("xy")[-1], end,
                                                                  TABLE)]
    check(len(found) == 1, "spiral %s: no polyline from %s to %s" % (s["名称"], start, end))
    if not found:
        continue
    vertices = found[0].get_points("xy")
    worst = 0.0
    for row in fine:
        if float(s["起点里程"]) <= float(row["里程"]) <= float(s["终点里程"]):
            p = (float(row["Y"]), float(row["X"]))
            worst = max(worst, min(segment_distance(p, vertices[i], vertices[i + 1])
                                   for i in range(len(vertices) - 1)))
    check(worst <= 0.001 + TABLE, "spiral %s: %.5f m from the curve" % (s["名称"], worst))

# The tangent polygon and its points.
points = table(ROUTE.split("\n\n")[0] + "\n")
polygon = [(float(p["Y"]), float(p["X"])) for p in points]
tangents = on(msp, "切线", "LINE")
check(len(tangents) == len(polygon) - 1, "%d tangents" % len(tangents))
for a, b in zip(polygon, polygon[1:]):
    check(any(near(t.dxf.start, a, 1e-6) and near(t.dxf.end, b, 1e-6) for t in tangents),
          "no tangent from %s to %s" % (a, b))
check(sorted(t.dxf.text for t in on(msp, "交点", "TEXT")) == sorted(p["点号"] for p in points),
      "JD labels")
for p in polygon:
    check(any(near(q.dxf.location, p, 1e-6) for q in on(msp, "交点", "POINT")),
          "no JD point at %s" % (p,))

# The stakes and side points: where the stake table puts them, named as the exports name them.
stakes = table(run("route", "route.csv", "--stakes", *stake_options))
expected = {}  # name -> (layer, east, north, elevation)
seen = {}
for row in stakes:
    seen[row["桩号"]] = seen.get(row["桩号"], 0) + 1
    name = row["桩号"] + ("" if seen[row["桩号"]] == 1 else "-%d" % seen[row["桩号"]])
    height = float(row["高程"]) if row["高程"] else 0.0
    expected[name] = ("中桩", float(row["Y"]), float(row["X"]), height)
    for side, count in (("左", 1), ("右", 2)):
        for k in range(1, count + 1):
            tag = ("L" if side == "左" else "R") + str(k)
            expected[name + "-" + tag] = ("边桩", float(row["%s%dY" % (side, k)]),
                                          float(row["%s%dX" % (side, k)]), 0.0)
check(any(n.endswith("-2") for n in expected), "the long chain gives a name twice")
drawn = {layer: on(msp, layer, "POINT") for layer in ("中桩", "边桩")}
check(sum(len(v) for v in drawn.values()) == len(expected),
      "%d points for %d" % (sum(len(v) for v in drawn.values()), len(expected)))
labels = {t.dxf.text: t for t in on(msp, "标注", "TEXT")}
check(set(labels) == set(expected), "names: %s" % sorted(set(labels) ^ set(expected))[:6])
grid = {}
for layer, entities in drawn.items():
    for e in entities:
        x, y, z = e.dxf.location
        grid.setdefault((layer, round(x), round(y)), []).append((x, y, z))
for name, (layer, east, north, height) in expected.items():
    candidates = [q for dx in (-1, 0, 1) for dy in (-1, 0, 1)
                  for q in grid.get((layer, round(east) + dx, round(north) + dy), [])]
    check(any(near(q[:2], (east, north), TABLE) and abs(q[2] - height) < TABLE
              for q in candidates), "%s: no point at %s" % (name, (east, north, height)))
    if name in labels:
        check(near(text_anchor(labels[name]), (east, north), 2 * labels[name].dxf.height),
              "%s: its name stands away from it" % name)

# The characteristic points with their chainage texts, as the stake table names them.
named = {"BP", "ZH", "HY", "QZ", "YH", "HZ", "ZY", "YZ", "EP"}
marks = sorted(r["点"] + " " + r["桩号"] for r in stakes if r["点"] in named)
check(sorted(t.dxf.text for t in on(msp, "特征点", "TEXT")) == marks, "characteristic points")
check(len(on(msp, "特征点", "POINT")) == len(marks), "characteristic points' points")

# --- a route of elements whose rows name no point: BP and EP marked alike -----------------------
with open("elements.csv", "w", encoding="utf-8") as f:
    f.write("起点桩号,X,Y,方位角\nK0+000,1000,2000,45\n\n长度,起点半径,终点半径,转向\n"
            "100,,,\n100,300,300,右\n")
run("route", "elements.csv", "--dxf", "elements.dxf")
msp = read("elements.dxf")
ends_of = table(run("route", "elements.csv", "--stakes", "--interval", "1000"))
marks = {t.dxf.text: text_anchor(t) for t in on(msp, "特征点", "TEXT")}
points = [tuple(p.dxf.location)[:2] for p in on(msp, "特征点", "POINT")]
for row, name in ((ends_of[0], "BP"), (ends_of[-1], "EP")):
    label = name + " " + row["桩号"]
    at = (float(row["Y"]), float(row["X"]))
    check(label in marks, "element route: no %s on 特征点 (%s)" % (label, sorted(marks)))
    check(any(near(p, at, TABLE) for p in points), "element route: no point at %s" % name)

# --- console command 7 ---------------------------------------------------------------------
plan = os.path.join(os.getcwd(), "curve.dxf")
session = ("1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n"
           "250\n\nn\n2\n2\n12100\n12600\n100\n" + "\n" * 6 + "7\n" + plan + "\n3\n")
said = run("--console", stdin=session.encode("utf-8"))
check("! 已保存平面图到文件“%s”。" % plan in said, "command 7 says it saved the .dxf")
msp = read(plan)
check(len(on(msp, "中线", "ARC")) == 1 and len(on(msp, "中线", "LWPOLYLINE")) == 2,
      "one curve: an arc and two spirals")
check([t.dxf.text for t in on(msp, "交点", "TEXT")] == ["JD7"] and
      len(on(msp, "交点", "POINT")) == 1, "one curve: the JD")
check(len(on(msp, "切线", "LINE")) == 2, "one curve: its two tangents")
check(sorted(t.dxf.text.split()[0] for t in on(msp, "特征点", "TEXT")) ==
      sorted(["ZH", "HY", "QZ", "YH", "HZ"]), "one curve: its characteristic points")
check(sorted(t.dxf.text for t in on(msp, "标注", "TEXT")) ==
      ["K12+%d00.000" % k for k in range(1, 7)], "one curve: the stakes' names")
# The arc runs counter-clockwise over its length from HY to YH, not around the rest of the circle;
# the spirals meet it there.
arc = on(msp, "中线", "ARC")[0]
chainage = {t.dxf.text.split()[0]: t.dxf.text.split()[1] for t in on(msp, "特征点", "TEXT")}


def metres(text):
    kilometres, rest = text[1:].split("+")
    return int(kilometres) * 1000 + float(rest)


span = (arc.dxf.end_angle - arc.dxf.start_angle) % 360
check(abs(math.radians(span) * arc.dxf.radius - (metres(chainage["YH"]) - metres(chainage["HY"])))
      < 2e-3, "one curve: the arc spans %.6f degrees" % span)
arc_ends = [(arc.dxf.center[0] + arc.dxf.radius * math.cos(math.radians(a)),
             arc.dxf.center[1] + arc.dxf.radius * math.sin(math.radians(a)))
            for a in (arc.dxf.start_angle, arc.dxf.end_angle)]
for p in on(msp, "中线", "LWPOLYLINE"):
    v = p.get_points("xy")
    check(any(near(v[0], e, 1e-6) or near(v[-1], e, 1e-6) for e in arc_ends),
          "one curve: a spiral that does not meet the arc")

print("%d failures" % len(failures))
sys.exit(1 if failures else 0)
