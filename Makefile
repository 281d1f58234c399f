# Front door: make build | program | test | run | format | previews. Each target installs missing Debian
# packages first (as root) or says what to install.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

NATIVE ?= $(BUILD)/native
FUZZ ?= $(BUILD)/fuzz
FUZZ_SECONDS ?= 300

.PHONY: all deps configure build native fuzz-build fuzz program test run dist bench screenshot format format-check clean previews

all: build

deps:
	@bash tools/ensure-deps.sh

$(BUILD)/build.ninja:
	@bash tools/ensure-deps.sh
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# The window-free rules, built with the host's compiler and tested in seconds, apart from Wine.
$(NATIVE)/build.ninja:
	@bash tools/ensure-deps.sh
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug

native: deps $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)

# The fuzz targets, built with clang and libFuzzer under the address and undefined-behaviour checks.
$(FUZZ)/build.ninja:
	@bash tools/ensure-deps.sh
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVELO_FUZZ=ON

fuzz-build: deps $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)

# Each target for FUZZ_SECONDS (default 300) from the corpus in tests/fuzz/corpus; see docs/fuzzing.md.
fuzz: fuzz-build
	bash tools/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

test: build native fuzz-build format-check
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(FUZZ) --output-on-failure
	bash tools/wine-session.sh $(BUILD) ctest --test-dir $(BUILD) --output-on-failure $(CTEST_FLAGS)

# The program and its hook library alone, without the tests and benchmarks: all that run needs.
program: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target TaveloKeyboard keyhook

run: program
	bash tools/run.sh $(BUILD)

dist: build
	bash tools/make_dist.sh $(BUILD)

# Measures the program against a bare window and writes docs/performance.md; not part of test.
bench: build
	bash tools/wine-session.sh $(BUILD) bash tools/bench.sh $(BUILD)

# A picture of the running program with a few keys held, cropped to its window:
# $(BUILD)/screenshot.png.
screenshot: build
	bash tools/wine-session.sh $(BUILD) bash tools/screenshot.sh $(BUILD)

format:
	bash tools/format.sh --fix

format-check: deps
	bash tools/format.sh --check

previews: deps
	/usr/bin/python3 tools/make_pictures.py --previews $(BUILD)/previews

clean:
	rm -rf $(BUILD)
