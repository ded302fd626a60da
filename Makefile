# The two commands of the README: `make run` and `make test`.
# Everything they need is installed by scripts/install-deps.sh.

PRESET ?= debug
RUN_DIR := build/run
# make install: where the programs go, and an optional staging folder before it.
PREFIX ?= /usr/local
DESTDIR ?=
PACKAGE_DIR := build/package
SHELL := /bin/bash

.PHONY: all deps run test build-release build-test install package format check-format asan bench \
        clean

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

# The window, pliventa-cli, the menu entry, the icon and the manual page.
install: build-release
	@DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# A Debian package of the same files under /usr, in $(PACKAGE_DIR); its own build,
# without the tests.
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DPLIVENTA_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(PACKAGE_DIR) --target pliventa pliventa-cli
	@cd $(PACKAGE_DIR) && cpack

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
