# The two commands of the README. Both install what is missing first (tools/setup.sh).
JOBS ?= $(shell nproc)

.PHONY: all setup build run test bench clean

all: build

setup:
	@tools/setup.sh

build: setup
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	./build/default/src/app/hcurve

test: build
	@ctest --preset default -j $(JOBS)

bench: build
	./build/default/bench/hcurve_bench

clean:
	rm -rf build
