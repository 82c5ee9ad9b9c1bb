#!/usr/bin/env bash
# Runs every benchmark of the native build and prints its ratios.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
for bench in "$here"/build/native/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench") =="
  "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
