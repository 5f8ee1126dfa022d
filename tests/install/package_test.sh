#!/usr/bin/env bash
# The .deb: CPack builds it from the build tree into a temporary folder; its control data
# names the libraries' packages and it holds the programs, the desktop files and the marker.
set -euo pipefail
build=$1
work=$(mktemp -d /tmp/tessaview-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" -G DEB >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack"; }
deb=$(ls "$work"/tessaview_*.deb)
dpkg-deb --info "$deb" >"$work/info"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for library in libmpv2 libqt6widgets6 libavformat libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
dpkg-deb --contents "$deb" | awk '{print $NF}' >"$work/contents"
for file in usr/bin/tessaview usr/bin/tessaview-probe usr/share/tessaview/installed \
            usr/share/applications/org.tessaview.Tessaview.desktop \
            usr/share/metainfo/org.tessaview.Tessaview.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/tessaview.svg usr/share/icons/hicolor/256x256/apps/tessaview.png \
            usr/share/man/man1/tessaview-probe.1.gz usr/share/doc/tessaview/copyright; do
  grep -qx "./$file" "$work/contents" || fail "the package lacks /$file"
done
echo "package: $(basename "$deb"), Depends: $depends"
