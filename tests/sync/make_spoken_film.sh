#!/usr/bin/env bash
# Makes a short film whose sound speaks known lines at known times, and its true subtitle.
# Usage: make_spoken_film.sh SCRIPT BACKGROUND SECONDS OUT
#   SCRIPT      lines "GAP_MS VOICE TEXT": each line is spoken GAP_MS after the one before ends
#               (the first after the film starts); VOICE is an espeak-ng voice such as en-us+f3
#   BACKGROUND  noise, music or none, under the whole film
#   SECONDS     the film's least length; it lasts 3 s past its last line
#   OUT         OUT.mkv is the film (a still picture and the sound), OUT.srt its true subtitle:
#               each line from where its speech starts to 400 ms after it ends.
set -euo pipefail
script="$1" background="$2" seconds="$3" out="$4"
rate=48000
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Each line spoken, its silence trimmed, then placed after the silence that comes before it.
n=0 at=0 parts=() srt=""
while read -r pause voice text; do
  [ -n "${pause:-}" ] || continue
  n=$((n + 1))
  gap=$(( pause * rate / 1000 ))
  start=$(( (at + gap) * 1000 / rate ))
  gap=$(( start * rate / 1000 - at ))  # whole milliseconds, so the subtitle's times are exact
  espeak-ng -v "$voice" -s 165 -w "$work/raw.wav" "$text"
  sox -V1 "$work/raw.wav" -c 1 "$work/line$n.wav" rate $rate silence 1 0.005 1% reverse silence 1 0.005 1% \
    reverse vol 0.7 pad "${gap}s" 0
  parts+=("$work/line$n.wav")
  at=$(( at + $(soxi -s "$work/line$n.wav") ))
  end=$(( at * 1000 / rate + 400 ))
  srt+="$n"$'\n'"$(printf '%02d:%02d:%02d,%03d' $((start/3600000)) $((start/60000%60)) $((start/1000%60)) $((start%1000)))"
  srt+=" --> $(printf '%02d:%02d:%02d,%03d' $((end/3600000)) $((end/60000%60)) $((end/1000%60)) $((end%1000)))"$'\n'"$text"$'\n\n'
done < "$script"
printf '%s' "$srt" > "$out.srt"

seconds=$(( seconds > at / rate + 3 ? seconds : at / rate + 3 ))
total=$(( seconds * rate ))
sox -n -r $rate -c 1 "$work/end.wav" trim 0 "$(( total - at ))s"
sox -V1 "${parts[@]}" "$work/end.wav" "$work/speech.wav"

case "$background" in
  noise) sox -R -n -r $rate -c 1 "$work/bed.wav" synth "$seconds" pinknoise vol 0.06 ;;
  music)
    # Plucked notes over a held chord, four to a second, the melody wandering over two octaves.
    notes=(A3 C4 E4 G4 A4 C5 E5 D4 F4 B3)
    for i in "${!notes[@]}"; do
      sox -n -r $rate -c 1 "$work/note$i.wav" synth 0.25 pluck "${notes[$i]}" vol 0.15
    done
    melody=()
    for ((i = 0; i < seconds * 4; i++)); do melody+=("$work/note$(( (i * 7 + i / 5) % 10 )).wav"); done
    sox "${melody[@]}" "$work/melody.wav"
    sox -n -r $rate -c 1 "$work/chord.wav" synth "$seconds" sine 110 vol 0.04
    sox -m "$work/melody.wav" "$work/chord.wav" "$work/bed.wav"
    ;;
  none) sox -n -r $rate -c 1 "$work/bed.wav" trim 0 "$seconds" ;;
esac
sox -V1 -m "$work/speech.wav" "$work/bed.wav" -c 2 "$work/film.wav" trim 0 "$seconds"
ffmpeg -loglevel error -nostdin -y -f lavfi -i "color=c=black:s=64x36:r=5:d=$seconds" -i "$work/film.wav" \
  -c:v mpeg4 -q:v 10 -c:a ac3 -b:a 192k -shortest "$out.mkv"
