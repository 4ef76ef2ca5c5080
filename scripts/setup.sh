#!/usr/bin/env bash
# Installs what building and testing Tockwen needs on Debian 12, when it is missing.
# Needs root (or sudo) only when something has to be installed.
set -euo pipefail

# fonts-wine: Wine draws the caption buttons (the close box's x) with its Marlett font
packages=(
    cmake make ninja-build clang libclang-rt-14-dev googletest libbenchmark-dev clang-format
    zip unzip nsis python3-yaml
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
    pulseaudio pulseaudio-utils fonts-nanum fonts-wine procps
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing what is missing, once on this machine (a minute or two): ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# 32-bit Wine needs the i386 architecture
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
