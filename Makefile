# Plimet: `make test` sets up, builds everything and runs every test;
# `make run` builds and starts the program.
BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/asan
WIN     := $(BUILD)/win
FUZZ    := $(BUILD)/fuzz

.PHONY: all deps native asan win fuzz test test-native test-asan test-wine test-fuzz bench run clean

all: native win

deps:
	@tools/install-deps.sh

$(NATIVE)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLIMET_BENCH=ON

$(ASAN)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DPLIMET_SANITIZE=ON

$(WIN)/CMakeCache.txt: | deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

$(FUZZ)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLIMET_FUZZ=ON

fuzz: deps $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

native: deps $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

asan: deps $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)

win: deps $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

test-native: native
	@echo "== native tests =="
	cd $(NATIVE) && ctest --output-on-failure

test-asan: asan
	@echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure

test-wine: win
	@echo "== Windows tests under Wine =="
	cd $(WIN) && ctest --output-on-failure

test-fuzz: fuzz
	@echo "== fuzzing the table and compressed stream readers (short runs) =="
	cd $(FUZZ) && ctest --output-on-failure

test: test-native test-asan test-fuzz test-wine
	@tools/test-summary.sh $(NATIVE) $(ASAN) $(WIN)

bench: native
	$(NATIVE)/bench/plimet_bench --benchmark_counters_tabular=true

run: win
	@echo "The Plimet windows are not built yet: there is nothing to start."
	@echo "Built so far: $(WIN)/tools/plimet-data.exe (the data tool) and the tests."

clean:
	rm -rf $(BUILD)
