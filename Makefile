# The two commands of the README: `make run` and `make test`.
# Everything they need is installed by scripts/install-deps.sh.

PRESET ?= debug
RUN_DIR := build/run
SHELL := /bin/bash

.PHONY: all deps run test build-release build-test format check-format asan bench clean

all: build-release

deps:
	@bash scripts/install-deps.sh

build-release: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release

# Starts the window in build/run, with the sample files and memo files that propose them.
run: build-release
	@bash scripts/prepare-run-dir.sh "$(RUN_DIR)"
	@cd "$(RUN_DIR)" && ../release/src/shell/pliventa

build-test: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

test: check-format build-test
	@ctest --preset $(PRESET)

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: build-release
	@bash bench/run.sh

format:
	@git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	@git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf build
