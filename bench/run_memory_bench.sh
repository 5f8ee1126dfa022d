#!/usr/bin/env bash
# The movie memory's figures against their target: what a full store (1,000 movies) adds to
# the start-up (it is read) and to the exit (it is written while set.ini is), each under 5 ms;
# and what the window waits at a movie change (the write itself goes on on a worker thread).
# Usage: bench/run_memory_bench.sh [build-dir]   (default: build)
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
      real[name] = $3 * scale; cpu[name] = $4 * scale
    }
    END {
      load = real["MovieMemoryLoadFull"]; save = real["MovieMemorySaveFull"]
      change = real["MovieMemoryMovieChange"]
      alone = real["MovieMemoryExit/0"]; both = real["MovieMemoryExit/1"]; added = both - alone
      printf "start-up, full store read:                 %6.2f ms   (target < 5)\n", load
      printf "exit, set.ini alone:                       %6.2f ms\n", alone
      printf "exit, set.ini and the full store:          %6.2f ms\n", both
      printf "exit, added by the store:                  %6.2f ms   (target < 5)\n", added
      printf "movie change, the window waits:            %6.2f ms\n", change
      printf "full store written, waiting for the disk:  %6.2f ms   (%.2f ms of it CPU; the rest is the disk'"'"'s flush)\n", save, cpu["MovieMemorySaveFull"]
      printf "targets: %s (medians of 5 runs, wall time)\n", (load < 5 && added < 5) ? "ok" : "MISSED"
    }'
