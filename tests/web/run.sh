#!/bin/sh
# The browser tests: every tests/web/*.test.mjs under node's test runner, one file at a time (each
# starts its own headless chromium, and the machine may have two cores), against the page that
# make web built. puppeteer-core comes from tests/web/node_modules (tools/setup.sh web installs it
# from tests/web/package-lock.json).
# Usage: tests/web/run.sh [test files...]   (default: all of them)
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
[ -x "${HCURVE_CHROMIUM:-/usr/bin/chromium}" ] || {
    echo "tests/web/run.sh: no chromium at ${HCURVE_CHROMIUM:-/usr/bin/chromium}: run tools/setup.sh web first." >&2
    exit 1
}
if [ $# -eq 0 ]; then
    set -- tests/web/*.test.mjs
fi
# Node's own test runner; its summary closes the output. A hung browser is stopped by the per-test
# timeout rather than holding the build.
exec node --test --test-concurrency=1 --test-timeout=120000 --test-reporter=tap "$@"
