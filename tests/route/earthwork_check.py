"""The earthwork table against an independent reckoning with Debian's python3-shapely.

A straight road north from K1+000, level at 100 m, with a template unlike on its two sides, fill
slopes with a berm on the left, cut slopes behind a ditch, under 60 ground sections drawn at
random (seeded) every 20 m. For each section the design line is built here from the tables, each
side's catch point is shapely's intersection of the side's slope with the ground line nearest to
the formation edge, and the fill and cut areas are the areas of the intersections of the region
under (over) the design line with the region over (under) the ground, between the catch points.
hcurve route --earthwork must give them to the 4 decimals it prints, and the volumes by the
average end area and by the frustum from them.

Usage: earthwork_check.py HCURVE SCRATCH_FOLDER. Exit status 77 (skipped) without python3-shapely.
"""

import csv
import io
import math
import os
import random
import shutil
import subprocess
import sys

try:
    from shapely.geometry import LineString, Point, Polygon, box
except ImportError:
    print("SKIP: python3-shapely is not installed")
    sys.exit(77)

HCURVE, SCRATCH = sys.argv[1], sys.argv[2]
shutil.rmtree(SCRATCH, ignore_errors=True)
os.makedirs(SCRATCH)
os.chdir(SCRATCH)

ROUTE = """点号,X,Y,R,A1,A2,桩号
BP,0,0,,,,K1+000
JD1,3000,0,300,150,150,
EP,3000,1000,,,,

变坡点桩号,高程,竖曲线半径
K1+000,100,
K3+000,100,

侧,部件,宽度,横坡
左,行车道,3.5,路拱
左,土路肩,0.75,-4
右,行车道,3.75,路拱
右,硬路肩,1.5,路拱

侧,类型,坡率,高度,平台宽
左,填,1.5,4,1
左,填,1.75,,
右,填,1.5,,
左,挖,1,,
右,挖,0.75,3,1
右,挖,1,,

侧,边沟底宽,边沟深,内坡率,外坡率
左,0.4,0.6,1,1
右,0.5,0.5,1,1.5
"""

CROWN = 0.02
# Each side outwards: (width, fall as a rise per metre), the fill steps and the cut steps as
# (ratio, height or None, berm), the ditch (bottom, depth, inner, outer) or None.
SIDES = {
    -1: dict(parts=[(3.5, -CROWN), (0.75, -0.04)],
             fill=[(1.5, 4, 1), (1.75, None, 0)], cut=[(1, None, 0)], ditch=(0.4, 0.6, 1, 1)),
    1: dict(parts=[(3.75, -CROWN), (1.5, -CROWN)],
            fill=[(1.5, None, 0)], cut=[(0.75, 3, 1), (1, None, 0)], ditch=(0.5, 0.5, 1, 1.5)),
}
FAR = 500.0  # the unbounded last step drawn this high: beyond any ground


def ground_at(ground, u):
    line = LineString(ground)
    cut = line.intersection(LineString([(u, -1e4), (u, 1e4)]))
    ys = [p.y for p in getattr(cut, "geoms", [cut])]
    return max(ys) if ys else None


def side_lines(sign, kind, edge_u, edge_z):
    """The side's ditch and slope, outwards, as (u, z) lists (the ditch's first point the edge)."""
    s = SIDES[sign]
    ditch = [(edge_u, edge_z)]
    u, z = edge_u, edge_z
    if kind == "cut" and s["ditch"]:
        b, d, m1, m2 = s["ditch"]
        ditch += [(u + m1 * d, z - d), (u + m1 * d + b, z - d), (u + m1 * d + b + m2 * d, z)]
        u = ditch[-1][0]
    slope = [(u, z)]
    up = 1 if kind == "cut" else -1
    for ratio, height, berm in s[kind]:
        h = height if height is not None else FAR
        u, z = u + ratio * h, z + up * h
        slope.append((u, z))
        if berm:
            u += berm
            slope.append((u, z))
    return ditch, slope


def nearest_meeting(line_uz, ground_uz, outermost=False):
    meet = LineString(line_uz).intersection(LineString(ground_uz))
    if meet.is_empty:
        return None
    points = []
    for g in getattr(meet, "geoms", [meet]):
        points += list(g.coords)
    along = LineString(line_uz)
    key = lambda p: along.project(Point(p))
    return max(points, key=key) if outermost else min(points, key=key)


