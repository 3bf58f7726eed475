#!/usr/bin/env bash
# Installs what building and testing Tapvane2 needs on Debian 12, as root.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix   # posix threads: GoogleTest needs std::mutex
  wine wine32:i386 xvfb x11-utils xdotool imagemagick
  fonts-wqy-microhei fonts-wine
  googletest cmake ninja-build g++ clang libclang-rt-14-dev
  python3
)

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  need_update=1
fi
if [ "$need_update" = 1 ]; then
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
