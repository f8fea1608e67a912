# The two commands of a fresh machine: `make run` and `make test`.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows

.PHONY: all bootstrap native windows build package run screens test clean bench

all: build

bootstrap:
	@tools/bootstrap.sh

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: bootstrap
	@cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

build: native windows

# The release: build/windows/Quorvane-<version>.msi and -portable.zip.
package: windows
	@cmake --build $(WINDOWS) --target release_package

run: windows
	@tools/run-sandbox.sh $(WINDOWS)

screens: windows
	@tools/render-screens.sh $(WINDOWS)

test: build package
	@tools/run-tests.sh $(NATIVE) $(WINDOWS)

clean:
	rm -rf build

# The program's figures against floors measured in the same run (BENCH_RUNS=15).
bench: windows
	@tools/bench.sh $(WINDOWS)
