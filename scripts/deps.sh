#!/usr/bin/env bash
# Installs what building and testing Keyvane needs, from Debian's archive, when it is missing.
# Uses sudo when not run as root. Safe to run again: installed packages are left alone.
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev python3 clang clang-format clang-tidy libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xdotool x11-xserver-utils x11-utils
          imagemagick ghostscript nsis)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
# libclang-rt-14-dev is named after the clang version; fall back to whatever clang brings.
if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  missing=("${missing[@]/libclang-rt-14-dev/}")
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends ${missing[@]} >/dev/null
fi
