#!/usr/bin/env bash
# make windows: the Windows program, cross-built here with MinGW-w64 against a Qt built from
# Debian's sources (once, into a cache outside the tree), then gathered into
#   dist/tirvelon-<version>-windows-x64.zip   and   dist/tirvelon-<version>-setup.exe
#   build.sh [build folder] [dist folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-windows}
dist=${2:-$root/dist}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

"$root/tools/install-deps.sh" windows
start=$SECONDS
qt=$("$here/build-qt.sh" | tail -n 1)
echo "build.sh: Qt for MinGW-w64 ready in $((SECONDS - start)) s: $qt"

# The same tree as the Linux build; Qt's toolchain file chains to the MinGW one kept in the
# prefix. Warnings are errors here: the Windows-only code is compiled by nothing else.
"$qt/bin/qt-cmake" -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build" --parallel "$jobs"
"$here/package.sh" "$build" "$qt" "$dist"
