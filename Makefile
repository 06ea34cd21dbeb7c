# Thin wrappers over CMake. `make run` and `make test` install what is missing first.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
# Seconds per fuzz target: a short pass in `make test`, longer under `make fuzz`.
FUZZ_SHORT ?= 20
FUZZ_LONG ?= 180
JOBS ?= $(shell nproc)

# `make scoreboard` serves the online scores in the foreground.
SCOREBOARD_LISTEN ?= 127.0.0.1:4780
SCOREBOARD_DB ?= scoreboard.db

.PHONY: deps configure build run scoreboard test golden sanitize bench clean fuzz-build fuzz soak deb test-deb

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the bundled scoreboard on loopback for the game when it is the
# configured server and none answers there yet.
run: build
	scripts/run-game.sh $(BUILD)

scoreboard: build
	./$(BUILD)/ovelune-scoreboard --listen $(SCOREBOARD_LISTEN) --db $(SCOREBOARD_DB)

# Every test once; only the end-to-end tests are retried, each retry named.
test: build fuzz-build
	tests/run_tests.sh $(BUILD) $(JOBS)
	tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SHORT)
	tests/soak/run_soaks.sh $(BUILD) $(FUZZ_BUILD) short

# The fuzz targets in their own clang build (libFuzzer, ASan, UBSan).
$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVELUNE_FUZZ=ON

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers ovelune-sim ovelune-menu-soak

fuzz: fuzz-build
	tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_LONG)

# Whole runs of every ship under the sanitizers; an hour of menu frames and
# twenty runs with flat memory.
soak: build fuzz-build
	tests/soak/run_soaks.sh $(BUILD) $(FUZZ_BUILD)

# Records the golden replays of tests/replays again: only when the game's
# behaviour changes on purpose, and the commit says why.
golden: build
	tests/replays/make_golden.sh $(BUILD)

# Unit and scenario tests once more with AddressSanitizer + UBSan. They are
# built in the fuzz build, whose libraries already carry both sanitizers
# (without recovery): a build of its own would compile every library a third
# time for the same checks. The whole sanitized autopilot run is the soak
# that `make test` runs (and `make soak` for every ship). Tests that start SDL
# video or OpenAL run without leak checking: the system's GL drivers and
# D-Bus keep allocations LSan reports.
SYSTEM_TESTS = SdlRenderer*:SdlBackends*:OpenAl*
sanitize: fuzz-build
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target ovelune-unit-tests ovelune-scenario-tests
	cd $(FUZZ_BUILD) && ./ovelune-unit-tests --gtest_filter='-$(SYSTEM_TESTS)'
	cd $(FUZZ_BUILD) && ASAN_OPTIONS=detect_leaks=0 ./ovelune-unit-tests --gtest_filter='$(SYSTEM_TESTS)'
	cd $(FUZZ_BUILD) && ./ovelune-scenario-tests

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target ovelune-bench ovelune-render-bench ovelune-startup-bench ovelune-scoreboard ovelune-scoreboard-load
	tests/perf/run_benches.sh $(BUILD)

# The Debian packages of the game and the score server, in $(BUILD)/deb,
# checked by lintian.
deb: deps
	JOBS=$(JOBS) scripts/build-deb.sh $(BUILD)

# The packages installed into a fresh Debian 12 root (made with debootstrap,
# cached outside the tree) and tried there; needs root.
test-deb: deb
	tests/packaging/test_packages.sh $(BUILD)/deb

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
