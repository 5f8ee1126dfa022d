#!/usr/bin/env bash
# Remakes docs/screenshot.png: the player on the demo movie under a private X display, taken
# while the demo's second subtitle shows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh --target tessaview

work=$(mktemp -d /tmp/tessaview-shot-XXXXXX)
trap 'rm -rf "$work"' EXIT
ffmpeg -loglevel error -y -f lavfi -i "testsrc=size=640x352:rate=25:duration=15" -c:v mpeg4 -q:v 4 "$work/demo.avi"
cp demo/demo.srt "$work/demo.srt"
# A copy of its own keeps the shot's set.ini out of the build folder.
cp build/src/tessaview "$work/tessaview"
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  "$1/tessaview" "$1/demo.avi" & pid=$!
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --maxdepth 1 --onlyvisible --name "^Tessaview$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  sleep 6
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  kill "$pid"
' shot "$work" "$PWD/docs/screenshot.png"
echo "docs/screenshot.png"
