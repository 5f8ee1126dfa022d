#!/usr/bin/env bash
# The window's speed figures: one subtitle clock tick (fake engine, 100,000 cues), the media
# controls' idle check, and the time from starting the real program to its main window being
# shown on an X display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

startup() {
  local dir
  dir=$(mktemp -d)
  cp "$build/src/tessaview" "$dir/"
  for run in 1 2 3 4 5 6; do
    rm -f "$dir/set.ini"
    local start end
    start=$(date +%s%N)
    "$dir/tessaview" >/dev/null 2>&1 &
    local pid=$!
    until xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$' >/dev/null 2>&1; do
      if ! kill -0 "$pid" 2>/dev/null || [ $(( $(date +%s%N) - start )) -gt 10000000000 ]; then
        echo "the program did not show its window" >&2
        break
      fi
    done
    end=$(date +%s%N)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    # The first run warms the disk cache; it is not counted.
    [ "$run" -gt 1 ] && echo "$(( (end - start) / 1000000 ))"
  done | sort -n | awk '{ a[NR] = $1 } END { printf "start to main window shown: median %d ms (min %d, max %d, %d runs)\n", a[int((NR + 1) / 2)], a[1], a[NR], NR }'
  rm -rf "$dir"
}
if [ "${1:-}" = "--startup" ]; then
  startup
  exit 0
fi

[ -f "$build/CMakeCache.txt" ] || scripts/build.sh --target tessaview
cmake --build "$build" --target bench_window tessaview
QT_QPA_PLATFORM=offscreen "$build/bench/bench_window" "$@"
if [ -n "${DISPLAY:-}" ]; then
  startup
else
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --startup
fi
