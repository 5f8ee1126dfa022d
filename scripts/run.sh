#!/usr/bin/env bash
# Installs, builds and runs the program on the demo. Arguments replace the demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
if [ $# -gt 0 ]; then
  exec build/tools/probe/tessaview-probe "$@"
fi
exec build/tools/probe/tessaview-probe --fps 25 --at 50 --at 130 demo/demo.srt
