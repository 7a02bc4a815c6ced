#!/usr/bin/env bash
# Makes the Debian package of an already built tree with CPack and copies it into a folder.
# Usage: tools/package/make-deb.sh BUILD OUT   (prints the path of OUT/tirvelon_<version>_amd64.deb)
# CPack stages the tree and runs dpkg-shlibdeps in a fresh folder under BUILD, removed afterwards:
# no file of an earlier run can end up in the package.
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 BUILD OUT" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=$2
[ -f "$build/CPackConfig.cmake" ] || { echo "$build: no CPackConfig.cmake (not a Linux build?)" >&2; exit 1; }

work=$(mktemp -d "$build/package.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
if ! (cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
debs=("$work"/tirvelon_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "cpack made no single package:" >&2
  cat "$work/cpack.log" >&2
  exit 1
fi
cp "${debs[0]}" "$out/"
echo "$(cd "$out" && pwd)/$(basename "${debs[0]}")"