def reckon(ground):
    """(fill, cut) of a ground line [(offset, H)], or None where a slope misses the ground."""
    parts = {}
    catches = {}
    for sign in (-1, 1):
        uz = [(0.0, 100.0)]
        for width, rise in SIDES[sign]["parts"]:
            uz.append((uz[-1][0] + width, uz[-1][1] + rise * width))
        edge_u, edge_z = uz[-1]
        g_out = sorted(((sign * x, h) for x, h in ground), key=lambda p: p[0])
        gh = ground_at(g_out, edge_u)
        kind = "fill" if edge_z > gh else "cut"
        ditch, slope = side_lines(sign, kind, edge_u, edge_z)
        # Outwards from the edge: the ditch, then the slope; the catch point on the slope, or
        # where the slope starts above the ground, the outermost meeting on the ditch.
        path = ditch + slope[1:]
        c = nearest_meeting(slope, g_out)
        if c is None and len(ditch) > 1 and ground_at(g_out, slope[0][0]) < slope[0][1]:
            c = nearest_meeting(ditch, g_out, outermost=True)
        if c is None:
            return None
        along = LineString(path)
        reach = along.project(Point(c))
        kept = uz[1:] + [p for p in path[1:] if along.project(Point(p)) < reach] + [c]
        parts[sign] = [(sign * u, z) for u, z in kept]
        catches[sign] = sign * c[0]
    design = list(reversed(parts[-1])) + [(0.0, 100.0)] + parts[1]
    lo, hi = catches[-1], catches[1]
    band = box(lo, -1e3, hi, 1e3)
    under_design = Polygon(design + [(hi, -1e3), (lo, -1e3)])
    over_design = Polygon(design + [(hi, 1e3), (lo, 1e3)])
    g0, g1 = ground[0][0], ground[-1][0]
    over_ground = Polygon(ground + [(g1, 1e3), (g0, 1e3)])
    under_ground = Polygon(ground + [(g1, -1e3), (g0, -1e3)])
    fill = under_design.intersection(over_ground).intersection(band).area
    cut = over_design.intersection(under_ground).intersection(band).area
    return fill, cut


rng = random.Random(33)
sections = []
text = ""
k = 0
while len(sections) < 60:
    chainage = 1100 + 20 * len(sections)
    base = 100 + rng.uniform(-7, 7)
    tilt = rng.uniform(-0.25, 0.25)
    xs = sorted(set([-45.0, 45.0] + [round(rng.uniform(-44, 44), 2) for _ in range(10)]))
    ground = [(x, round(base + tilt * x + rng.uniform(-0.6, 0.6), 3)) for x in xs]
    areas = reckon(ground)
    k += 1
    if areas is None or k > 1000:
        continue
    sections.append((chainage, areas))
    text += "BEGIN,%d:%d\n" % (chainage, len(sections))
    text += "".join("%s,%s\n" % (x, h) for x, h in ground)

with open("road.csv", "w", encoding="utf-8") as f:
    f.write(ROUTE)
with open("ground.txt", "w", encoding="utf-8") as f:
    f.write(text)

failures = []
for method in ("", "--prismoidal"):
    args = [HCURVE, "route", "road.csv", "ground.txt", "--earthwork"] + ([method] if method else [])
    run = subprocess.run(args, capture_output=True, text=True)
    if run.returncode != 0:
        print(run.stderr)
        sys.exit(1)
    rows = [r for r in csv.reader(io.StringIO(run.stdout))][1:]
    rows = [r for r in rows if r[0].startswith("K") and "小计" not in r[0]]
    if len(rows) != len(sections):
        failures.append("%d rows for %d sections" % (len(rows), len(sections)))
        break
    total_fill = 0.0
    for i, ((chainage, (fill, cut)), row) in enumerate(zip(sections, rows)):
        if abs(float(row[2]) - fill) > 6e-5 or abs(float(row[3]) - cut) > 6e-5:
            failures.append("%s: areas %s %s, shapely %.5f %.5f" % (row[0], row[2], row[3], fill, cut))
        if i == 0:
            continue
        a1 = sections[i - 1][1][0]
        L = chainage - sections[i - 1][0]
        v = L * (a1 + fill) / 2 if not method else L / 3 * (a1 + fill + math.sqrt(a1 * fill))
        total_fill += v
        if abs(float(row[5]) - v) > 2e-3:
            failures.append("%s%s: fill volume %s, from shapely's areas %.4f" % (row[0], method, row[5], v))
    if abs(float(rows[-1][7]) - total_fill) > 0.05:
        failures.append("total fill %s, from shapely's areas %.3f" % (rows[-1][7], total_fill))

# The draw holds sections all in fill, all in cut, and with both.
kinds = set((fill > 0, cut > 0) for _, (fill, cut) in sections)
if kinds != {(True, False), (False, True), (True, True)}:
    failures.append("the sections drawn lack a kind: %s" % sorted(kinds))

for f in failures[:20]:
    print(f)
if failures:
    sys.exit(1)
print("all passed: %d sections" % len(sections))
