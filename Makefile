# Velkaro 3.0 - build, run and test on Debian 12.
#   make run    builds the program and starts it under Wine (Xvfb and screenshots without a display)
#   make test   builds everything and runs all tests
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c

BUILD := build
NATIVE := $(BUILD)/native
ASAN := $(BUILD)/asan
# The Windows trees: the programs, the tools built beside them (the Wine harness's probe, the
# bench) and the end-to-end tests' stand-in service with the win32 thread model; the Win32
# GoogleTests with the posix one, which GoogleTest needs (std::mutex).
X64 := $(BUILD)/x64
X86 := $(BUILD)/x86
X64_GTEST := $(BUILD)/x64-gtest
X86_GTEST := $(BUILD)/x86-gtest
CONFIGURE := cmake -G Ninja -Wno-dev
MINGW = -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-$(1).cmake -DCMAKE_BUILD_TYPE=Release
# `make x64 x86 TARGET=Velkaro` builds only the program in those trees.
TARGET ?=
# Debian's Python: the floor check reads the programs with python3-pefile, the Wine tests grab the
# screen with python3-pil and start Xvfb with python3-pyvirtualdisplay.
PYTHON := /usr/bin/python3

.PHONY: all build native asan x64 x86 x64-gtest x86-gtest run test unit unit-asan floor wine-test dist \
  dist-check bench soak fuzz mutants format clean

FUZZ_SECONDS ?= 60
FUZZ := $(BUILD)/fuzz
SOAK_MINUTES ?= 10

all: build

build: native asan x64 x86 x64-gtest x86-gtest

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
	$(CONFIGURE) -S . -B $(X64) $(call MINGW,x86_64) >/dev/null
	cmake --build $(X64) $(if $(TARGET),--target $(TARGET))

x86:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(X86) $(call MINGW,i686) >/dev/null
	cmake --build $(X86) $(if $(TARGET),--target $(TARGET))

x64-gtest:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(X64_GTEST) $(call MINGW,x86_64) -DMINGW_THREADS=posix >/dev/null
	cmake --build $(X64_GTEST) --target win32_tests

x86-gtest:
	@scripts/setup.sh build
	$(CONFIGURE) -S . -B $(X86_GTEST) $(call MINGW,i686) -DMINGW_THREADS=posix >/dev/null
	cmake --build $(X86_GTEST) --target win32_tests

run:
	@scripts/setup.sh run
	$(CONFIGURE) -S . -B $(X64) $(call MINGW,x86_64) >/dev/null
	cmake --build $(X64) --target Velkaro
	scripts/run.sh $(X64)/bin/Velkaro.exe

# The unit tests plainly and under ASan and UBSan; `make test` runs them under the sanitizers
# only, which see every fault the plain run sees and memory faults besides.
unit: native unit-asan
	ctest --test-dir $(NATIVE) --output-on-failure

unit-asan: asan
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN) --output-on-failure

# Both programs import only what their oldest Windows exports (tests/floor).
floor: x64 x86
	$(PYTHON) tests/floor/check_floor.py $(X64)/bin/Velkaro.exe $(X86)/bin/Velkaro.exe

# SKIP_WIN32=1 (or VELKARO_SKIP_WIN32=1), on a host that runs no 32-bit programs: the 32-bit
# program's Wine runs are skipped.
wine-test: x64 x86 x64-gtest x86-gtest
	@scripts/setup.sh test
	$(if $(filter 1,$(SKIP_WIN32)),VELKARO_SKIP_WIN32=1) $(PYTHON) tests/run_wine_tests.py --build $(X64) --gtest $(X64_GTEST) \
	  --build-x86 $(X86) --gtest-x86 $(X86_GTEST)

# The release archive dist/Velkaro-<version>.zip: both programs, LIESMICH.txt, SHA256SUMS.
dist: x64 x86
	python3 tools/dist/make_dist.py $(X64) $(X86) dist

# A second build of both programs from a copy of the sources at another path gives the same
# archive byte for byte, and the archive's programs pass the floor check.
dist-check: x64 x86
	tests/dist/check_reproducible.sh "$$(python3 tools/dist/make_dist.py $(X64) $(X86) dist)"

test:
	@scripts/setup.sh test
	$(MAKE) --no-print-directory unit-asan
	$(MAKE) --no-print-directory floor
	$(MAKE) --no-print-directory wine-test
	$(MAKE) --no-print-directory dist-check

bench: x64 x86
	@scripts/setup.sh test
	$(PYTHON) scripts/bench.py --x64 $(X64) --x86 $(X86)

# The leak test: SOAK_MINUTES minutes of use under Wine (tests/e2e/test_soak.py).
soak: x64
	@scripts/setup.sh test
	VELKARO_SOAK_MINUTES=$(SOAK_MINUTES) $(PYTHON) tests/run_wine_tests.py --no-ctest -k Soak

# Seeded faults (tools/mutants): which tests see each fault of faults.jsonl, in a worktree of HEAD
# under build/mutants/. MUTANTS_ARGS="--e2e" adds the end-to-end tests for faults the others miss.
mutants:
	@scripts/setup.sh test
	$(PYTHON) tools/mutants/mutants.py $(MUTANTS_ARGS)

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
	rm -rf $(BUILD) dist
