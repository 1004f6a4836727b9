# Plimet: `make test` sets up, builds everything and runs every test;
# `make run` builds and starts the program.
BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/asan
WIN     := $(BUILD)/win
FUZZ    := $(BUILD)/fuzz
BENCH   := $(BUILD)/bench

.PHONY: all deps native asan win fuzz fuzz-build test test-native test-asan test-wine test-fuzz bench bench-wine run clean

all: native win

deps:
	@tools/install-deps.sh

$(NATIVE)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLIMET_BENCH=ON

$(ASAN)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DPLIMET_SANITIZE=ON

$(WIN)/CMakeCache.txt: | deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

# The benchmarks measure what ships: an optimised build of their own.
$(BENCH)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DPLIMET_BENCH=ON

$(FUZZ)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLIMET_FUZZ=ON

fuzz-build: deps $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

# Fuzzes each reader for a bounded time from its seeds, keeping the corpus.
FUZZ_SECONDS ?= 60
fuzz: fuzz-build
	cd $(FUZZ) && ctest -R fuzz_seeds > /dev/null
	cd $(FUZZ)/fuzz && for t in SkinArchiveFuzz:skin TableImageFuzz:table CompressedStreamFuzz:compressed FormResourceFuzz:form; do \
	  name=$${t%%:*}; seeds=$${t##*:}; echo "== $$name for $(FUZZ_SECONDS) s =="; \
	  ./$$name -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -print_final_stats=1 corpus/$$seeds seeds/$$seeds 2>&1 \
	    | grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" || exit 1; done

native: deps $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)
	@for f in $(NATIVE)/preview/*-preview.bmp; do convert "$$f" "$${f%.bmp}.png" 2>/dev/null; done; true

asan: deps $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)

# The program folder: what an installation holds beside plimet.exe. The
# skins (Skins/<folder>/<name>.ssk) are packed by the native tools.
PROGRAM := $(WIN)/program
SKINS   := Deep/DeepCyan Paper/Paper Graphite/Graphite
win: deps native $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)
	@for skin in $(SKINS); do mkdir -p $(PROGRAM)/Skins/$${skin%/*} && \
	  cp $(NATIVE)/Skins/$$skin.ssk $(PROGRAM)/Skins/$$skin.ssk || exit 1; done
	@cp $(WIN)/src/plimet.exe $(PROGRAM)/plimet.exe

test-native: native
	@echo "== native tests =="
	cd $(NATIVE) && ctest --output-on-failure

test-asan: asan
	@echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure

test-wine: win
	@echo "== Windows tests under Wine =="
	cd $(WIN) && ctest --output-on-failure
	@for f in $(WIN)/tests/screenshots/*.bmp; do [ -f "$$f" ] && convert "$$f" "$${f%.bmp}.png" 2>/dev/null; done; true

test-fuzz: fuzz-build
	@echo "== fuzz targets from their seeds (short runs) =="
	cd $(FUZZ) && ctest --output-on-failure

test: test-native test-asan test-fuzz test-wine
	@tools/test-summary.sh $(NATIVE) $(ASAN) $(WIN)

# Each figure is the median of 7 repetitions run in random order, so that
# a figure and its reference meet the same load of the machine.
bench: deps $(BENCH)/CMakeCache.txt
	cmake --build $(BENCH) -j $(JOBS) --target plimet_bench
	$(BENCH)/bench/plimet_bench --benchmark_counters_tabular=true --benchmark_repetitions=7 \
	  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

# The skinned frame's timings under Wine, on a screen wide enough for a
# 1920-pixel window; each figure beside its reference from the same run.
bench-wine: win
	xvfb-run -a -s "-screen 0 2560x1200x24" tools/wine-run.sh $(WIN) $(WIN)/bench/win32/SkinTiming.exe \
	  $(abspath $(PROGRAM))/Skins/Deep/DeepCyan.ssk

run: win
	@tools/run-plimet.sh $(WIN) $(PROGRAM)

clean:
	rm -rf $(BUILD)
