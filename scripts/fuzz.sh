#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each in turn (or only the
# TARGETs named: subtitle, settings, vobsub) for SECONDS (default 60). Inputs that find
# something are kept in build-fuzz/findings/; the exit status is non-zero when any target found
# something. The corpus grown by earlier runs is reused.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
targets=(subtitle settings vobsub)
[ $# -gt 1 ] && targets=("${@:2}")

dir=build-fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAVIEW_FUZZ=ON
           -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
  command -v ninja >/dev/null && options+=(-G Ninja)
  command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" "${options[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# The targets write their inputs to files; in memory, the settings store's syncs cost nothing.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  findings="$dir/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$dir/fuzz-$target.log"
  inputs=("$corpus")
  for extra in "fuzz/seeds/$target" "fuzz/regressions/$target"; do
    [ -d "$extra" ] && inputs+=("$extra")
  done
  echo "== $target: $seconds s"
  if "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$findings/" \
       "${inputs[@]}" >"$log" 2>&1; then
    grep -E '^#[0-9]+.*(DONE|pulse)' "$log" | tail -1 || true
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
  else
    status=1
    echo "!! $target found something (kept in $findings):"
    grep -E 'ERROR|SUMMARY|deadly|timeout|Test unit written' "$log" | head -20
  fi
done
exit $status
