#!/usr/bin/env bash
# Builds the Qt that the Windows program is cross-compiled against: qtbase, qtshadertools and
# qtmultimedia for MinGW-w64, from Debian's source packages of the same Qt version as the host
# tools (moc, rcc, uic, qsb) that the cross build runs.
#
#   build-qt.sh            build it unless it is already there; print its folder last
#   build-qt.sh --prefix   print the folder it lives (or would live) in, build nothing
#   build-qt.sh --check    exit 0 when a complete build is there, 1 otherwise
#
# The result lives outside the tree, under ${TIRVELON_CACHE:-~/.cache/tirvelon}, in a folder
# named by the Qt version and a digest of this script and the toolchain file, so any change to
# either builds a new one. A folder is trusted only when its stamp file exists, and the stamp
# is the last thing written: a build that stops half way is removed and redone by the next run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${TIRVELON_CACHE:-$HOME/.cache/tirvelon}
toolchain_src=$here/mingw64-toolchain.cmake
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

host_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }
base_version=$(host_version qt6-base-dev-tools)
shadertools_version=$(host_version qt6-shadertools-dev)
multimedia_version=$(host_version qt6-multimedia-dev)
qt_version=${base_version%%+*}
qt_version=${qt_version%%-*}

key=$(cat "$0" "$toolchain_src" | sha256sum | cut -c1-12)
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
[ -n "$shadertools_version" ] || fail "qt6-shadertools-dev is not installed"
[ -n "$multimedia_version" ] || fail "qt6-multimedia-dev is not installed"
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

# --- Sources: Debian's source packages, fetched with the machine's own mirrors turned into
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
  apt-get "${opts[@]}" source --download-only \
    "qt6-base=$base_version" "qt6-shadertools=$shadertools_version" \
    "qt6-multimedia=$multimedia_version"
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
shadertools_src=$(src_of qt6-shadertools)
multimedia_src=$(src_of qt6-multimedia)

# The toolchain file is kept inside the prefix: Qt's own toolchain file records its path, and
# the checkout this script ran from may be gone when the Qt is used.
mkdir -p "$prefix"
cp "$toolchain_src" "$prefix/mingw64-toolchain.cmake"

# Windows headers are spelled with capitals in the Qt Multimedia sources, while MinGW-w64
# ships them in lower case; a folder of aliases serves a case-sensitive file system.
aliases=$work/case-aliases
mkdir -p "$aliases"
mingw_include=/usr/x86_64-w64-mingw32/include
for h in Mferror Mfidl Mfreadwrite Wmcodecdsp Dbt InitGuid Functiondiscoverykeys_devpkey; do
  lower=$(echo "$h" | tr '[:upper:]' '[:lower:]')
  [ -f "$mingw_include/$lower.h" ] || fail "MinGW header $lower.h is missing"
  ln -sf "$mingw_include/$lower.h" "$aliases/$h.h"
done

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
  # Direct2D stays on: in 6.4 the DirectWrite font database is compiled only with it, while the
  # Windows platform plugin uses that database whenever DirectWrite 3 is there.
}
stage qtbase-configure configure_base
stage qtbase-build cmake --build "$work/build-base" --parallel "$jobs"
stage qtbase-install cmake --install "$work/build-base"

qt_cmake=$prefix/bin/qt-cmake
[ -x "$qt_cmake" ] || fail "qtbase installed no qt-cmake"

stage qtshadertools-configure "$qt_cmake" -G Ninja -S "$shadertools_src" \
  -B "$work/build-shadertools" -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
stage qtshadertools-build cmake --build "$work/build-shadertools" --parallel "$jobs"
stage qtshadertools-install cmake --install "$work/build-shadertools"

# Only the library and its Media Foundation plugin are used: the spatial audio module and the
# resonance-audio engine under it are left out.
sed -i -E 's/^add_subdirectory\(resonance-audio\)$/# resonance-audio: spatial audio only/' \
  "$multimedia_src/src/CMakeLists.txt"
sed -i -E 's/^(    add_subdirectory\(spatialaudio\))$/    add_subdirectory(resonance-audio)\n\1/' \
  "$multimedia_src/src/CMakeLists.txt"
# One include spelled after the class instead of its header.
sed -i 's/#include "QUrl.h"/#include <QtCore\/qurl.h>/' \
  "$multimedia_src/src/plugins/multimedia/windows/player/mfplayercontrol_p.h"
# The camera's still capture saves its file through Qt Concurrent, a module this Qt leaves out;
# the program takes no pictures, so the capture saves in its own thread instead.
sed -i -e '/#include <QtConcurrent\/qtconcurrentrun.h>/d' \
  -e 's/(void)QtConcurrent::run(&QWindowsImageCapture::saveImage, this,/saveImage(/' \
  "$multimedia_src/src/plugins/multimedia/windows/mediacapture/qwindowsimagecapture.cpp"
grep -q 'QtConcurrent' \
  "$multimedia_src/src/plugins/multimedia/windows/mediacapture/qwindowsimagecapture.cpp" &&
  fail "the still capture still uses Qt Concurrent"

wmf_libs=()
for lib in Mf Mfuuid Mfplat Mfcore Propsys; do
  lower=$(echo "$lib" | tr '[:upper:]' '[:lower:]')
  upper=$(echo "$lib" | tr '[:lower:]' '[:upper:]')
  file=/usr/x86_64-w64-mingw32/lib/lib$lower.a
  [ -f "$file" ] || fail "MinGW library $file is missing"
  wmf_libs+=("-DWMF_${upper}_LIBRARY=$file")
done

stage qtmultimedia-configure "$qt_cmake" -G Ninja -S "$multimedia_src" \
  -B "$work/build-multimedia" -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="-I$aliases" \
  "${wmf_libs[@]}" -DFEATURE_wmf=ON -DFEATURE_ffmpeg=OFF -DFEATURE_spatialaudio=OFF
stage qtmultimedia-build cmake --build "$work/build-multimedia" --parallel "$jobs"
stage qtmultimedia-install cmake --install "$work/build-multimedia"

for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Network.dll \
  bin/Qt6Multimedia.dll bin/Qt6Test.dll plugins/platforms/qwindows.dll \
  plugins/multimedia/windowsmediaplugin.dll; do
  [ -f "$prefix/$f" ] || fail "the build installed no $f"
done

rm -rf "$work"
date -u +%Y-%m-%dT%H:%M:%SZ >"$stamp"
echo "$prefix"
