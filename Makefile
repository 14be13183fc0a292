# The two set-up commands for a fresh machine are `make run` and `make test`; both install what is
# missing first.
PRESET ?= release
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 30

.PHONY: all deps build debug asan run test test-asan bench install fuzz format clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

# Only the program and what it links: the tests and benchmarks wait for `make test` and `make bench`.
run: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target vorlix-caller
	build/release/bin/vorlix-caller $(ARGS)

test: debug
	ctest --preset debug -j $(JOBS)

test-asan: asan
	ctest --preset asan -j $(JOBS)

# Every benchmark program of the release build, one after another (the window's needs no display).
bench: build
	@set -e; for b in build/release/bin/vorlix-*bench; do echo "== $$b"; \
	  QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} $$b; done

# Installs under /usr/local, or under PREFIX (make install PREFIX=$$HOME/.local).
install: build
	cmake --install build/release $(if $(PREFIX),--prefix $(PREFIX))

# The fuzz target needs clang++ with libFuzzer; it has its own clang build in build/fuzz and keeps
# what it learns in build/fuzz/corpus. Without clang++ this says so and does nothing.
fuzz: deps
	@if ! command -v clang++ >/dev/null; then \
	  echo "make fuzz: clang++ is not installed, skipping the fuzz run"; exit 0; fi; \
	set -e; \
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER="$$(command -v clang++)" \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_FUZZ=ON -DVORLIX_SANITIZE=ON \
	  -DVORLIX_WARNINGS_AS_ERRORS=ON -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=OFF; \
	cmake --build build/fuzz --target vorlix-fuzz-screen -j $(JOBS); \
	mkdir -p build/fuzz/corpus; \
	build/fuzz/bin/vorlix-fuzz-screen -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	  -artifact_prefix=build/fuzz/ build/fuzz/corpus

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
