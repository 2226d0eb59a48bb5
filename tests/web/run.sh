#!/bin/sh
# The browser tests: tests/web/*.test.mjs under node's test runner, one file at a time (each
# starts its own headless browser, and the machine may have two cores), against the page that
# make web built. puppeteer-core comes from tests/web/node_modules (tools/setup.sh web installs it
# from tests/web/package-lock.json). The browser is Debian's chromium, or with
# HCURVE_BROWSER=firefox Debian's firefox-esr, where the files of the Firefox set run by default
# (the page from file://, the worked example, leaving its questions, the route page and its
# downloads, and the harness's own checks in that browser). Every test is named in the output with
# the browser it ran in.
# Usage: [HCURVE_BROWSER=chromium|firefox] tests/web/run.sh [test files...]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
[ -f build/web/hcurve.html ] || {
    echo "tests/web/run.sh: build/web/hcurve.html is missing: run make web first." >&2
    exit 1
}
[ -d tests/web/node_modules/puppeteer-core ] || {
    echo "tests/web/run.sh: puppeteer-core is missing: run tools/setup.sh web first." >&2
    exit 1
}
browser=${HCURVE_BROWSER:-chromium}
case $browser in
    chromium) binary=${HCURVE_CHROMIUM:-/usr/bin/chromium} ;;
    firefox) binary=${HCURVE_FIREFOX:-/usr/bin/firefox-esr} ;;
    *) echo "tests/web/run.sh: HCURVE_BROWSER=$browser: chromium or firefox." >&2; exit 2 ;;
esac
[ -x "$binary" ] || {
    echo "tests/web/run.sh: no $browser at $binary: run tools/setup.sh web first." >&2
    exit 1
}
export HCURVE_BROWSER=$browser
# Which browser, on the error stream: standard output is TAP alone.
echo "tests/web/run.sh: in $("$binary" --version 2>/dev/null | head -n 1) ($binary)" >&2
if [ $# -eq 0 ]; then
    if [ "$browser" = firefox ]; then
        set -- tests/web/harness.test.mjs tests/web/curve_example.test.mjs \
            tests/web/curve_leave_entry.test.mjs tests/web/route.test.mjs
    else
        set -- tests/web/*.test.mjs
    fi
fi
# Node's own test runner; its summary closes the output. A hung browser is stopped by the per-test
# timeout rather than holding the build.
exec node --test --test-concurrency=1 --test-timeout=120000 \
    --test-reporter="$root/tests/web/browser_tap.mjs" "$@"
