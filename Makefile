# The two commands of a fresh machine: `make run` and `make test`.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap native windows fuzzers build package run screens test fuzz clean bench

all: build

bootstrap:
	@tools/bootstrap.sh

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: bootstrap
	@cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

# The portable core's fuzz targets, built with clang and libFuzzer.
fuzzers: bootstrap
	@cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang-19 -DCMAKE_CXX_COMPILER=clang++-19 -DQUORVANE_FUZZ=ON \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

build: native windows fuzzers

# The release: build/windows/Quorvane-<version>.msi and -portable.zip.
package: windows
	@cmake --build $(WINDOWS) --target release_package

run: windows
	@tools/run-sandbox.sh $(WINDOWS)

screens: windows
	@tools/render-screens.sh $(WINDOWS)

test: build package
	@tools/run-tests.sh $(NATIVE) $(WINDOWS) $(FUZZ)

# Every fuzz target for FUZZ_SECONDS each (default 60).
fuzz: fuzzers
	@tools/run-fuzzers.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf build

# The program's figures against floors measured in the same run (BENCH_RUNS=15).
bench: windows
	@tools/bench.sh $(WINDOWS)
