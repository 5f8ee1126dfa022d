#!/usr/bin/env bash
# Movie engine against the mpv command on the same 1080p H.264 file, on a private X server:
# time from PlayFile (mpv: from its start) to the first frame shown, and process CPU over
# 10 s of steady playback. Usage: bench/run_engine_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# The mpv command is only for comparison, so it is installed here rather than by setup.sh.
if ! command -v mpv >/dev/null; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends mpv
fi

if [ -z "${TESSAVIEW_BENCH_X:-}" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j2 --target bench_engine
  TESSAVIEW_BENCH_X=1 exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$0" "$build"
fi

bench="$build/bench/bench_engine"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
movie="$work/movie1080.mp4"
ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=16 \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50 "$movie"
runs=5
mpv_common=(--no-config --really-quiet --hwdec=auto-safe --sid=no --osc=no --input-default-bindings=no)

echo "== time to first frame (${runs} runs)"
"$bench" --first-frame "$movie" "$runs" 2>/dev/null
times=()
for _ in $(seq "$runs"); do
  # --msg-time stamps from mpv's own start; the restart line follows the first frame shown.
  t=$(mpv "${mpv_common[@]}" --msg-level=all=no,cplayer=v --msg-time --end=1 "$movie" 2>&1 |
      awk -F'[][]' '/playback restart complete/ { print $2 * 1000; exit }')
  times+=("$t")
done
printf '%s\n' "${times[@]}" | sort -n |
  awk '{ a[NR] = $1 } END { printf "mpv command first frame: median %.1f ms (min %.1f, %d runs, from process start)\n", a[int((NR + 1) / 2)], a[1], NR }'

# CPU seconds used by process $1 between 2 s and 12 s after its start.
cpu_over_10s() {
  local pid=$1 tick a b
  tick=$(getconf CLK_TCK)
  sleep 2
  a=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  sleep 10
  b=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v a="$a" -v b="$b" -v t="$tick" 'BEGIN { printf "%.1f %% of one core", (b - a) / t / 10 * 100 }'
}

echo "== CPU while playing 10 s"
"$bench" --play "$movie" 14 >/dev/null 2>&1 &
echo "engine: $(cpu_over_10s $!)"
mpv "${mpv_common[@]}" --length=14 "$movie" >/dev/null 2>&1 &
echo "mpv command: $(cpu_over_10s $!)"

echo "== GetPos cost while playing"
TESSAVIEW_BENCH_MOVIE="$movie" "$bench" --benchmark_min_time=1 2>/dev/null | grep -E "^BM_|^Benchmark"
