#!/usr/bin/env bash
# Installs everything the native build, the Windows cross build and the tests
# need on a Debian 12 machine. Safe to run again: it does nothing when all is there.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xauth
  libzip-dev zlib1g-dev rapidjson-dev libminizip-dev
  libgtest-dev libbenchmark-dev
  zip unzip nodejs python3 dpkg-dev imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The Windows build compiles libzip from Debian's own source package, so the
# source archive must be reachable as well.
src_list=/etc/apt/sources.list.d/vantrel-deb-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  $SUDO tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
