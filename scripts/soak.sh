#!/usr/bin/env bash
# Soak: the built player on a private X server works through a play list of short movies with
# broken files among them (an empty file, text named .avi, a cut mp4), entry after entry, with
# full screen and back, for MINUTES (default 10). Prints resident memory and open descriptors
# after the first cycle and at the end; fails when either grew by more than 10 % or when the
# player stops answering. TESSAVIEW_SOAK_VERBOSE=1 prints both after every cycle;
# TESSAVIEW_SOAK_WRAP runs the player under a profiler, e.g. "heaptrack -o /tmp/soak".
set -euo pipefail
cd "$(dirname "$0")/.."
minutes="${1:-10}"

if [ -z "${TESSAVIEW_SOAK_DISPLAY:-}" ]; then
  [ -x build/src/tessaview ] || scripts/build.sh --target tessaview
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env TESSAVIEW_SOAK_DISPLAY=1 "$0" "$@"
fi

work="$(mktemp -d /tmp/tessaview-soak-XXXXXX)"
pid=""
launcher=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$launcher" ] && wait "$launcher" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "soak: FAILED: $*"
  [ -s "$work/player.log" ] && { echo "soak: the player's last output:"; tail -20 "$work/player.log"; }
  exit 1
}

# The player keeps set.ini beside itself: a copy of its own keeps the user's settings apart.
cp build/src/tessaview "$work/tessaview"
make_movie() {  # name seconds size
  ffmpeg -loglevel error -nostdin -y -f lavfi -i "testsrc=size=$3:rate=25:duration=$2" \
    -f lavfi -i "sine=frequency=440:duration=$2" -c:v mpeg4 -q:v 5 -c:a aac "$work/$1"
}
make_movie short.mp4 1 320x240
make_movie long.avi 60 640x352
make_movie other.mkv 60 480x272
: > "$work/empty.avi"
echo "This is a letter, not a movie." > "$work/letter.avi"
make_movie whole.mp4 4 320x240
head -c "$(( $(stat -c %s "$work/whole.mp4") / 2 ))" "$work/whole.mp4" > "$work/cut.mp4"

# The short movie ends by itself and the player goes on to the next entry.
entries=(short.mp4 long.avi empty.avi other.mkv letter.avi cut.mp4)
{
  echo "[PlayList]"
  echo "Count=${#entries[@]}"
  for i in "${!entries[@]}"; do echo "$i=$work/${entries[$i]}"; done
  printf '[useskin]\nshowplaylist=1\n[Pos]\nLeft=0\ntop=0\n'
} > "$work/set.ini"

# shellcheck disable=SC2086  # the wrapper is a command with its arguments
${TESSAVIEW_SOAK_WRAP:-} "$work/tessaview" >"$work/player.log" 2>&1 &
launcher=$!
pid=$launcher
# A wrapper starts the player as its own child: it is the process that runs the copy.
if [ -n "${TESSAVIEW_SOAK_WRAP:-}" ]; then
  for _ in $(seq 100); do
    pid="$(pgrep -n -f "^$work/tessaview" || true)"
    [ -n "$pid" ] && break
    sleep 0.1
  done
  [ -n "$pid" ] || { pid=""; fail "the wrapped player did not start"; }
fi

alive() { kill -0 "$pid" 2>/dev/null || fail "the player ended"; }
# Runs COMMAND until it prints something, for at most SECONDS.
wait_for() {
  local seconds="$1"; shift
  local end=$(( SECONDS + seconds ))
  while [ $SECONDS -lt $end ]; do
    alive
    [ -n "$("$@" 2>/dev/null || true)" ] && return 0
    sleep 0.1
  done
  return 1
}
# Windows may go while xdotool looks at them; its complaints about that are no news. The main
# window's title names the open movie ("short.mp4 - Tessaview"); a message box is "Tessaview".
main_window() {
  local window
  window="$(xdotool search --maxdepth 1 --onlyvisible --name ' - Tessaview$' 2>/dev/null | head -1)" || true
  [ -n "$window" ] || window="$(xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$' 2>/dev/null | head -1)" || true
  echo "$window"
}
error_box() { [ "$(xdotool search --onlyvisible --name '^Tessaview$| - Tessaview$' 2>/dev/null | wc -l)" -ge 2 ] && echo yes; }
open_dialog() { xdotool search --onlyvisible --name '^Play DivX Movie$' 2>/dev/null || true; }
no_open_dialog() { [ -z "$(open_dialog)" ] && echo closed; }

