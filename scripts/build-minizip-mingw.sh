#!/usr/bin/env bash
# Builds minizip (zip writing only) for 64-bit Windows from the contrib folder
# of Debian's zlib source package, against the MinGW zlib, into PREFIX.
# Cached: does nothing when PREFIX holds it.
# Usage: build-minizip-mingw.sh WORKDIR PREFIX
set -euo pipefail
work=$(realpath -m "$1") prefix=$(realpath -m "$2")

if [ -f "$prefix/lib/libminizip.a" ] && [ -f "$prefix/include/minizip/zip.h" ]; then
  exit 0
fi

source "$(dirname "$0")/debian-source.sh"
mkdir -p "$work"
cd "$work"
src=$(fetch_debian_source zlib 'zlib-*')

echo "Building minizip for Windows from $src..."
mini="$src/contrib/minizip"
mkdir -p "$prefix/lib" "$prefix/include/minizip" obj
for file in zip ioapi; do
  x86_64-w64-mingw32-gcc -O2 -c "$mini/$file.c" -o "obj/$file.o" -DNOCRYPT=0 -w
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libminizip.a" obj/zip.o obj/ioapi.o
cp "$mini/zip.h" "$mini/ioapi.h" "$prefix/include/minizip/"
