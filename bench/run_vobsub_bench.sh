#!/bin/sh
# Builds and runs the VobSub benchmark: load times per MB of .sub, one picture decoded and handed out.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-vobsub"}
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2 --target bench_vobsub
TESSAVIEW_CORPUS_DIR="$root/../shared/corpus" "$build/bench/bench_vobsub" --benchmark_counters_tabular=true
