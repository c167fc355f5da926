#!/usr/bin/env bash
# Builds a static libzip for 64-bit Windows from Debian's source package,
# against the MinGW zlib, into PREFIX. Cached: does nothing when PREFIX holds it.
# Usage: build-libzip-mingw.sh WORKDIR PREFIX TOOLCHAIN_FILE
set -euo pipefail
work=$1 prefix=$2 toolchain=$3

if [ -f "$prefix/lib/libzip.a" ] && [ -f "$prefix/include/zip.h" ]; then
  exit 0
fi

source "$(dirname "$0")/debian-source.sh"
mkdir -p "$work"
cd "$work"
src=$(fetch_debian_source libzip 'libzip-*')

echo "Building libzip for Windows from $src..."
cmake -S "$src" -B build-mingw -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_WINDOWS_CRYPTO=ON \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
  -DENABLE_GNUTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF \
  -DENABLE_COMMONCRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
  >build-mingw.log 2>&1 || { cat build-mingw.log; exit 1; }
cmake --build build-mingw -j"$(nproc)" >>build-mingw.log 2>&1 || { tail -n 50 build-mingw.log; exit 1; }
cmake --install build-mingw >>build-mingw.log 2>&1
