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
  osslsigncode openssl clang libclang-rt-14-dev
  chromium fonts-dejavu-core ffmpeg
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The Windows build compiles libzip and zlib's minizip from Debian's own source
# packages, so the source archives must be reachable too: from the mirrors
# this machine is configured with.
src_list=/etc/apt/sources.list.d/vantrel-deb-src.sources
need_update=0
wanted=$(bash "$(dirname "$0")/debian-source-list.sh")
if [ -z "$wanted" ]; then
  echo "install-deps: no Debian archive found in this machine's apt sources to fetch source packages from" >&2
  exit 1
fi
if [ ! -f "$src_list" ] || [ "$(cat "$src_list")" != "$wanted" ]; then
  printf '%s\n' "$wanted" | $SUDO tee "$src_list" >/dev/null
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
