# Quenmark: the two set-up commands, and the benchmarks.
#   make run    install what is missing, build (release) and start the editor
#   make test   install what is missing, build with sanitizers and run every test
#   make bench  build release and run the benchmarks
#   make fuzz   build the fuzz targets and run each for FUZZ_SECONDS (default 60)

JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5

.PHONY: run test bench fuzz deps build-release build-test build-fuzz clean

deps:
	@build-scripts/install-deps

build-release: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENMARK_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build-release
	$(RELEASE_DIR)/app/quenmark

build-test: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENMARK_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

test: build-test build-fuzz
	@FUZZ_SEED=1 build-scripts/run-fuzz $(FUZZ_SMOKE_SECONDS)
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

build-fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUENMARK_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: build-fuzz
	@build-scripts/run-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENMARK_TESTS=OFF -DQUENMARK_BENCH=ON >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@build-scripts/run-bench $(BENCH_DIR)/bench

clean:
	rm -rf build
