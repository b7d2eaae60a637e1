# The two commands of the README, plus the benchmarks and the fuzzers.
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=1

.PHONY: run test bench fuzz build-release build-test bootstrap clean

bootstrap:
	@scripts/bootstrap

build-release: bootstrap
	@cmake -S . -B build/release -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DLUMA_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/release -j $(JOBS) --target lumaretique

run: build-release
	build/release/bin/lumaretique

build-test: bootstrap
	@cmake -S . -B build/test -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DLUMA_SANITIZE=ON -DLUMA_BUILD_BENCH=OFF >/dev/null
	@cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

bench: bootstrap
	@cmake -S . -B build/bench -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DLUMA_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Each fuzz target for FUZZ_TIME seconds on its corpus: the committed seeds in
# fuzz/corpus/<target>/ (read only) and a working copy under build/fuzz/ that
# gathers what the fuzzer learns. A failing input lands in
# build/fuzz/artifacts/<target>/ and stops the run.
FUZZ_TIME ?= 60
fuzz: bootstrap
	@cmake -S . -B build/fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DLUMA_FUZZ=ON \
	  -DLUMA_BUILD_TESTS=OFF -DLUMA_BUILD_BENCH=OFF >/dev/null
	@cmake --build build/fuzz -j $(JOBS) --target fuzz
	@for f in build/fuzz/fuzz/fuzz_*; do \
	  t=$${f##*/fuzz_}; \
	  mkdir -p build/fuzz/corpus/$$t build/fuzz/artifacts/$$t; \
	  echo "fuzz: $$t for $(FUZZ_TIME) s"; \
	  $(SANITIZER_ENV) "$$f" -max_total_time=$(FUZZ_TIME) -rss_limit_mb=2048 -max_len=1048576 \
	    -artifact_prefix=build/fuzz/artifacts/$$t/ \
	    build/fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

clean:
	rm -rf build
