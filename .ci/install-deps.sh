#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the main job need.
# Idempotent: packages already present are left alone.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
pkgs=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix googletest xvfb msitools cabextract gcab
      zip unzip lhasa xdelta3 python3-pyftpdlib fp-compiler libz-mingw-w64-dev cmake ninja-build
      g++ imagemagick x11-apps wixl iproute2 python3-html5lib)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  missing+=(wine32:i386)
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
