#!/bin/bash
# Installs everything the build and the tests need on a Debian 12 machine (run as root).
# Safe to run again: apt skips what is already there.
set -euo pipefail

need_packages=(
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils xdotool xclip imagemagick fonts-wqy-microhei fonts-liberation
  cmake ninja-build g++ googletest clang libclang-rt-14-dev
)

missing=()
for p in "${need_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
timeout 900 apt-get update -q
timeout 2400 apt-get install -y -q --no-install-recommends "${missing[@]}"
