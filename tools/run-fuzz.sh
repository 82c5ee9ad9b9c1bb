#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 60) on a corpus seeded by
# our archive builder. Corpora and findings stay in build/fuzz/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
# Every input is written to a scratch file; memory-backed is much faster.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
out=$here/build/fuzz
"$out/tests/fuzz/kestrum-make-seeds" "$out/seeds"
status=0
for target in "$out"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$out/corpus/$name
  mkdir -p "$corpus" "$out/findings"
  echo "== $name for ${seconds}s =="
  if ! (cd "$out/findings" && "$target" -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=256 \
        -print_final_stats=1 "$corpus" "$out/seeds" 2>"$out/$name.log"); then
    status=1
    tail -40 "$out/$name.log" >&2
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$out/$name.log" || true
done
exit $status
