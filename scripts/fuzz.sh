#!/usr/bin/env bash
# Builds the coverage-guided fuzz targets (clang, libFuzzer, AddressSanitizer,
# UBSan, the standard library's checks) and runs each: first over its kept
# corpus (seeds and reproducers of past findings), then fuzzing for SECONDS
# (default 30). Fails on any finding; the input that caused it is left in
# build/fuzz/findings/. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-30}
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(package ini bridge icon resource_server pe_resources)

cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVANTREL_FUZZ=ON >/dev/null
cmake --build build/fuzz -j"$(nproc)" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions="$root/tests/fuzz/ubsan.supp"
mkdir -p build/fuzz/findings
passed=0 failed=0
for target in "${targets[@]}"; do
  # Absolute paths: a target may change its working folder.
  binary=$root/build/fuzz/tests/fuzz/fuzz_$target
  kept=$root/tests/fuzz/corpus/$target
  work=$root/build/fuzz/corpus/$target
  log=$root/build/fuzz/$target.log
  mkdir -p "$work"
  cp "$kept"/* "$work"/
  # The fuzzer ends itself after the time given; timeout is only a backstop.
  set +e
  timeout $((seconds + 120)) "$binary" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -artifact_prefix="$root/build/fuzz/findings/$target-" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
    echo "  ok   fuzz_$target (${runs:-?} runs in ${seconds}s, corpus $(ls "$work" | wc -l))"
  else
    failed=$((failed + 1))
    echo "  FAIL fuzz_$target (exit $rc):"
    grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -8 | sed 's/^/    /'
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
