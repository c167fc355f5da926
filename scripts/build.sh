#!/usr/bin/env bash
# Installs what is missing, then builds both targets:
#   build/native   the portable core, unit tests, benchmarks and vantrel-pack (Linux)
#   build/windows  VantrelRuntime.exe, vantrel-pack.exe and the Windows test programs (MinGW-w64)
# Extra arguments: "--sanitize" also builds build/native-asan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/install-deps.sh

bash scripts/build-libzip-mingw.sh "$root/build/deps/libzip-src" "$root/build/deps/libzip-mingw" \
  "$root/cmake/mingw-w64-x86_64.cmake"

bash scripts/build-minizip-mingw.sh "$root/build/deps/zlib-src" "$root/build/deps/minizip-mingw"

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"

cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVANTREL_LIBZIP_PREFIX="$root/build/deps/libzip-mingw" \
  -DVANTREL_MINIZIP_PREFIX="$root/build/deps/minizip-mingw" >/dev/null
cmake --build build/windows -j"$jobs"

if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/build-minizip-mingw.sh "$root/build/deps/zlib-src" "$root/build/deps/minizip-mingw"

cmake -S . -B build/native-asan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON >/dev/null
  cmake --build build/native-asan -j"$jobs" --target vantrel_unit_tests
fi
