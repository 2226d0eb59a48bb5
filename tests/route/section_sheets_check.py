"""The cross-section sheets read back by independent readers: the DXF by ezdxf, the PDF by
pdftotext.

A straight road north from K1+000, level at 100 m, with a template, fill slopes with a berm and cut
slopes behind a ditch, under 23 surveyed ground sections every 20 m that run from a deep fill
through side-long ground into a cut. hcurve route --earthwork gives each section's areas; the
sheets must show the same sections, each once, with the same area texts, and the title blocks
must number the sheets 第 n 张 共 N 张 and name the route and each sheet's first and last stake.

The DXF's geometry is checked against itself and the ground file: at the stated scale the drawn
ground line's vertices are the surveyed points (their differences in offset and height times
1000/scale millimetres), each break point's offset and elevation texts stand for the point drawn
above them, both catch points lie on the drawn ground line, and the areas between the drawn design
line and ground line, integrated here piece by piece, are the area texts.

Usage: section_sheets_check.py HCURVE SCRATCH_FOLDER [pdf]. Exit status 77 (skipped) without
python3-ezdxf (or, with pdf, without pdftotext).
"""

import csv
import io
import math
import os
import re
import shutil
import subprocess
import sys

try:
    import ezdxf
except ImportError:
    print("SKIP: python3-ezdxf is not installed")
    sys.exit(77)

HCURVE, SCRATCH = sys.argv[1], sys.argv[2]
WITH_PDF = len(sys.argv) > 3 and sys.argv[3] == "pdf"
if WITH_PDF and shutil.which("pdftotext") is None:
    print("SKIP: pdftotext is not installed")
    sys.exit(77)
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
SECTIONS = 23
OFFSETS = [-60, -45, -33, -24, -16, -9, -4, 0, 3, 8, 14, 21, 29, 38, 48, 60]


def ground_height(k, offset):
    """The ground of section k: from 6 m under the road to 5 m over it, tilted and rippled."""
    lift = -6 + 11 * k / (SECTIONS - 1)
    return 100 + lift + 0.06 * offset + 0.8 * math.sin(offset / 7 + k)


GROUND = {}
with open("ground.txt", "w", encoding="utf-8") as f:
    for k in range(SECTIONS):
        stake = f"K1+{20 * k:03d}"
        f.write(f"BEGIN,{stake}:{k + 1}\n")
        GROUND[stake + ".000"] = []
        for o in OFFSETS:
            h = round(ground_height(k, o), 3)
            GROUND[stake + ".000"].append((float(o), h))
            f.write(f"{o},{h:.3f}\n")
with open("road.csv", "w", encoding="utf-8") as f:
    f.write(ROUTE)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    return subprocess.run([HCURVE, "route", "road.csv", "ground.txt", *args],
                          capture_output=True, text=True)


work = run("--earthwork")
assert work.returncode == 0, work.stderr
AREAS = {}
for row in csv.DictReader(io.StringIO(work.stdout)):
    if row["桩号"].startswith("K") and row["里程"]:
        AREAS[row["桩号"]] = (row["填方面积"], row["挖方面积"])
assert len(AREAS) == SECTIONS, AREAS
STAKE = re.compile(r"^K\d+\+\d{3}\.\d{3}$")
SHEET_NUMBER = re.compile(r"^第 (\d+) 张  共 (\d+) 张$")


def integral_of(f, a, b):
    """The integral from a to b of a linear f (given at both ends): exact."""
    return (f(a) + f(b)) / 2 * (b - a)


def at(polyline, x):
    """The height of a polyline (x increasing) at x, linear between its vertices."""
    for (x0, y0), (x1, y1) in zip(polyline, polyline[1:]):
        if x0 <= x <= x1 and x1 > x0:
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0)
    return None


def areas_between(design, ground):
    """(fill, cut) between two polylines over the design's reach: the integral of the positive
    and of the negative part of their difference, split at the crossings of each piece."""
    xs = sorted({x for x, _ in design} | {x for x, _ in ground
                                           if design[0][0] <= x <= design[-1][0]})
    fill = cut = 0.0
    for a, b in zip(xs, xs[1:]):
        if b <= a:
            continue
        da = at(design, a) - at(ground, a)
        db = at(design, b) - at(ground, b)
        if da * db < 0:
            m = a + (b - a) * da / (da - db)
            pieces = [(a, m, da, 0.0), (m, b, 0.0, db)]
        else:
            pieces = [(a, b, da, db)]
        for x0, x1, d0, d1 in pieces:
            v = (d0 + d1) / 2 * (x1 - x0)
            if d0 + d1 > 0:
                fill += v
            else:
                cut -= v
    return fill, cut


