# The two commands of the README, and a few more. Every target installs what is missing first
# (tools/setup.sh).
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600

# One target at a time, each building with $(JOBS) jobs: make -j test still builds the Linux
# program before test-windows compares against it.
.NOTPARALLEL:

.PHONY: all setup configure-default build run check test test-default test-sanitize test-release test-windows windows web test-web test-browser bench bench-browser fuzz package clean

all: build

setup:
	@tools/setup.sh

# The default build folder as its preset makes it: one made by an older preset with another
# generator (Unix Makefiles) is configured afresh, its objects rebuilt.
configure-default:
	@if [ -f build/default/CMakeCache.txt ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$$' build/default/CMakeCache.txt; then \
	    echo "build/default was made with another generator: configuring it afresh."; \
	    rm -rf build/default/CMakeCache.txt build/default/CMakeFiles; fi
	@cmake --preset default >/dev/null

build: setup configure-default
	@cmake --build --preset default -j $(JOBS)

run: build
	./build/default/src/main/hcurve

# The loop between changes: the default build's suite alone, building only what it runs (not the
# benchmarks nor the screenshot tools), with the monkey's 300 sessions instead of its 3000
# (HCURVE_MONKEY_SESSIONS sets them). make test runs everything.
check: setup configure-default
	@cmake --build --preset default -j $(JOBS) --target check_programs
	@HCURVE_MONKEY_SESSIONS=$${HCURVE_MONKEY_SESSIONS:-300} ctest --preset default -j $(JOBS)

# The Debian package, from the Release build: build/release/hcurve_VERSION_ARCH.deb
# (apt install ./build/release/hcurve_*.deb).
package: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target package

# The normal build's tests, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer with short bounded fuzz runs, then again as the package is built
# (Release, -O3), then the Windows build under Wine, then the browser build under node, and last
# the page in headless chromium and firefox-esr.
test: test-default test-sanitize test-release test-windows test-web test-browser

test-default: build
	@ctest --preset default -j $(JOBS)

test-sanitize: setup
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@echo "Sanitizer run: the Qt window and printer tests are not part of it (built without Qt)."
	@ctest --preset sanitize -j $(JOBS)

test-release: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@ctest --preset release -j $(JOBS)

# The Windows build (MinGW-w64, no Qt): its suite under Wine (headless, in a Wine prefix of its own
# in build/windows), then the README's route tables and a console export with a Chinese file name,
# byte for byte against the Linux build, which must be there (make test builds it first). One Wine
# server serves the whole run, so that no program meets a server closing after an idle moment (see
# tools/wine-run.sh).
test-windows:
	@[ -x build/default/src/main/hcurve ] || { echo "make test-windows: the Linux build to compare against is missing (build/default/src/main/hcurve): run make build first." >&2; exit 1; }
	@tools/setup.sh windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)
	@echo "Windows run under Wine: the Qt window is not part of it (built without Qt)."
	@tools/wine-run.sh --serve build/windows
	@status=0; ctest --preset windows -j $(JOBS) || status=$$?; \
	if [ $$status = 0 ]; then \
	    sh tests/windows/same_bytes_as_linux.sh build/default/src/main/hcurve \
	        build/windows/hcurve-program build/windows/same_bytes_scratch || status=$$?; \
	fi; \
	tools/wine-run.sh --stop build/windows; exit $$status

# The Windows download, build/windows/hcurve-VERSION-windows-x86_64.zip: hcurve.exe, and the
# browser build's hcurve.html for the window (built first), which the listing must show.
windows: web
	@tools/setup.sh windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS) --target windows_zip
	@zip=$$(ls build/windows/hcurve-*-windows-x86_64.zip) && cmake -E tar tf "$$zip" | grep -q '/hcurve\.html$$' || \
	    { echo "make windows: the zip carries no hcurve.html" >&2; exit 1; }
	@ls build/windows/hcurve-*-windows-x86_64.zip

# The browser build (Debian's emscripten, no Qt): build/web/hcurve.html, one self-contained file,
# and build/web/site/, the same page as a site a phone installs from a static web server.
web:
	@tools/setup.sh web
	@cmake --preset web >/dev/null
	@cmake --build --preset web -j $(JOBS) --target hcurve_page hcurve_site
	@ls -l build/web/hcurve.html

# The browser build's libraries and their tests under node (ctest's emulator); what node cannot
# give (closed standard streams, FIFOs, hard links, glibc's wording of errors) is left out in the
# tests' CMake files, each with its reason.
test-web:
	@tools/setup.sh web
	@cmake --preset web >/dev/null
	@cmake --build --preset web -j $(JOBS)
	@echo "Browser build under node: the Qt window is not part of it (built without Qt)."
	@ctest --preset web -j $(JOBS)

# The page in the system's headless chromium (tests/web/*.test.mjs, puppeteer-core): opened from
# a file, typed into as a user types, its downloads and requests counted; the site served on
# loopback and opened again without it. Then the Firefox set in Debian's firefox-esr (which
# tools/setup.sh web installs), each test named with its browser.
test-browser: web
	@tests/web/run.sh
	@if [ -x "$${HCURVE_FIREFOX:-/usr/bin/firefox-esr}" ]; then \
	    HCURVE_BROWSER=firefox tests/web/run.sh; \
	else \
	    echo "make test-browser: no firefox-esr, the Firefox set is not run (tools/setup.sh web installs it)." >&2; \
	fi

# The browser edition's figures in headless chromium (bench/web_*.mjs), each with its limit.
bench-browser: web
	@for b in bench/web_*.mjs; do [ -f "$$b" ] || continue; echo "== $$b"; node "$$b" || exit 1; done

bench: build
	./build/default/bench/hcurve_bench
	sh bench/console_output.sh build/default/src/main/hcurve
	sh bench/program_start.sh build/default/src/main/hcurve

# Longer fuzzing: FUZZ_SECONDS per fuzzer; what it finds stays in build/fuzz/.
fuzz: setup
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS) --target fuzz_formats fuzz_console
	@for f in formats console; do \
	    mkdir -p build/fuzz/$$f build/fuzz/files && \
	    (cd build/fuzz/files && ../../sanitize/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) \
	        -max_len=4096 -timeout=10 -print_final_stats=1 -artifact_prefix=../ ../$$f \
	        ../../../fuzz/corpus/$$f) || exit 1; \
	done

clean:
	rm -rf build
