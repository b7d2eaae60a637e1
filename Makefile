# The two commands of the README, plus the benchmarks and the fuzzers.
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

.PHONY: run test bench build-release build-test bootstrap clean

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

clean:
	rm -rf build