def check_dxf(path, scale):
    mm = 1000.0 / scale
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.has_errors and not auditor.has_fixes,
          f"{path}: audit: {[e.message for e in auditor.errors + auditor.fixes]}")
    msp = doc.modelspace()
    texts = [(t.dxf.text, t.dxf.layer, t.dxf.insert, t) for t in msp.query("TEXT")]
    stakes = [(s, p) for s, layer, p, _ in texts if layer == "标注" and STAKE.match(s)]
    check(sorted(s for s, _ in stakes) == sorted(AREAS),
          f"{path}: the sections drawn are {sorted(s for s, _ in stakes)}")
    numbers = [SHEET_NUMBER.match(s) for s, layer, _, _ in texts if layer == "图签"]
    numbers = [(int(m.group(1)), int(m.group(2))) for m in numbers if m]
    sheets = len(numbers)
    check(sorted(numbers) == [(n, sheets) for n in range(1, sheets + 1)],
          f"{path}: sheet numbers {numbers}")
    check(sheets >= 2, f"{path}: {sheets} sheets for {SECTIONS} sections")
    # Each sheet's title block: the route and its first and last stake, in chainage order.
    width = 420 + 20
    by_sheet = {}
    for s, p in stakes:
        by_sheet.setdefault(int(p.x // width), []).append(s)
    order = [s for n in sorted(by_sheet) for s in sorted(by_sheet[n])]
    check(order == sorted(AREAS), f"{path}: sections out of chainage order across sheets")
    for n, on in by_sheet.items():
        want = f"{min(on)} – {max(on)}" if len(on) > 1 else on[0]
        block = [s for s, layer, p, _ in texts if layer == "图签" and int(p.x // width) == n]
        check(want in block and "road" in block and f"1:{scale}" in block,
              f"{path}: sheet {n + 1}'s title block {block}, expected {want}")
    designs = [[(v[0], v[1]) for v in e.get_points("xy")]
               for e in msp.query("LWPOLYLINE[layer=='设计线']")]
    grounds = [[(v[0], v[1]) for v in e.get_points("xy")]
               for e in msp.query("LWPOLYLINE[layer=='地面线']")]
    check(len(designs) == SECTIONS and len(grounds) == SECTIONS,
          f"{path}: {len(designs)} design lines and {len(grounds)} ground lines")
    for stake, p in stakes:
        # The section's own lines stand over its 桩号, the nearest above it.
        def distance(line):
            xs = [x for x, _ in line]
            ys = [y for _, y in line]
            if min(ys) < p.y:
                return math.inf
            return min(ys) - p.y + max(0.0, min(xs) - p.x, p.x - max(xs))
        design = min(designs, key=distance)
        ground = min(grounds, key=distance)
        # The ground's vertices are the surveyed points at the scale (the ends may be cut).
        surveyed = GROUND[stake]
        inner = ground[1:-1]
        dx = [(b[0] - a[0]) / mm for a, b in zip(inner, inner[1:])]
        dh = [(b[1] - a[1]) / mm for a, b in zip(inner, inner[1:])]
        want = list(zip(surveyed, surveyed[1:]))
        got = list(zip(dx, dh))
        found = any(
            all(abs(g[0] - (w[1][0] - w[0][0])) < 1e-6 and abs(g[1] - (w[1][1] - w[0][1])) < 1e-6
                for g, w in zip(got, want[s:s + len(got)]))
            and len(want[s:s + len(got)]) == len(got)
            for s in range(len(want)))
        check(found, f"{path}: {stake}: the ground line's steps {got[:3]}… are not the survey's")
        # Both catch points on the drawn ground.
        for cx, cy in (design[0], design[-1]):
            gy = at(ground, cx)
            check(gy is not None and abs(gy - cy) < 1e-6,
                  f"{path}: {stake}: catch point ({cx}, {cy}) off the ground ({gy})")
        fill, cut = areas_between(design, ground)
        fill, cut = fill / mm / mm, cut / mm / mm
        want_fill, want_cut = (float(a) for a in AREAS[stake])
        check(abs(fill - want_fill) < 6e-5 and abs(cut - want_cut) < 6e-5,
              f"{path}: {stake}: drawn areas {fill:.5f}, {cut:.5f}, the table's "
              f"{want_fill}, {want_cut}")
        # The area texts of the section, nearest under its 桩号.
        def under(prefix):
            near = [(p.y - q.y + abs(p.x - q.x), s) for s, layer, q, _ in texts
                    if s.startswith(prefix) and q.y < p.y]
            return min(near)[1] if near else None
        check(under("填方面积 ") == f"填方面积 {AREAS[stake][0]} m²",
              f"{path}: {stake}: {under('填方面积 ')}, expected {AREAS[stake][0]}")
        check(under("挖方面积 ") == f"挖方面积 {AREAS[stake][1]} m²",
              f"{path}: {stake}: {under('挖方面积 ')}, expected {AREAS[stake][1]}")
        # Every break point of the design line: its offset and elevation texts in its column,
        # standing for the point by the scale (the centre stake at offset 0 gives the origin).
        labels = sorted(((q.x, s) for s, layer, q, t in texts
                         if layer == "标注" and t.dxf.rotation == 90 and
                         design[0][1] > q.y > p.y and
                         design[0][0] - 30 < q.x < design[-1][0] + 30 and
                         re.match(r"^-?\d+\.\d{3}$", s)))
        pairs = [(float(a[1]), float(b[1])) for a, b in zip(labels[0::2], labels[1::2])]
        check(len(pairs) == len(design),
              f"{path}: {stake}: {len(pairs)} labelled points for {len(design)} break points")
        if len(pairs) == len(design):
            for (o, h), (x, y) in zip(pairs, design):
                o0, h0 = pairs[0]
                x0, y0 = design[0]
                check(abs((x - x0) / mm - (o - o0)) < 1.5e-3 and
                      abs((y - y0) / mm - (h - h0)) < 1.5e-3,
                      f"{path}: {stake}: the point labelled {o}, {h} is drawn elsewhere")
    return sheets, [width * n for n in by_sheet]


sheets200 = None
for scale in (200, 100):
    args = ["--section-sheets", f"s{scale}.dxf"] + (["--sheet-scale", str(scale)]
                                                    if scale != 200 else [])
    made = run(*args)
    check(made.returncode == 0 and made.stdout == "" and made.stderr == "",
          f"--section-sheets at 1:{scale}: status {made.returncode}, {made.stderr}")
    if made.returncode == 0:
        n, _ = check_dxf(f"s{scale}.dxf", scale)
        if scale == 200:
            sheets200 = n
        else:
            check(n > sheets200, f"1:100 takes {n} sheets, 1:200 {sheets200}")

# --interval with --from and --to: only the sections in the stretch.
made = run("--section-sheets", "part.dxf", "--interval", "20", "--from", "K1+100",
           "--to", "K1+160")
check(made.returncode == 0, f"--interval: {made.stderr}")
if made.returncode == 0:
    doc = ezdxf.readfile("part.dxf")
    got = sorted(t.dxf.text for t in doc.modelspace().query("TEXT[layer=='标注']")
                 if STAKE.match(t.dxf.text))
    check(got == [f"K1+{m:03d}.000" for m in (100, 120, 140, 160)], f"--from --to gave {got}")

# Refusals: a bad scale, a file of another kind, a section too wide for a sheet at the scale.
for args, status, said in [
        (["--section-sheets", "x.dxf", "--sheet-scale", "0"], 1, "--sheet-scale"),
        (["--section-sheets", "x.dxf", "--sheet-scale", "1:abc"], 1, "--sheet-scale"),
        (["--section-sheets", "x.png"], 1, ".pdf 或 .dxf"),
        (["--section-sheets", "x.dxf", "--sheet-scale", "20"], 1, "请用更小的比例"),
        (["--section-sheets", "x.dxf", "--prismoidal"], 1, "不用 --prismoidal")]:
    got = run(*args)
    check(got.returncode == status and said in got.stderr and not os.path.exists("x.dxf"),
          f"{args}: status {got.returncode}, {got.stderr!r}")

if WITH_PDF:
    made = run("--section-sheets", "s.pdf")
    check(made.returncode == 0, f"--section-sheets s.pdf: {made.returncode} {made.stderr}")
    if made.returncode == 0:
        info = subprocess.run(["pdfinfo", "s.pdf"], capture_output=True, text=True).stdout
        pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
        check(pages == sheets200, f"the PDF has {pages} pages, the DXF {sheets200} sheets")
        check(re.search(r"^Page size:\s+1191 x 842 pts", info, re.M) is not None,
              f"the PDF's page is not A3 across: {info}")
        for page in range(1, pages + 1):
            text = subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), "-layout",
                                   "s.pdf", "-"], capture_output=True, text=True).stdout
            check(f"第 {page} 张  共 {pages} 张" in text or
                  re.search(rf"第\s*{page}\s*张\s*共\s*{pages}\s*张", text) is not None,
                  f"page {page}: no sheet number")
            check("road" in text and "1:200" in text and "横断面图" in text,
                  f"page {page}: no title block")
        whole = subprocess.run(["pdftotext", "s.pdf", "-"], capture_output=True,
                               text=True).stdout
        for stake, (fill, cut) in AREAS.items():
            check(whole.count(stake) >= 1, f"PDF: no {stake}")
        fills = re.findall(r"填方面积 (\d+\.\d{4}) m²", whole)
        cuts = re.findall(r"挖方面积 (\d+\.\d{4}) m²", whole)
        check(sorted(fills) == sorted(f for f, _ in AREAS.values()) and
              sorted(cuts) == sorted(c for _, c in AREAS.values()),
              f"PDF: areas {fills} {cuts}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"all passed: {SECTIONS} sections on {sheets200} sheets at 1:200")
