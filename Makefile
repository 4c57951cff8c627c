# Two commands do everything: `make run` and `make test`. Both install what is
# missing, configure the cross build and build it first.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all setup build test run bench fuzz dist clean

all: build

setup:
	@scripts/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD)

test: build
	OSTRAND_BUILD=$(abspath $(BUILD)) scripts/test.sh

run: build
	OSTRAND_BUILD=$(abspath $(BUILD)) scripts/run.sh

# Ostrand-<version>.zip in the build folder: the program and its help page.
dist: build
	cmake --build $(BUILD) --target dist

bench: build
	OSTRAND_BUILD=$(abspath $(BUILD)) scripts/bench.sh

# Native clang builds of the plain readers' fuzz targets, FUZZ_SECONDS each; no Wine.
FUZZ_SECONDS ?= 30
fuzz:
	scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
