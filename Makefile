# Front door: `make run` shows the program, `make test` runs every test of
# every build. Both install what is missing first and build what is stale.
.PHONY: all deps native win32 asan test run bench clean

all: native win32

deps:
	@tools/install-deps.sh

native: deps
	@tools/build.sh native

win32: deps
	@tools/build.sh win32

asan: deps
	@tools/build.sh asan

test: native asan win32
	@tools/run-tests.sh

run: native win32
	@tools/run.sh

bench: native
	@tools/run-benchmarks.sh

clean:
	rm -rf build