wait_for 30 main_window || fail "no main window"
sleep 1.5

open() {
  local window X Y WIDTH HEIGHT SCREEN attempt
  for attempt in 1 2 3; do
    window="$(main_window)"
    [ -n "$window" ] || fail "the main window is gone"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 400)) $((Y + 40)) click 1  # the empty tool bar takes the keys
    xdotool key ctrl+o
    wait_for 10 open_dialog || fail "the player stopped answering (no Play File dialog)"
    sleep 0.3
    xdotool type --delay 2 "$1"
    xdotool key Return
    # Under load a typed key can go missing: the dialog then stays, and the name is typed again.
    for _ in $(seq 30); do [ -z "$(open_dialog)" ] && return 0; sleep 0.1; done
    # The first Escape may only close the name completer's list.
    for _ in 1 2 3; do
      xdotool key Escape
      wait_for 3 no_open_dialog && break
    done
    [ -z "$(open_dialog)" ] || fail "the Play File dialog does not close"
  done
  fail "the Play File dialog did not take $1"
}

no_main_window() { [ -z "$(main_window)" ] && echo gone; }

full_screen_and_back() {
  local window attempt
  for attempt in 1 2; do
    window="$(main_window)"
    [ -n "$window" ] || fail "the main window is gone"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key F4
    wait_for 5 no_main_window && break
    [ "$attempt" = 2 ] && fail "the player stopped answering (F4 did not bring full screen)"
  done
  sleep 1
  xdotool mousemove 640 300 key Escape
  wait_for 5 main_window || fail "the player stopped answering (Escape did not end full screen)"
}

measure() {
  echo "$(awk '/VmRSS/ {print $2}' "/proc/$pid/status") $(ls "/proc/$pid/fd" | wc -l)"
}

cycle() {
  for entry in "${entries[@]}"; do
    case "$entry" in
      short.mp4)
        open "$work/$entry"
        sleep 2.5  # it ends; the player opens the next entry by itself
        full_screen_and_back ;;
      long.avi) ;;  # reached through the play list above
      empty.avi|letter.avi|cut.mp4)
        open "$work/$entry"
        wait_for 10 error_box || fail "no message for $entry"
        sleep 0.2
        xdotool key Return
        sleep 0.5
        [ -z "$(error_box)" ] || fail "the message for $entry stays open" ;;
      *)
        open "$work/$entry"
        sleep 1.5
        full_screen_and_back ;;
    esac
  done
}

end=$(( SECONDS + minutes * 60 ))
read -r rss fds < <(measure)
echo "soak: at the start: resident ${rss} kB, ${fds} descriptors"
cycle
read -r rss0 fds0 < <(measure)
echo "soak: after the first cycle: resident ${rss0} kB, ${fds0} descriptors"
cycles=1
while [ $SECONDS -lt $end ]; do
  cycle
  cycles=$((cycles + 1))
  [ -n "${TESSAVIEW_SOAK_VERBOSE:-}" ] && echo "soak: cycle $cycles: $(measure)"
done
alive
read -r rss1 fds1 < <(measure)
echo "soak: after $cycles cycles ($minutes min): resident ${rss1} kB, ${fds1} descriptors"
awk -v a="$rss0" -v b="$rss1" -v c="$fds0" -v d="$fds1" 'BEGIN {
  printf "soak: resident %+.1f %%, descriptors %+.1f %%\n", (b - a) * 100 / a, (d - c) * 100 / c
  exit !(b <= a * 1.1 && d <= c * 1.1)
}' || fail "resident memory or descriptors grew by more than 10 %"
echo "soak: passed"
