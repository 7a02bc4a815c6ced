#!/usr/bin/env bash
# Builds the Qt that the Windows program is cross-compiled against: qtbase for MinGW-w64, from
# Debian's source package of the same Qt version as the host tools (moc, rcc, uic) that the
# cross build runs. The program plays its sounds with miniaudio, so no Qt Multimedia.
#
#   build-qt.sh            build it unless it is already there; print its folder last
#   build-qt.sh --prefix   print the folder it lives (or would live) in, build nothing
#   build-qt.sh --check    exit 0 when a complete build is there, 1 otherwise
#
# The result lives outside the tree, under ${TIRVELON_CACHE:-~/.cache/tirvelon}, in a folder
# named by the Qt version and a digest of this script and the toolchain file (whole-line comments
# left out), so any other change to either builds a new one. A folder is trusted only when its
# stamp file exists, and the stamp is the last thing written: a build that stops half way is
# removed and redone by the next run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${TIRVELON_CACHE:-$HOME/.cache/tirvelon}
toolchain_src=$here/mingw64-toolchain.cmake
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

host_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }
base_version=$(host_version qt6-base-dev-tools)
qt_version=${base_version%%+*}
qt_version=${qt_version%%-*}

# Whole-line comments do not count: a corrected comment must not cost a 45-minute rebuild.
key=$(grep -hv '^[[:space:]]*#' "$0" "$toolchain_src" | sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-mingw64-$key
stamp=$prefix/.tirvelon-complete

case "${1:-}" in
--prefix)
  echo "$prefix"
  exit 0
  ;;
--check)
  [ -f "$stamp" ]
  exit $?
  ;;
esac

if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

fail() {
  echo "build-qt.sh: $*" >&2
  exit 1
}

[ -n "$base_version" ] || fail "qt6-base-dev-tools is not installed (tools/install-deps.sh windows)"
command -v x86_64-w64-mingw32-g++-posix >/dev/null || fail "the MinGW-w64 posix compiler is missing"

work=$cache/work-$key
rm -rf "$prefix" "$work"
mkdir -p "$work" "$cache"

# Every stage logs to a file of its own; a failing stage prints the end of its log.
stage() {
  local name=$1
  shift
  local log=$work/$name.log
  local start=$SECONDS
  echo "build-qt.sh: $name ..." >&2
  if ! "$@" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    fail "$name failed (whole log: $log)"
  fi
  echo "build-qt.sh: $name done in $((SECONDS - start)) s" >&2
}

# --- Sources: Debian's source package, fetched with the machine's own mirrors turned into
# deb-src entries in a private apt configuration (the system's is left alone).
fetch_sources() {
  local apt=$work/apt
  mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache/archives/partial"
  local n=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt/parts/src$n.sources"
    n=$((n + 1))
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb[[:space:]]+/deb-src /p' /etc/apt/sources.list >"$apt/parts/src.list"
  fi
  local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
  apt-get "${opts[@]}" update
  mkdir -p "$work/src"
  cd "$work/src"
  apt-get "${opts[@]}" source --download-only "qt6-base=$base_version"
  for dsc in *.dsc; do
    dpkg-source --no-check -x "$dsc"
  done
}
stage sources fetch_sources

src_of() {
  local d
  d=$(find "$work/src" -maxdepth 1 -type d -name "$1-*" | head -n 1)
  [ -n "$d" ] || fail "no source folder for $1"
  echo "$d"
}
base_src=$(src_of qt6-base)

# The toolchain file is kept inside the prefix: Qt's own toolchain file records its path, and
# the checkout this script ran from may be gone when the Qt is used.
mkdir -p "$prefix"
cp "$toolchain_src" "$prefix/mingw64-toolchain.cmake"

configure_base() {
  cmake -G Ninja -S "$base_src" -B "$work/build-base" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw64-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_system_libb2=OFF -DFEATURE_system_sqlite=OFF \
    -DFEATURE_system_textmarkdownreader=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_vulkan=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_freetype=OFF -DFEATURE_tabletevent=OFF
  # The dfsg source has no wintab.h, which the tablet support of the Windows plugin needs.
  # Direct2D stays on: in 6.4 the DirectWrite font database is compiled only with it. The Windows
  # platform plugin still draws text through its GDI font database unless the program is started
  # with -platform windows:fontengine=directwrite; the program does not ask for it.
}
stage qtbase-configure configure_base
stage qtbase-build cmake --build "$work/build-base" --parallel "$jobs"
stage qtbase-install cmake --install "$work/build-base"

for f in bin/qt-cmake bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Network.dll \
  bin/Qt6Test.dll plugins/platforms/qwindows.dll; do
  [ -f "$prefix/$f" ] || fail "the build installed no $f"
done

rm -rf "$work"
date -u +%Y-%m-%dT%H:%M:%SZ >"$stamp"
echo "$prefix"
