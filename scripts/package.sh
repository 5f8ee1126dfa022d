#!/usr/bin/env bash
# Builds the Debian package build/tessaview_<version>_<arch>.deb from the build/ tree:
# install it with `sudo apt install ./build/tessaview_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
# Only what the package holds; the tests and benchmarks stay unbuilt.
scripts/build.sh --target tessaview tessaview-probe tessaview_data
(cd build && cpack -G DEB)
ls -1 build/tessaview_*.deb
