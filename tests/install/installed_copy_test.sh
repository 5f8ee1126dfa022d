#!/usr/bin/env bash
# `cmake --install` into a temporary prefix; --help, --version and --foo without a display; under X,
# the menu entry's command with HOME in a temporary folder and the prefix read-only shows a UTF-16
# subtitle, and Exit saves into HOME's config and state folders only. Exit status 77 (skipped) without X.
set -euo pipefail
work=$(mktemp -d /tmp/tessaview-install-XXXXXX)
pid= holder=
cleanup() {
  [ -z "$pid$holder" ] || kill -9 $pid $holder 2>/dev/null || true
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs the command every 0.1 s until it succeeds, for at most 20 s: the program takes its own time.
wait_for() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }

prefix=$work/prefix
cmake --install "$1" --prefix "$prefix" >/dev/null
desktop=$prefix/share/applications/org.tessaview.Tessaview.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null || fail "appstreamcli refused the metainfo"

bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tessaview")
"${bare[@]}" --help | grep -q '^Usage: tessaview ' || fail "--help"
"${bare[@]}" --version | grep -qx 'tessaview [0-9.]*' || fail "--version"
status=0
"${bare[@]}" --foo >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$work/out" ] && grep -q '^Usage: ' "$work/err" || fail "--foo gave status $status"
"$prefix/bin/tessaview-probe" --help | grep -q 'tessaview-probe' || fail "tessaview-probe --help"

if [ -z "${DISPLAY:-}" ]; then
  echo "no X display (DISPLAY is unset): the installed program's window was not tried; run under xvfb-run"
  exit 77
fi

movies=$work/movies home=$work/home
mkdir -p "$movies" "$home" "$work/run" "$work/tmp"
chmod 700 "$work/run"
ffmpeg -loglevel error -y -f lavfi -i testsrc=size=640x352:rate=25:duration=8 -c:v mpeg4 -q:v 5 "$movies/clip.avi"
printf '1\r\n00:00:00,000 --> 00:00:07,000\r\nUTF-16 SUBTITLE\r\n' | iconv -f UTF-8 -t UTF-16 >"$movies/clip.srt"
listing() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
listing >"$work/before"
chmod -R a-w "$prefix"

# The X server resets whenever its last client leaves and refuses the program meanwhile: hold one.
hold() { exec 3< <(exec stdbuf -oL xdotool getmouselocation sleep 600 2>/dev/null); holder="$holder $!"; read -r -u 3 line && [ "${line:0:2}" = x: ]; }
wait_for hold || fail "no connection to the X display"
command=$(sed -n 's/^Exec=//p' "$desktop")
env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$home" PATH="$prefix/bin:$PATH" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" \
    ${command//%f/$movies/clip.avi} &
pid=$!
window() { id=$(xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$' 2>/dev/null | head -1) && [ -n "$id" ]; }
wait_for window || fail "the installed program showed no window"
# White text in the subtitle panel: 83 px above the 19-px status bar at the window's bottom.
subtitle() {
  eval "$(xdotool getwindowgeometry --shell "$id")"
  white=$(import -window root -crop "$((WIDTH - 8))x60+$((X + 4))+$((Y + HEIGHT - 100))" ppm:- |
          convert - -colorspace gray -threshold 78% -format '%[fx:int(mean*w*h)]' info:)
  [ "$white" -gt 150 ]
}
wait_for subtitle || fail "the UTF-16 subtitle did not show (${white:-0} white pixels in the panel)"
[ "$(stat -c %a "$work"/run/tessaview-*)" = 700 ] || fail "the private folder is open to others"

# Exit from the Movie menu (one more window of the program's); the program then ends cleanly.
windows() { xdotool search --maxdepth 1 --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
xdotool windowfocus --sync "$id" 2>/dev/null || true
shown=$(windows)
xdotool key alt+m
wait_for eval '[ "$(windows)" -gt "$shown" ]' || fail "Alt+M opened no menu"
xdotool key e
wait_for eval '! ps -o stat= -p "$pid" | grep -qv Z' || fail "the program did not end on Exit"  # gone or a zombie
wait "$pid" || fail "the program ended with status $? on Exit"
pid=

grep -q '^\[Pos\]' "$home/.config/tessaview/set.ini" || fail "Exit wrote no $home/.config/tessaview/set.ini"
[ "$(stat -c %a "$home/.config")" = 700 ] || fail "the settings folder is open to others"
grep -qx "movie=$movies/clip.avi" "$home/.local/state/tessaview/memory.txt" ||
  fail "Exit left no movie memory in $home/.local/state/tessaview"
chmod -R u+w "$prefix"
listing | diff "$work/before" - || fail "the program wrote into its prefix"
# The instance registry's own folder ($XDG_RUNTIME_DIR/tessaview) stays; the private ones go.
left=$(find "$work/run" "$work/tmp" -mindepth 1 -maxdepth 1 -name 'tessaview-*')
[ -z "$left" ] || fail "the program left its private folder behind: $left"
echo "installed copy: window, UTF-16 subtitle, settings in \$HOME/.config/tessaview, movie memory in \$HOME/.local/state/tessaview, prefix untouched"
