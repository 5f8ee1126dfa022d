#!/usr/bin/env bash
# Installs, builds and starts the player on a demo movie with its subtitle beside it.
# A movie file given as argument is opened instead.
set -euo pipefail
# A movie named relative to where the command was typed stays found after the cd below.
args=()
for a in "$@"; do args+=("$(realpath -m -- "$a")"); done
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh --target tessaview tessaview-probe
if [ ${#args[@]} -gt 0 ]; then
  exec build/src/tessaview "${args[@]}"
fi

# The demo: 15 s of a test picture with its running clock, and demo.srt beside it so the
# subtitle loads by itself.
demo=build/demo
mkdir -p "$demo"
if [ ! -f "$demo/demo.avi" ]; then
  ffmpeg -loglevel error -y -f lavfi -i "testsrc=size=640x352:rate=25:duration=15" \
    -c:v mpeg4 -q:v 4 "$demo/demo.avi"
fi
cp demo/demo.srt "$demo/demo.srt"
exec build/src/tessaview "$PWD/$demo/demo.avi"
