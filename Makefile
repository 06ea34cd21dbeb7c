# Thin wrappers over CMake. `make run` and `make test` install what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test sanitize bench clean

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/ovelune

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Unit and scenario tests once more with AddressSanitizer + UBSan.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOVELUNE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ovelune-unit-tests ovelune-scenario-tests ovelune-sim
	cd $(ASAN_BUILD) && ctest --output-on-failure -R '^(unit|scenario)$$' -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target ovelune-bench
	./$(BUILD)/ovelune-bench --benchmark_min_time=0.2
	./$(BUILD)/ovelune-sim --ship 1 --bot fire --frames 3000 --bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
