#!/usr/bin/env bash
# Installs, builds and runs every test and each fuzz target for 20 s; then the unit and GUI
# tests again under AddressSanitizer + UndefinedBehaviorSanitizer. Exit status is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

status=0
# The layering: no include against the folder order, no POSIX header outside src/osdep/.
scripts/check_layers.sh || status=1

# The end-to-end tests need an X display; give them a private one.
(cd build && xvfb-run -a -s "-screen 0 1280x1024x24" \
   ctest --output-on-failure --timeout 300 -j2) || status=1

# Each fuzz target for a short while: any finding fails the run.
scripts/fuzz.sh 20 || status=1

scripts/build.sh --asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -LE "e2e|engine|bench" -j2) || status=1
exit $status
