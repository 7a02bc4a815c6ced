#!/usr/bin/env bash
# Remakes every committed asset: the font and its licence, the recordings and the start-up chime
# (Data/), the pictures and icons (resources/) and the icon theme's icons (packaging/icons/).
# Usage: tools/assets/make-assets.sh [--preview DIR]   (DIR receives copies of the pictures x2)
# The picture program is built on its own, in $TIRVELON_ASSETS_BUILD (default build-assets-tool).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${TIRVELON_ASSETS_BUILD:-$root/build-assets-tool}
preview=()
if [ "${1:-}" = "--preview" ]; then
  [ -n "${2:-}" ] || { echo "usage: $0 [--preview DIR]" >&2; exit 2; }
  preview=(--preview "$2")
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/make-font.sh"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_pictures -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/make_pictures" --font "$root/Data/KCOURK.Fnt" \
  --out "$root/resources" --icon-sizes "$work/icon" --theme-icons "$root/packaging/icons" \
  "${preview[@]}"

# The Windows icon holds the three sizes drawn for it, not one picture scaled.
convert "$work/icon/icon-16.png" "$work/icon/icon-32.png" "$work/icon/icon-48.png" \
  "$root/resources/tirvelon.ico"

"$here/make-recordings.sh"

du -ch "$root/Data"/* | tail -1 | sed 's/total/Data folder in all/'
