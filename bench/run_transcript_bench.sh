#!/usr/bin/env bash
# Builds and runs the transcript benchmark (100,000 cues, the real window offscreen) and prints
# its figures against the targets: opening under 200 ms, one keystroke of finding under 50 ms.
# Usage: bench/run_transcript_bench.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
[ -f "$dir/CMakeCache.txt" ] || scripts/build.sh --target bench_window_transcript
cmake --build "$dir" --target bench_window_transcript >/dev/null

csv="$(QT_QPA_PLATFORM=offscreen "$dir/bench/bench_window_transcript" --benchmark_format=csv \
        --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null)"

# Medians of wall-clock and CPU time, in ms, by benchmark name.
echo "$csv" | awk -F, '
  /_median"?,/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); sub(/\/real_time$/, "", name)
    unit = $5; gsub(/"/, "", unit)
    scale = (unit == "ms") ? 1 : (unit == "us") ? 1e-3 : (unit == "ns") ? 1e-6 : 1e3
    real[name] = $3 * scale; cpu[name] = $4 * scale
  }
  END {
    open = real["BM_TranscriptOpen"]; first = real["BM_TranscriptFilterKeystroke/0"]
    accent = real["BM_TranscriptFilterKeystroke/1"]; more = real["BM_TranscriptFilterNarrowing"]
    printf "transcript open, 100,000 cues:         %7.1f ms (CPU %6.1f ms)  (target < 200)\n", open, cpu["BM_TranscriptOpen"]
    printf "find, first letter (all rows searched): %6.1f ms (CPU %6.1f ms)  (target < 50)\n", first, cpu["BM_TranscriptFilterKeystroke/0"]
    printf "find, first letter accented:           %7.1f ms (CPU %6.1f ms)  (target < 50)\n", accent, cpu["BM_TranscriptFilterKeystroke/1"]
    printf "find, a letter more:                   %7.1f ms (CPU %6.1f ms)  (target < 50)\n", more, cpu["BM_TranscriptFilterNarrowing"]
    printf "clock tick with the transcript shown:  %7.3f ms (CPU %6.3f ms)\n", real["BM_TranscriptTick"], cpu["BM_TranscriptTick"]
    verdict = (open < 200 && first < 50 && accent < 50 && more < 50) ? "ok" : "MISSED"
    printf "targets: %s (medians of 3 runs, wall-clock time)\n", verdict
  }'
