#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --asan). Extra arguments go to cmake --build.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--asan" ]; then
  shift
  dir=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DTESSAVIEW_SANITIZE=ON -DTESSAVIEW_BUILD_BENCH=OFF)
fi
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# A compiler cache, when the machine has one, makes rebuilds after a branch switch cheap.
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${generator[@]}" "${options[@]}"
fi
cmake --build "$dir" -j"$(nproc)" "$@"
