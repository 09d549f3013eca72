#!/bin/bash
# Installs the Debian packages the build, the sample host and the tests need,
# but only those that are missing (so a second run costs nothing).
set -eu
packages=(
    wine64 wine64-tools libwine-dev          # Winelib compilers, headers, runtime
    libmagick++-6.q16-dev imagemagick        # Magick++ (and convert for samples)
    xvfb xauth                               # a real X server in memory
    cmake g++ make pkg-config libgtest-dev   # build and GoogleTest sources
    libminizip-dev zlib1g-dev                # zip companion
    gcc-mingw-w64-x86-64                     # PE stand-ins of outside DLLs
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # the Windows
    libz-mingw-w64-dev                                   # compile check
)
missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
