#!/usr/bin/env bash
# Builds and runs the subtitle benchmark and prints its figures against the targets:
# ReadSubRip vs FFmpeg's SubRip demuxer on a generated 100,000-cue file, its load with and
# without encoding detection (plain ASCII and CP1251), and the lookup.
# Usage: bench/run_subtitle_bench.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" --target bench_subtitle >/dev/null 2>&1

csv="$("$dir/bench/bench_subtitle" --benchmark_format=csv --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true 2>/dev/null)"

# Medians of CPU time (ns per call) and bytes per second, by benchmark name.
echo "$csv" | awk -F, '
  /_median"?,/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    unit = $5; gsub(/"/, "", unit)
    scale = (unit == "ms") ? 1e6 : (unit == "us") ? 1e3 : 1
    cpu[name] = $4 * scale; bps[name] = $6
  }
  END {
    verdict = "ok"
    read = bps["BM_ReadSubRip"] / 1e6; ff = bps["BM_FfmpegSubRip"] / 1e6
    ratio = (ff > 0) ? read / ff : 0
    hit = cpu["BM_FindSubtitleText_CacheHit"]
    inside = cpu["BM_FindSubtitleText_Search/0"]; between = cpu["BM_FindSubtitleText_Search/1"]
    printf "ReadSubRip, 100,000 cues:              %8.1f MB/s   (target >= 300)\n", read
    printf "FFmpeg SubRip demuxer, same file:      %8.1f MB/s\n", ff
    printf "ratio:                                 %8.1f x      (target >= 10)\n", ratio
    for (arg = 0; arg <= 1; ++arg) {
      with = cpu["BM_LoadSubtitle/" arg] / 1e6; without = with - cpu["BM_DetectTextEncoding/" arg] / 1e6
      slower = (without > 0) ? with / without : 0
      printf "load, %s: %6.1f ms with detection, %6.1f ms without: %.2f x (target <= 1.2 for ASCII)\n", \
             arg ? "CP1251  " : "ASCII   ", with, without, slower
      if (arg == 0 && slower > 1.2) verdict = "MISSED"
    }
    printf "FindSubtitleText cache hit:            %8.2f ns     (target < 10)\n", hit
    printf "FindSubtitleText search, inside a cue: %8.1f ns     (target < 100)\n", inside
    printf "FindSubtitleText search, between cues: %8.1f ns     (target < 100)\n", between
    if (read < 300 || ratio < 10 || hit >= 10 || inside >= 100 || between >= 100) verdict = "MISSED"
    printf "targets: %s (medians of 3 runs, CPU time)\n", verdict
  }'
