# Helpers for the Windows tests: build packaged programs and run them under
# Wine with their dialogs recorded and answered (see dialog_automation.h).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
RUNTIME="$ROOT/build/windows/runtime/VantrelRuntime.exe"
PACK="$ROOT/build/native/tools/pack/vantrel-pack"
PASSWORD=tqzm7wavpe1kxcyh5bfl2gujrs8dmw6hqa0z
WORK="$ROOT/build/wine/work"
FAKE_LOADER="$ROOT/build/windows/engines/webview2/WebView2LoaderWin64.dll"
FAKE_INSTALLER="$ROOT/build/windows/tests/win32/fake_webview2_installer.exe"
SCREENSHOTS="$ROOT/build/screenshots"
# The fake loader reports an installed browser runtime unless a test says otherwise.
export FAKE_WEBVIEW2_VERSION=120.0.2210.91

fail() {
  echo "    FAIL: $*" >&2
  return 1
}

assert_eq() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: expected '$1', got '$2'"
}

assert_contains() {  # file text
  grep -qF -- "$2" "$1" || { fail "'$1' lacks: $2"; echo "    --- $1:" >&2; cat "$1" >&2 || true; return 1; }
}

# new_case NAME: a fresh folder for one test, in $CASE.
new_case() {
  CASE="$WORK/$1"
  rm -rf "$CASE"
  mkdir -p "$CASE/app"
  echo "<html><body>$1</body></html>" >"$CASE/app/index.html"
}

# new_demo_case NAME: like new_case, with a copy of the demo application as app.
new_demo_case() {
  new_case "$1"
  rm -rf "$CASE/app"
  cp -r "$ROOT/examples/demo/app" "$CASE/app"
}

# run_page STEPS: runs $CASE/app.exe with the WebView2 double playing the
# scenario STEPS (lines), after which the page agrees to close; exit code in $RC.
run_page() {
  printf '%s\n' "$1" 'on-script vtl.events.onCloseQuery(); | {"id":50001,"uuid":"u-close","data":{}}' close \
    >"$CASE/scenario.txt"
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" run_exe "$CASE/app.exe"
  kill_case_processes
}

# pack_app INI_TEXT [extra vantrel-pack args]: packs $CASE/app with the fake
# loader library into $CASE/app.exe.
pack_app() {
  printf '%b' "$1" >"$CASE/vtl.ini"
  shift
  "$PACK" --quiet --runtime "$RUNTIME" --app "$CASE/app" --ini "$CASE/vtl.ini" --loader "$FAKE_LOADER" \
    --output "$CASE/app.exe" "$@"
}

# pack_raw INI_TEXT [FILES...]: packs past the packer's checks (Info-ZIP with
# the package password, then cat), for packages the packer refuses to make:
# $CASE/vtl.ini, $CASE/app/* and FILES (relative to $CASE) into $CASE/app.exe.
pack_raw() {
  printf '%b' "$1" >"$CASE/vtl.ini"
  shift
  rm -f "$CASE/pkg.zip"
  (cd "$CASE" && zip -q -r -P "$PASSWORD" pkg.zip vtl.ini app "$@")
  cat "$RUNTIME" "$CASE/pkg.zip" >"$CASE/app.exe"
}

