#!/usr/bin/env bash
# Gathers the cross-built program with everything it needs into a folder that runs anywhere,
# then zips it and wraps it in the installer.
#
#   package.sh <windows build folder> <Qt prefix> <dist folder>
#
# What goes in is found by rule, not listed by hand: the Qt plugins follow the Qt modules the
# program links (Gui: the platform plugin; Widgets: the styles), and
# the DLLs are the closure of the program's and the plugins' imports (objdump -p), each taken
# from the Qt prefix or the MinGW runtime. An import found in neither must be one that Windows
# itself provides (Wine carries the same set); anything else stops the packaging.
set -euo pipefail

build=$(cd "$1" && pwd)
qt=$(cd "$2" && pwd)
dist=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
exe=$build/bin/tirvelon.exe
[ -f "$exe" ] || fail "$exe is not built"

name=tirvelon-$version-windows-x64
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
zip=$dist/$name.zip
setup=$dist/tirvelon-$version-setup.exe
# A build that fails leaves no release behind, not even the previous one.
rm -f "$zip" "$setup"

# Signed or not is decided, and the certificate and its password checked, before anything is
# gathered: a wrong password stops here, not halfway through the files.
if [ -n "${TIRVELON_SIGN_CERT:-}" ] && [ "${TIRVELON_SIGN_CERT#/}" = "$TIRVELON_SIGN_CERT" ]; then
  # makensis runs its signing commands from the script's folder: the path must not be relative.
  TIRVELON_SIGN_CERT=$PWD/$TIRVELON_SIGN_CERT
  export TIRVELON_SIGN_CERT
fi
"$here/sign.sh" --check >&2
signing=${TIRVELON_SIGN_CERT:-}

stage=$dist/$name
rm -rf "$stage"
mkdir -p "$stage"

objdump=x86_64-w64-mingw32-objdump
strip=x86_64-w64-mingw32-strip
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_runtime" /usr/x86_64-w64-mingw32/lib)
wine_system=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

imports() {
  "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'
}

find_dll() {
  local dll=$1 dir
  for dir in "${search[@]}"; do
    if [ -f "$dir/$dll" ]; then
      echo "$dir/$dll"
      return 0
    fi
  done
  return 1
}

is_system_dll() {
  local lower
  lower=$(echo "$1" | tr '[:upper:]' '[:lower:]')
  case "$lower" in
  api-ms-win-* | ext-ms-win-*) return 0 ;;
  esac
  [ -f "$wine_system/$lower" ]
}

declare -A copied=()
queue=()

# Copies one file into the stage and queues its imports.
add_binary() {
  local src=$1 dest=$2
  mkdir -p "$(dirname "$stage/$dest")"
  cp "$src" "$stage/$dest"
  "$strip" --strip-unneeded "$stage/$dest"
  queue+=("$stage/$dest")
}

add_binary "$exe" tirvelon.exe

# Plugins by module: the folder of each plugin kind the linked modules load at run time.
declare -A plugin_dirs=(
  [Qt6Gui.dll]="platforms imageformats"
  [Qt6Widgets.dll]="styles"
)
# Image formats the program reads: those of the pictures compiled into it (resources/), PNG
# today, which Qt Gui reads itself; a format added later brings its plugin along.
picture_formats=$(sed -n '/qt_add_resources/,/)/p' "$root/resources/CMakeLists.txt" |
  grep -oE '[A-Za-z0-9_]+\.[A-Za-z]+' | sed 's/.*\.//' | tr '[:upper:]' '[:lower:]' | sort -u)
[ -n "$picture_formats" ] || fail "no compiled-in pictures found in resources/CMakeLists.txt"

