#!/usr/bin/env bash
# Makes the placeholder recordings of Data/: one spoken call to prayer per muezzin (0.mp3..6.mp3),
# the dawn call (7.mp3) and the start-up chime (Wave.wav). An installation replaces the calls with
# real recordings of the same names; these only have to sound like a call and tell the voices apart.
# Every file is brought to about -16 LUFS integrated loudness with a true peak of at most
# -1.5 dBTP (EBU R 128 measurement by ffmpeg), so that the stand-ins are heard at the default
# volume as a real recording would be.
# Needs espeak-ng (Arabic voice), sox, lame and ffmpeg. The output is the same on every run.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
data="$root/Data"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$data"

for tool in espeak-ng sox lame ffmpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

# The phrases of the call, vowelled so that the Arabic voice reads them as they are called.
takbir="اللَّهُ أَكْبَرُ، اللَّهُ أَكْبَر"
tawhid="أَشْهَدُ أَنْ لا إِلَٰهَ إِلَّا اللَّه"
risala="أَشْهَدُ أَنَّ مُحَمَّدًا رَسُولُ اللَّه"
salat="حَيَّ عَلَى الصَّلاة"
falah="حَيَّ عَلَى الفَلاح"
fajr="الصَّلاةُ خَيْرٌ مِنَ النَّوْم"
closing="لا إِلَٰهَ إِلَّا اللَّه"

call=("$takbir" "$takbir" "$tawhid" "$tawhid" "$risala" "$risala" "$salat" "$salat"
  "$falah" "$falah")
dawn_call=("${call[@]}" "$fajr" "$fajr")
call+=("$takbir" "$closing")
dawn_call+=("$takbir" "$closing")

# A called phrase rises on its repetition and settles at the end; these pitch steps (added to the
# voice's own pitch) give the spoken text a little of that shape.
contour=(0 8 0 8 4 12 4 12 6 14 6 14 0 -4)

TARGET_LUFS=-16
TARGET_TP=-1.5

# loudness <file>: "integrated-LUFS true-peak-dBTP" as ffmpeg's EBU R 128 meter reads them
loudness() {
  ffmpeg -hide_banner -nostats -i "$1" -af ebur128=peak=true -f null - 2>&1 |
    awk '/Summary:/ { s = 1 } s && $1 == "I:" { i = $2 } s && $1 == "Peak:" { p = $2 }
         END { print i, p }'
}

# normalise <in.wav> <out> <rate> <encode>: one gain to the target loudness, then a limiter at
# -2.3 dBFS on a four times oversampled signal, so that the encoded file's true peak stays under
# the ceiling; then <encode> <wav> <out> makes the file. The limiter and the encoder's low-pass
# take a little loudness, which the next pass's gain, measured on the encoded file, gives back.
normalise() {
  local gain=0 pass measured
  for pass in 1 2 3 4 5; do
    ffmpeg -hide_banner -nostats -loglevel error -y -i "$1" \
      -af "volume=${gain}dB,aresample=$((4 * $3)),alimiter=limit=0.77:attack=1:release=60:level=disabled,aresample=$3" \
      -c:a pcm_s16le "$work/normalised.wav"
    "$4" "$work/normalised.wav" "$2"
    measured=$(loudness "$2")
    gain=$(awk -v g="$gain" -v i="${measured% *}" -v t="$TARGET_LUFS" 'BEGIN { print g + t - i }')
  done
}

# speak <variant> <pitch> <speed> <phrase index> <text> <out.wav>
speak() {
  local pitch=$(($2 + contour[$4 % ${#contour[@]}]))
  espeak-ng -v "ar+$1" -p "$pitch" -s "$3" -g 6 -w "$6" "$5"
}

# encode_mp3 <in.wav> <out.mp3>
encode_mp3() {
  lame --quiet -m m -b 48 --resample 22.05 \
    --tt "Placeholder call $(basename "$2" .mp3)" --ta "Tirvelon" \
    --tc "placeholder: replace with a real recording" "$1" "$2"
}

# make_call <file> <variant> <pitch> <speed> <pause s> <reverb %> <phrases...>
make_call() {
  local out=$1 variant=$2 pitch=$3 speed=$4 pause=$5 reverb=$6
  shift 6
  local parts=() i=0 phrase
  for phrase in "$@"; do
    speak "$variant" "$pitch" "$speed" "$i" "$phrase" "$work/p$i.wav"
    # each phrase followed by the breath of a muezzin
    sox -R "$work/p$i.wav" "$work/q$i.wav" pad 0 "$pause"
    parts+=("$work/q$i.wav")
    i=$((i + 1))
  done
  sox -R "${parts[@]}" -r 22050 -c 1 "$work/call.wav" \
    highpass 90 pad 0.4 0 reverb "$reverb" 50 80 gain -n -1 fade 0.05 0 0.6 rate 22050
  normalise "$work/call.wav" "$out" 22050 encode_mp3
  report "$out" "$work/call.wav"
}

# report <file> <before normalising>
report() {
  local before after
  before=$(loudness "$2")
  after=$(loudness "$1")
  printf '%s: %.1f s, %s LUFS / %s dBTP before, %s LUFS / %s dBTP after\n' "$(basename "$1")" \
    "$(soxi -D "$1")" ${before% *} ${before#* } ${after% *} ${after#* }
  awk -v i="${after% *}" -v p="${after#* }" -v t="$TARGET_LUFS" -v c="$TARGET_TP" \
    'BEGIN { exit !(i >= t - 0.5 && i <= t + 0.5 && p <= c) }' ||
    { echo "$(basename "$1") misses $TARGET_LUFS LUFS / $TARGET_TP dBTP" >&2; exit 1; }
}

# One voice per muezzin index: espeak variant, base pitch, words per minute, pause, reverb.
make_call "$data/0.mp3" m1 38 118 0.55 45 "${call[@]}"
make_call "$data/1.mp3" m2 50 128 0.45 25 "${call[@]}"
make_call "$data/2.mp3" m3 26 108 0.65 55 "${call[@]}"
make_call "$data/3.mp3" m4 58 136 0.40 20 "${call[@]}"
make_call "$data/4.mp3" m5 44 122 0.50 35 "${call[@]}"
make_call "$data/5.mp3" m6 32 112 0.60 65 "${call[@]}"
make_call "$data/6.mp3" m7 54 130 0.45 30 "${call[@]}"
make_call "$data/7.mp3" m3 36 112 0.55 60 "${dawn_call[@]}"

# The start-up chime: a rising major triad of bell-like tones (a sine and its soft octave), each
# fading out, the last one held longest.
note() { # note <out> <frequency> <start s> <length s>
  local octave
  octave=$(awk -v f="$2" 'BEGIN { print f * 2 }')
  sox -R -n -r 44100 -c 2 "$1" synth "$4" sine "$2" sine "$octave" \
    remix 1v0.8,2v0.2 fade l 0.005 "$4" "$(awk -v l="$4" 'BEGIN { print l - 0.01 }')" \
    gain -6 pad "$3" 0
}
note "$work/n1.wav" 659.25 0.00 0.9
note "$work/n2.wav" 783.99 0.18 0.9
note "$work/n3.wav" 1046.50 0.36 1.14
sox -R -m "$work/n1.wav" "$work/n2.wav" "$work/n3.wav" -c 1 -b 16 "$work/chime.wav" \
  gain -n -3 fade 0 0 0.4
normalise "$work/chime.wav" "$data/Wave.wav" 44100 cp
report "$data/Wave.wav" "$work/chime.wav"