# 64-bit FNV-1a of a file, as the WebView2 double reports response bodies.
fnv1a64() {
  python3 -c 'import sys
h = 0xcbf29ce484222325
for b in open(sys.argv[1], "rb").read():
    h = ((h ^ b) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
print("%016x" % h)' "$1"
}

# json_text TEXT: TEXT as the content of a JSON string (for scenario lines).
json_text() { python3 -c 'import json, sys; print(json.dumps(sys.argv[1])[1:-1])' "$1"; }

# Windows path of a file in the Linux file system (Wine's Z: drive).
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# screenshot NAME: saves the virtual screen as $SCREENSHOTS/NAME.png.
screenshot() {
  mkdir -p "$SCREENSHOTS"
  if command -v import >/dev/null 2>&1; then
    import -display "$DISPLAY" -window root "$SCREENSHOTS/$1.png" 2>/dev/null || echo "    (screenshot $1 failed)"
  fi
}

# run_exe_with_screenshot NAME SECONDS EXE [args]: like run_exe, with a
# screenshot taken SECONDS after the start (dialogs wait longer to be answered,
# unless SHOT_DIALOG_DELAY_MS says otherwise).
run_exe_with_screenshot() {
  local name=$1 after=$2
  shift 2
  ( sleep "$after"; screenshot "$name" ) &
  local shooter=$!
  VANTREL_TEST_DIALOG_DELAY_MS=${SHOT_DIALOG_DELAY_MS:-$(( after * 1000 + 1500 ))} run_exe "$@"
  wait "$shooter" 2>/dev/null || true
}

# run_exe EXE [args]: runs with dialogs logged to $CASE/dialogs.jsonl and
# answered with their default button; the exit code is in $RC. WINE_LANG
# sets the user's language (e.g. es_ES.UTF-8).
run_exe() {
  local exe=$1
  shift
  set +e
  env ${WINE_LANG:+LANG=$WINE_LANG LC_ALL=$WINE_LANG} \
    VANTREL_TEST_DIALOG_LOG="$CASE/dialogs.jsonl" FAKE_WEBVIEW2_TRANSCRIPT="$CASE/webview2.jsonl" VANTREL_TEST_DIALOG_ANSWER="${DIALOG_ANSWER:-default}" \
    timeout "${RUN_TIMEOUT:-60}" "$WINE" "$exe" "$@" >"$CASE/stdout.txt" 2>"$CASE/stderr.txt"
  RC=$?
  set -e
}

dialog_count() { [ -f "$CASE/dialogs.jsonl" ] && wc -l <"$CASE/dialogs.jsonl" | tr -d ' ' || echo 0; }

# run_test_program NAME [args]: runs build/windows/tests/win32/NAME.exe, which
# prints "N passed, N failed"; fails unless it exits 0 with no failure.
run_test_program() {
  local name=$1
  shift
  new_case "$name"
  set +e
  timeout 120 "$WINE" "$ROOT/build/windows/tests/win32/$name.exe" "$@" >"$CASE/out.txt" 2>&1
  local rc=$?
  set -e
  tr -d '\r' <"$CASE/out.txt" | grep -v '^ok ' | sed 's/^/    /' || true
  assert_eq 0 "$rc" "$name exit code"
  grep -q ' 0 failed' "$CASE/out.txt" || fail "$name reported failures"
}

# Ends every Windows process started from the current case's folder (Wine
# shows their command lines with Windows paths, so match the folder's name).
kill_case_processes() {
  local name
  name=$(basename "$CASE")
  pkill -f "work.$name.app\\.exe" 2>/dev/null || true
  sleep 0.5
}

CHROMIUM_HELPER="$ROOT/engines/chromium/helper.mjs"

# run_chromium STEPS: runs $CASE/app.exe with its pages in a real Chromium
# (the stand-in's Chromium engine) playing scenario STEPS (click, probe,
# wait-for, close-window, ...); exit code in $RC. Then every process it
# started must be gone: the program, the helper and Chromium.
run_chromium() {
  printf '%s\n' "$1" >"$CASE/scenario.txt"
  FAKE_WEBVIEW2_ENGINE=chromium FAKE_WEBVIEW2_CHROMIUM_HELPER="$CHROMIUM_HELPER" \
    FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" RUN_TIMEOUT=${RUN_TIMEOUT:-90} run_exe "$CASE/app.exe"
  kill_case_processes
  expect_no_chromium_left
}

# Fails (and ends them by pid) when a helper or Chromium process is left.
expect_no_chromium_left() {
  local pids=""
  for _ in $(seq 1 50); do
    pids=$(pgrep -f "$CHROMIUM_HELPER|/usr/lib/chromium/chromium" || true)
    [ -z "$pids" ] && return 0
    sleep 0.2
  done
  local what
  what=$(ps -o pid=,args= -p "$(echo $pids | tr ' ' ,)" | cut -c1-100)
  kill -9 $pids 2>/dev/null || true
  fail "left running: $what"
}

# probe_result SCRIPT: the result the page gave for a "probe" step (JSON).
probe_result() {
  python3 -c 'import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    if r.get("probe") == sys.argv[2]:
        print(r["result"])' "$CASE/webview2.jsonl" "$1" | tail -1
}
