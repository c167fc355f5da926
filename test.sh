#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both targets, then the
# native unit tests (also under AddressSanitizer/UBSan), the page-script
# tests, the fuzz targets for a bounded time and the Windows tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
bash scripts/build.sh --sanitize

echo "== Native unit tests"
ctest --test-dir build/native --output-on-failure -j"$(nproc)"

echo "== Native unit tests under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions="$root/tests/unit/lsan.supp" \
  build/native-asan/tests/unit/vantrel_unit_tests --gtest_brief=1

if compgen -G "tests/js/*.test.mjs" >/dev/null; then
  echo "== Page-script tests"
  node --test tests/js/
fi

echo "== Coverage-guided fuzzing (each target ${VANTREL_FUZZ_SECONDS:-30}s)"
bash scripts/fuzz.sh "${VANTREL_FUZZ_SECONDS:-30}"

echo "== Windows tests under Wine"
bash tests/wine/run-all.sh
