#!/bin/sh
# The console's output speed: a 20 000-stake run with two pile rows (about 140 000 prompts and
# 26 MB of output), through `hcurve --console` and through a straightforward Python model of the
# same dialogue. Prints the best of five wall-clock times, the CPU time and, where strace is
# installed, the number of write calls. Figures only.
#
# Limit: hcurve --console within 0.1 s. While the program linked Qt (about 9 ms of loading at every
# start), put each line together in a string before copying it out and had to_chars make every
# number's digits, it took 0.124 s (CPU; 0.21 s wall-clock on two cores at load 6); since, 0.068 s
# (0.069 s wall-clock), the default build's medians of paired runs.
# Usage: bench/console_output.sh [HCURVE] [STAKES]
here=$(dirname "$0")
hcurve=${1:-$here/../build/default/src/main/hcurve}
stakes=${2:-20000}
session=$(mktemp)
trap 'rm -f "$session"' EXIT
python3 "$here/console_session.py" "$stakes" > "$session"

best() {  # best wall-clock and CPU seconds of five runs of "$@" < session > /dev/null
    python3 - "$session" "$@" <<'PY'
import resource, subprocess, sys, time
session, command = sys.argv[1], sys.argv[2:]
walls, cpus = [], []
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(session, "rb") as stdin:
        subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=False)
    walls.append(time.perf_counter() - start)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
print("%.3f s wall, %.3f s CPU" % (min(walls), min(cpus)))
PY
}

echo "session: $stakes stakes, $(grep -c '' "$session") input lines"
echo "output:  $("$hcurve" --console < "$session" | wc -c) bytes," \
     "$("$hcurve" --console < "$session" | grep -c '^? ') prompts"
echo "hcurve --console:        $(best "$hcurve" --console)"
echo "Python model:            $(best python3 "$here/console_dialogue_model.py")"
if command -v strace > /dev/null; then
    calls=$(strace -f -c -e trace=write "$hcurve" --console < "$session" 2>&1 > /dev/null |
            awk '$NF == "write" { print $4 }')
    echo "write calls:             $calls"
fi
