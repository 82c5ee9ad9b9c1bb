#!/usr/bin/env bash
# Runs the tests of every build, all of them even when one fails, and exits
# non-zero when any failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
status=0

run() {
  echo "== $1 tests =="
  shift
  "$@" || status=1
}

run native ctest --preset native
run asan ctest --preset asan

# Every fuzz target for a minute (FUZZ_SECONDS), on top of its regression corpus.
run fuzz env FUZZ_SECONDS="${FUZZ_SECONDS:-60}" tools/run-fuzz.sh

tools/wine-prefix.sh
export WINEPREFIX=$here/build/wineprefix
# The Windows tests need a display for their windows: a virtual one of their own.
run win32 xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win32
WINEDEBUG=-all wineserver -k 2>/dev/null || true

if [ $status -eq 0 ]; then echo "All builds' tests passed."; else echo "Some tests FAILED." >&2; fi
exit $status
