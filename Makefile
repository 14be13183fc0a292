# The two set-up commands for a fresh machine are `make run` and `make test`; both install what is
# missing first.
PRESET ?= release
JOBS ?= $(shell nproc)

.PHONY: all deps build debug asan run test test-asan bench install format clean

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

run: build
	build/release/bin/vorlix-caller $(ARGS)

test: debug
	ctest --preset debug -j $(JOBS)

test-asan: asan
	ctest --preset asan -j $(JOBS)

bench: build
	build/release/bin/vorlix-bench

# Installs under /usr/local, or under PREFIX (make install PREFIX=$$HOME/.local).
install: build
	cmake --install build/release $(if $(PREFIX),--prefix $(PREFIX))

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
