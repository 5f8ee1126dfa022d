#!/usr/bin/env bash
# The movie memory's figures against their target: reading a full store (1,000 movies) at
# start-up, and recording a movie and writing the store at a movie change or at exit, each
# under 5 ms. Usage: bench/run_memory_bench.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
[ -f "$dir/CMakeCache.txt" ] || scripts/build.sh --target bench_settings
cmake --build "$dir" --target bench_settings >/dev/null

# The store is written where a portable copy keeps it: on the disk of the build folder.
TMPDIR="$(realpath "$dir")" "$dir/bench/bench_settings" --benchmark_filter=MovieMemory --benchmark_format=csv \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  awk -F, '
    /_median"?,/ {
      name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
      unit = $5; gsub(/"/, "", unit)
      scale = (unit == "ns") ? 1e-6 : (unit == "us") ? 1e-3 : (unit == "s") ? 1e3 : 1
      real[name] = $3 * scale
    }
    END {
      load = real["MovieMemoryLoadFull"]; save = real["MovieMemorySaveFull"]
      printf "start-up, full store read:           %6.2f ms   (target < 5)\n", load
      printf "movie change or exit, store written: %6.2f ms   (target < 5)\n", save
      printf "targets: %s (medians of 5 runs, wall time)\n", (load < 5 && save < 5) ? "ok" : "MISSED"
    }'
