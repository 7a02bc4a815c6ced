#!/usr/bin/env bash
# Installs the Debian packages that the build, the program and every test need.
# Only what is missing is installed; runs as root or through sudo.
#   install-deps.sh           the Linux build, the program and its tests
#   install-deps.sh windows   also the MinGW-w64 cross build, Wine, NSIS and osslsigncode
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libitl-dev
  # sound at run time: the client libraries miniaudio opens, and the tests' sound server
  libpulse0 libasound2 pulseaudio pulseaudio-utils
  # desktop for the end-to-end tests
  xvfb openbox trayer xdotool x11-utils wmctrl faketime
  dbus dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
  # do-not-disturb as GNOME keeps it (gsettings and its schema), read by the program at a call
  libglib2.0-bin gsettings-desktop-schemas
  # asset tools and checks
  imagemagick espeak-ng sox libsox-fmt-mp3 lame ffmpeg fonts-noto-core
)

# the Debian package and its checks: dpkg-shlibdeps computes its Depends for CPack; the
# validators of its desktop entry and metainfo, and lintian
packages+=(dpkg-dev desktop-file-utils appstream lintian)

if [ "${1:-}" = windows ]; then
  packages+=(
    # a Qt for MinGW-w64 from Debian's sources, and the cross build of the program
    dpkg-dev ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # packaging and the tests under Wine
    nsis zip unzip osslsigncode wine wine64 fonts-wine fonts-liberation tesseract-ocr tesseract-ocr-eng
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
else
  SUDO=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
