#!/bin/sh
# The program's start, as a script calling it again and again sees it: the README's route as
# `hcurve route route.csv --elements`, `hcurve --version`, and a console session that computes the
# README's curve and ends. Each runs 100 times; prints the median and the best wall-clock time and
# the median CPU time. Figures only.
#
# Limit: the route's element table within 10 ms (median wall-clock time). While the program linked
# Qt, every start loaded some 45 libraries: the table took a median 11 ms (10 ms of CPU time) on
# two cores at load 6, of which the table itself is a fraction of a millisecond. Since the program
# loads its Qt part only to show the window or to draw, 2 ms (2 ms of CPU time), in the default
# and the release build alike.
# Usage: bench/program_start.sh [HCURVE] [RUNS]
here=$(dirname "$0")
hcurve=${1:-$here/../build/default/src/main/hcurve}
runs=${2:-100}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '点号,X,Y,R,A1,A2,桩号\nBP,3456088.2656,511632.3766,,,,K11+345.678\nJD1,3456789.1230,512345.6780,500,200,250,\nJD2,3457084.2532,513508.8195,800,300,300,\nEP,3457814.5550,514034.8035,,,,\n\n断链前桩号,断链后桩号\nK12+800,K12+780\n' > "$scratch/route.csv"
printf '1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n3\n' > "$scratch/session.txt"

timing() {  # median and best wall-clock, median CPU milliseconds of $runs runs of "$@" < $input
    python3 - "$runs" "$input" "$@" <<'PY'
import resource, statistics, subprocess, sys, time
runs, stdin_name, command = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
walls, cpus = [], []
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(stdin_name, "rb") as stdin:
        start = time.perf_counter()
        subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
        walls.append(time.perf_counter() - start)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
print("%.1f ms median wall (best %.1f), %.1f ms median CPU"
      % (1000 * statistics.median(walls), 1000 * min(walls), 1000 * statistics.median(cpus)))
PY
}

input=/dev/null
echo "hcurve route … --elements: $(timing "$hcurve" route "$scratch/route.csv" --elements)"
echo "hcurve --version:          $(timing "$hcurve" --version)"
input=$scratch/session.txt
echo "hcurve --console (1, 3):   $(timing "$hcurve" --console)"
