#!/usr/bin/env bash
# Runs the window's benchmark (Open of 5k/20k/80k-file archives through the
# real main dialog) under Wine on a virtual display. Argument: repetitions per
# size (default 3).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/tools/wine-prefix.sh"
export WINEPREFIX=$here/build/wineprefix
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$here/tools/wine-run.sh" "$here/build/win32/bench/gui/bench_open_views.exe" "${1:-3}"