declare -A linked=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(imports "$file"); do
    key=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    [ -z "${copied[$key]:-}" ] || continue
    if path=$(find_dll "$dll"); then
      copied[$key]=1
      linked[$dll]=1
      add_binary "$path" "$dll"
      for kind in ${plugin_dirs[$dll]:-}; do
        [ -d "$qt/plugins/$kind" ] || continue
        for plugin in "$qt/plugins/$kind"/*.dll; do
          [ -f "$plugin" ] || continue
          base=$(basename "$plugin" .dll)
          if [ "$kind" = imageformats ]; then
            # qico.dll reads .ico, qjpeg.dll .jpg and so on: only formats the program uses.
            format=${base#q}
            echo "$picture_formats" | grep -qx "$format" || continue
          fi
          if [ "$kind" = platforms ] && [ "$base" != qwindows ]; then
            continue # the minimal platform is for tests, not for users
          fi
          add_binary "$plugin" "$kind/$base.dll"
        done
      done
    elif is_system_dll "$dll"; then
      copied[$key]=system
    else
      fail "$(basename "$file") imports $dll, which is neither in the Qt prefix, nor in the MinGW runtime, nor a Windows DLL"
    fi
  done
done

for needed in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll; do
  [ -f "$stage/$needed" ] || fail "$needed did not reach the package"
done

# The data folder, exactly as the build put it beside the program.
cp -r "$build/bin/Data" "$stage/Data"

# Licence texts of what ships: the program's own font (in Data), Qt's LGPL and the notices of
# the third-party code inside Qt (Debian's copyright files of the same sources), miniaudio
# (compiled into the program), the MinGW runtime (GCC's runtime library exception, winpthreads).
licences=$stage/licences
mkdir -p "$licences"
cp /usr/share/common-licenses/LGPL-3 "$licences/Qt-LGPL-3.0.txt"
cp /usr/share/common-licenses/GPL-3 "$licences/GPL-3.0.txt"
cp /usr/share/doc/libqt6core6/copyright "$licences/Qt-base-notices.txt"
cp "$root/third_party/miniaudio/LICENSE" "$licences/miniaudio-LICENSE.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licences/MinGW-GCC-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$licences/MinGW-w64-runtime.txt"
cp "$root/Data/KCOURK-LICENSE.txt" "$licences/KCOURK-font-OFL.txt"
cat >"$licences/README.txt" <<EOF
Tirvelon $version for Windows

Qt $(basename "$qt" | cut -d- -f2) (Qt6*.dll and the plugin folders) is used under the GNU Lesser
General Public License version 3 (Qt-LGPL-3.0.txt, which builds on GPL-3.0.txt); its source is
Debian's qt6-base source package of that version, and the notices of the code it bundles are
in Qt-base-notices.txt. The Qt DLLs can be replaced with other builds of the same version.

The sound is played with miniaudio $(sed -n 's/^miniaudio - v\([0-9.]*\) .*/\1/p' "$root/third_party/miniaudio/miniaudio.h") by David Reid, compiled into tirvelon.exe, under
the public domain (Unlicense) or MIT No Attribution, at the user's choice
(miniaudio-LICENSE.txt).

libstdc++-6.dll and libgcc_s_seh-1.dll come from GCC under the GPL with the GCC Runtime Library
Exception, libwinpthread-1.dll from MinGW-w64 (MinGW-*.txt).

Data/KCOURK.Fnt is Noto Naskh Arabic under the SIL Open Font License (KCOURK-font-OFL.txt).
EOF

echo "package.sh: $(find "$stage" -name '*.dll' | wc -l) DLLs gathered:" >&2
(cd "$stage" && find . -name '*.dll' | sort | sed 's/^/  /') >&2

# Signed after strip (which would break the signature) and before the zip and the installer
# take their copies. NSIS signs the uninstaller it writes and the installer through sign.sh.
nsis_sign=()
if [ -n "$signing" ]; then
  mapfile -d '' binaries < <(find "$stage" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0 | sort -z)
  if ! "$here/sign.sh" "${binaries[@]}"; then
    rm -rf "$stage" # half signed: not to be mistaken for a release
    fail "signing failed: no release written"
  fi
  echo "package.sh: ${#binaries[@]} files signed" >&2
  nsis_sign=(-DSIGN="$here/sign.sh")
fi

(cd "$dist" && zip -q -r -X "$zip" "$name")

if ! makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
  -DICON="$root/resources/tirvelon.ico" "${nsis_sign[@]}" "$here/installer.nsi"; then
  rm -f "$zip" "$setup"
  fail "makensis failed: no release written"
fi
[ -f "$setup" ] || fail "makensis wrote no $setup"

ls -l "$zip" "$setup" | awk '{print "package.sh: " $5 " bytes  " $NF}' >&2
