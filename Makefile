# Front door: `make run` shows the program, `make test` runs every test of
# every build. Both install what is missing first and build what is stale.
.PHONY: all deps native win32 asan fuzz-build fuzz test run bench bench-gui install clean

all: native win32

deps:
	@tools/install-deps.sh

native: deps
	@tools/build.sh native

win32: deps
	@tools/build.sh win32

asan: deps
	@tools/build.sh asan

fuzz-build: deps
	@tools/build.sh fuzz

# FUZZ_SECONDS=N sets how long each target runs (default 60).
fuzz: fuzz-build
	@tools/run-fuzz.sh

test: native asan win32 fuzz-build
	@tools/run-tests.sh

run: native win32
	@tools/run.sh

bench: native
	@tools/run-benchmarks.sh

# Open of 5k/20k/80k-file archives in the real window, under Wine.
bench-gui: win32
	@tools/run-gui-bench.sh

# kestrum-cli and its manual page under PREFIX (default /usr/local; DESTDIR
# for staging is honoured by cmake --install).
PREFIX ?= /usr/local
install: native
	cmake --install build/native --prefix "$(PREFIX)"

clean:
	rm -rf build
