# The two commands of the README: `make run` and `make test`.
# Everything they need is installed by scripts/install-deps.sh; `make install` never
# installs packages, it only says which are missing.

PRESET ?= debug
RUN_DIR := build/run
# make install: where the programs go, and an optional staging folder before it.
PREFIX ?= /usr/local
DESTDIR ?=
PACKAGE_DIR := build/package
SHELL := /bin/bash

.PHONY: all deps run test tidy build-release build-test programs install package format \
        check-format asan tsan bench fuzz windows-cli windows-test clean

all: build-release

deps:
	@bash scripts/install-deps.sh

# Every target of the release build; each command below builds only what it uses.
build-release: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release

# Starts the window in build/run, with the sample files and memo files that propose
# them. Builds the window alone: the tests and the rest are `make test`'s.
run: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target pliventa
	@bash scripts/prepare-run-dir.sh "$(RUN_DIR)"
	@cd "$(RUN_DIR)" && ../release/src/shell/pliventa

build-test: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

test: check-format build-test tidy
	@ctest --preset $(PRESET)

# clang-tidy, with the checks of .clang-tidy, over the sources of src/ and tools/.
tidy: build-test
	@bash scripts/tidy.sh build/$(PRESET)

# What `make install` installs, built in the release build: the two programs and the
# compressed manual pages and changelog. Asks for no package: a missing one is named.
programs:
	@bash scripts/install-deps.sh --check
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target pliventa pliventa-cli pliventa_doc

# The window, pliventa-cli, the menu entry, the icon, the manual pages, the copyright.
install: programs
	@DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# A Debian package of the same files under /usr, in $(PACKAGE_DIR); its own build,
# without the tests, of what the package holds (cpack builds nothing more).
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DPLIVENTA_BUILD_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	@cmake --build $(PACKAGE_DIR) --target pliventa pliventa-cli pliventa_doc
	@cd $(PACKAGE_DIR) && cpack

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer (format and
# clang-tidy are the same as `make test`'s and are not repeated).
asan:
	@$(MAKE) --no-print-directory build-test PRESET=asan
	@ctest --preset asan

# The tests of the code that runs threads (the parallel pass and what runs on it,
# the import's writing thread) under ThreadSanitizer; the window is left out, as
# Qt's own libraries are not built for it.
TSAN_TESTS := records summary checks browse importers
tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan --target $(foreach t,$(TSAN_TESTS),pliventa_$(t)_tests)
	@set -e; for t in $(TSAN_TESTS); do \
	  TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/$$t/pliventa_$${t}_tests --gtest_brief=1; \
	done

# A fuzzing campaign with libFuzzer under ASan and UBSan: FUZZ_SECONDS per target
# of fuzz/, one after the other. Its own clang build in $(FUZZ_DIR); the inputs it
# finds stay there for the next campaign, a crash lands in $(FUZZ_DIR)/trovati.
FUZZ_SECONDS ?= 600
FUZZ_DIR ?= build/fuzz
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DPLIVENTA_FUZZ=ON -DPLIVENTA_BUILD_GUI=OFF \
	  -DPLIVENTA_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) --target pliventa_fuzzers
	@bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# make bench ARGS=--quick (up to 10^5 payments) or ARGS=--big (up to 10^7): the
# table of every hot path beside its floor and its peer, also in docs/benchmarks.md.
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target pliventa_bench
	@/usr/bin/python3 bench/misura.py $(ARGS)

# The Windows build in $(WINDOWS_DIR): pliventa-cli.exe and the test programs,
# cross-compiled with MinGW-w64 and linked statically, with libxlsxwriter and
# GoogleTest built for Windows by scripts/windows-deps.sh in a cache outside the
# clone. A new prefix of theirs (the script or a compiler changed) configures the
# build afresh, so that nothing found in the old one stays in its cache.
WINDOWS_DIR := build/windows
windows-cli:
	@set -e; deps=$$(bash scripts/windows-deps.sh); \
	fresh=; grep -qxF "PLIVENTA_WINDOWS_DEPS:PATH=$$deps" $(WINDOWS_DIR)/CMakeCache.txt \
	  2>/dev/null || fresh=--fresh; \
	cmake $$fresh -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  --toolchain cmake/mingw-w64-x86_64.cmake -DPLIVENTA_BUILD_GUI=OFF \
	  -DPLIVENTA_WINDOWS_DEPS:PATH="$$deps" -DCMAKE_PREFIX_PATH="$$deps" \
	  -DPLIVENTA_CLI_LINUX="$(CURDIR)/build/$(PRESET)/src/cli/pliventa-cli" >/dev/null
	@bash scripts/wine-run.sh $(WINDOWS_DIR)/wine
	@cmake --build $(WINDOWS_DIR)

# The tests of the Windows build under Wine, in the build's own Wine prefix (made
# by windows-cli), two at a time, one per core of the build machine. A program
# that hangs under Wine fails after WINDOWS_TIMEOUT seconds instead of stopping
# the run.
WINDOWS_TIMEOUT ?= 600
# The Linux pliventa-cli of $(PRESET) is built first: the Windows one is compared
# with it, byte for byte.
windows-test: windows-cli
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) --target pliventa-cli
	@ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j2 --timeout $(WINDOWS_TIMEOUT)

format:
	@git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	@git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf build
