#!/usr/bin/env bash
# Puts the private font into Data/: Noto Naskh Arabic Regular (SIL OFL 1.1) under the file name
# the program loads, with its licence beside it, and checks that it covers every Sorani letter
# the captions use, since a missing glyph would show as a box in the Kurdish interface.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
source_font=/usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf
copyright=/usr/share/doc/fonts-noto-core/copyright
data="$root/Data"

for f in "$source_font" "$copyright"; do
  [ -r "$f" ] || { echo "missing $f (package fonts-noto-core)" >&2; exit 1; }
done
mkdir -p "$data"

# Letters of Sorani that Arabic lacks, plus the Persian letters Sorani shares.
required=(0695 06B5 06C6 06CE 06D5 06BE 06A4 06AF 0686 067E 0698 06CC)
charset=$(fc-query --format '%{charset}' "$source_font")
covers() {
  local cp=$((16#$1)) range lo hi
  for range in $charset; do
    lo=${range%-*}
    hi=${range#*-}
    if ((cp >= 16#$lo && cp <= 16#$hi)); then
      return 0
    fi
  done
  return 1
}
for cp in "${required[@]}"; do
  covers "$cp" || { echo "$source_font lacks U+$cp" >&2; exit 1; }
done

cp "$source_font" "$data/KCOURK.Fnt"

# The licence: the copyright line of the font files and the OFL text, taken from the Debian
# copyright file (deb822 continuation lines: one leading space, "." for an empty line).
{
  echo "KCOURK.Fnt is the font Noto Naskh Arabic Regular, unchanged, under another file name."
  echo
  echo "Copyright 2010, 2012-2020 Google Inc.; 2015-2020 Google LLC."
  echo
  echo "This Font Software is licensed under the SIL Open Font License, Version 1.1."
  echo "This license is copied below, and is also available with a FAQ at:"
  echo "https://openfontlicense.org"
  echo
  echo "SIL OPEN FONT LICENSE Version 1.1 - 26 February 2007"
  echo
  awk '
    /^License: OFL-1.1$/ { body = 1; next }
    body && /^ / { sub(/^ /, ""); if ($0 == ".") $0 = ""; print; printed = 1; next }
    body && printed { exit }
    { body = 0 }
  ' "$copyright"
} >"$data/KCOURK-LICENSE.txt"

# The licence paragraphs under "Files:" only name the licence; the standalone one holds the text.
if ! grep -q "PERMISSION & CONDITIONS" "$data/KCOURK-LICENSE.txt"; then
  echo "the licence text was not found in $copyright" >&2
  exit 1
fi
echo "font: $data/KCOURK.Fnt ($(stat -c %s "$data/KCOURK.Fnt") bytes), covers ${required[*]}"
