# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README: `make test` and `make run`.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
JOBS ?= 2
CMAKE_FLAGS ?=
# The Debug tree of `make test`: tests and benchmarks built (the benchmarks only compiled, so
# that they keep compiling), warnings are errors.
CONFIGURE_DEBUG = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DZELMO_WERROR=ON -DZELMO_BUILD_BENCH=ON $(CMAKE_FLAGS)

.PHONY: check all deps test run bench startup-bench clean format install package package-test reproducible fuzz fuzz-build fuzz-smoke screenshots crash-test

all: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j$(JOBS)

deps:
	bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	$(CONFIGURE_DEBUG)

test: deps
	$(CONFIGURE_DEBUG)
	cmake --build $(BUILD_DIR) -j$(JOBS)
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) -LE package

# Formatting and clang-tidy over the tree; needs the compile database of `make test`.
check: deps
	bash scripts/check-code.sh $(BUILD_DIR)

run: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZELMO_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS) --target zelmo
	./$(RELEASE_DIR)/app/zelmo

bench: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZELMO_BUILD_BENCH=ON
	cmake --build $(RELEASE_DIR) -j$(JOBS) --target engine_bench history_bench chart_bench memoryview_bench soak zelmo-train startup_floor zelmo

# Installs the Release build under PREFIX (DESTDIR, when given, is put before it).
PREFIX ?= /usr/local
install: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZELMO_BUILD_TESTS=OFF -DZELMO_BUILD_BENCH=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The Debian source package and the packages zelmo and zelmo-dbgsym, built by dpkg-buildpackage
# from debian/ in PACKAGE_DIR (scripts/build-deb.sh); the two .deb files are copied here.
PACKAGE_DIR ?= build-deb
package: deps
	bash scripts/build-deb.sh $(PACKAGE_DIR)
	cp $(PACKAGE_DIR)/zelmo_*.deb $(PACKAGE_DIR)/zelmo-dbgsym_*.deb .

# The package's checks: its fields, files, programs and lintian (CTest's label "package"), then
# the autopkgtest suite of debian/tests against it, installed on this machine (root).
package-test: package $(BUILD_DIR)/CMakeCache.txt
	cd $(BUILD_DIR) && ZELMO_DEB="$$(ls $(abspath $(PACKAGE_DIR))/zelmo_*.deb)" \
	  ctest -L package --output-on-failure
	bash scripts/autopkgtest.sh $(PACKAGE_DIR)

# Two builds of the package in other folders at other times, compared byte for byte.
reproducible: deps
	bash scripts/reproducible.sh

# The pictures of the window in docs/ (the README's, and the software centre's at device pixel
# ratios 1 and 2, published on the home page): five games played off screen.
screenshots: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j$(JOBS) --target zelmo_screenshot
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/screenshot/zelmo_screenshot docs/screenshot.png 5
	QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 $(BUILD_DIR)/tools/screenshot/zelmo_screenshot docs/screenshot-2x.png 5

# Start-up time and memory against a bare text window, and idle CPU, under Xvfb.
startup-bench: bench
	python3 bench/startup/measure.py

# Fuzzing: clang with libFuzzer, address and undefined-behaviour sanitizers, in its own build
# directory; each target runs FUZZ_SECONDS (fuzz) or FUZZ_SMOKE_SECONDS (fuzz-smoke). "default"
# gives each target its own time: 600 s, or longer where a million executions need it.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= default
FUZZ_SMOKE_SECONDS ?= 20
FUZZ_TARGETS ?=

fuzz-build: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DZELMO_FUZZ=ON -DZELMO_BUILD_TESTS=OFF -DZELMO_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz_targets

fuzz: fuzz-build
	bash tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

fuzz-smoke: fuzz-build
	bash tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS) $(FUZZ_TARGETS)

# Crash consistency of the memory file: SIGKILL at random moments of the trainer's and the
# window's saves, CRASH_TRIALS times each (docs/crash-consistency.md).
CRASH_TRIALS ?= 300
crash-test: deps
	$(CONFIGURE_DEBUG)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target zelmo-train crash_window_driver
	python3 tests/crash/crash_consistency.py $(BUILD_DIR) --trials $(CRASH_TRIALS)

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) build-repro

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
