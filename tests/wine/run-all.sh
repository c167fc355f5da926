#!/usr/bin/env bash
# Runs every tests/wine/*_test.sh under one Wine prefix and display. Each test
# is a shell function named test_*; prints "N passed, N failed" at the end.
# An argument runs only the tests whose names contain it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh"
source "$here/lib.sh"

wine_env_start
trap wine_env_stop EXIT
mkdir -p "$WORK"
# Per-application folders of earlier runs hold loader libraries of earlier builds.
rm -rf "$(wine_local_appdata)"/com.vantrel.*

passed=0 failed=0 failures=()
for file in "$here"/*_test.sh; do
  source "$file"
done
for t in $(declare -F | awk '{print $3}' | grep '^test_' | grep -F -- "${1:-}"); do
  start=$(date +%s)
  # Not in an "if": errexit must stay in force inside the test's subshell.
  set +e
  ( set -e; "$t" )
  rc=$?
  set -e
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
    echo "  ok   $t ($(( $(date +%s) - start ))s)"
  else
    failed=$((failed + 1))
    failures+=("$t")
    echo "  FAIL $t"
  fi
done
[ "$failed" -eq 0 ] || printf 'Failed: %s\n' "${failures[*]}"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
