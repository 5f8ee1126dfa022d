#!/usr/bin/env bash
# The .deb CPack builds from the build tree: its Depends names the libraries' packages and it
# holds the programs, the marker, the desktop files, the icons, a man page and the licence.
set -euo pipefail
work=$(mktemp -d /tmp/tessaview-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$1/CPackConfig.cmake" -B "$work" -G DEB >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack"; }
deb=$(ls "$work"/tessaview_*.deb)
depends=$(dpkg-deb --info "$deb" | sed -n 's/^ Depends: //p')
for library in libmpv2 libqt6widgets6 libavformat libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
dpkg-deb --contents "$deb" | awk '{print $NF}' >"$work/contents"
for file in bin/tessaview bin/tessaview-probe share/tessaview/installed share/man/man1/tessaview-probe.1.gz \
            share/applications/org.tessaview.Tessaview.desktop share/doc/tessaview/copyright \
            share/metainfo/org.tessaview.Tessaview.metainfo.xml share/icons/hicolor/scalable/apps/tessaview.svg \
            share/icons/hicolor/256x256/apps/tessaview.png; do
  grep -qx "./usr/$file" "$work/contents" || fail "the package lacks /usr/$file"
done
echo "package: $(basename "$deb"), Depends: $depends"
