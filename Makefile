# Velkaro 3.0 - build, run and test on Debian 12.
#   make run    builds the program and starts it under Wine (Xvfb and screenshots without a display)
#   make test   builds everything and runs all tests
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c

BUILD := build
NATIVE := $(BUILD)/native
ASAN := $(BUILD)/asan
X64 := $(BUILD)/x64
X86 := $(BUILD)/x86
CONFIGURE := cmake -G Ninja -Wno-dev

.PHONY: all build native asan x64 x86 run test unit wine-test bench fuzz format clean

FUZZ_SECONDS ?= 60
FUZZ := $(BUILD)/fuzz

all: build

build: native asan x64 x86

native:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(NATIVE)

asan:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVELKARO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN)

x64:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null
	cmake --build $(X64)

# The 32-bit program is compiled as a check that the code is clean for it; there is no 32-bit
# Wine to run it here.
x86:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(X86) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake \
	  -DVELKARO_TESTS=OFF >/dev/null
	cmake --build $(X86)

run:
	@scripts/setup.sh run
	$(CONFIGURE) -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null
	cmake --build $(X64) --target Velkaro
	scripts/run.sh $(X64)/bin/Velkaro.exe

unit: native asan
	ctest --test-dir $(NATIVE) --output-on-failure
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN) --output-on-failure

wine-test: x64 x86
	@scripts/setup.sh test
	python3 tests/run_wine_tests.py --build $(X64)

test:
	@scripts/setup.sh test
	$(MAKE) --no-print-directory unit
	$(MAKE) --no-print-directory wine-test

bench: x64 x86
	@scripts/setup.sh test
	python3 scripts/bench.py --x64 $(X64) --x86 $(X86)

# libFuzzer targets of the portable core (clang, ASan + UBSan); each runs FUZZ_SECONDS seconds.
fuzz:
	@scripts/setup.sh fuzz
	$(CONFIGURE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELKARO_FUZZ=ON >/dev/null
	cmake --build $(FUZZ)
	scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
