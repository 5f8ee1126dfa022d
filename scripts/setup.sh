#!/usr/bin/env bash
# Installs what Tessaview needs to build, run and test, from Debian's packages.
# Does nothing (and asks no package server) when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev libxcb1-dev libmpv-dev libavformat-dev libavcodec-dev libavutil-dev libuchardet-dev
  libswresample-dev libfftw3-dev libwebrtc-audio-processing-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg xvfb xauth xdotool xclip x11-utils imagemagick dbus dbus-bin dbus-daemon fontconfig fonts-dejavu-core
  librsvg2-bin desktop-file-utils appstream openbox ccache espeak-ng sox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
