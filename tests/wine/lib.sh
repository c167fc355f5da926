# Helpers for the Windows tests: build packaged programs and run them under
# Wine with their dialogs recorded and answered (see dialog_automation.h).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
RUNTIME="$ROOT/build/windows/runtime/VantrelRuntime.exe"
PACK="$ROOT/build/native/tools/pack/vantrel-pack"
PASSWORD=tqzm7wavpe1kxcyh5bfl2gujrs8dmw6hqa0z
WORK="$ROOT/build/wine/work"

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

# pack_app INI_TEXT [extra vantrel-pack args]: packs $CASE/app into $CASE/app.exe.
pack_app() {
  printf '%b' "$1" >"$CASE/vtl.ini"
  shift
  "$PACK" --quiet --runtime "$RUNTIME" --app "$CASE/app" --ini "$CASE/vtl.ini" --output "$CASE/app.exe" "$@"
}

# run_exe EXE [args]: runs with dialogs logged to $CASE/dialogs.jsonl and
# answered with their default button; the exit code is in $RC. WINE_LANG
# sets the user's language (e.g. es_ES.UTF-8).
run_exe() {
  local exe=$1
  shift
  set +e
  env ${WINE_LANG:+LANG=$WINE_LANG LC_ALL=$WINE_LANG} \
    VANTREL_TEST_DIALOG_LOG="$CASE/dialogs.jsonl" VANTREL_TEST_DIALOG_ANSWER="${DIALOG_ANSWER:-default}" \
    timeout "${RUN_TIMEOUT:-60}" "$WINE" "$exe" "$@" >"$CASE/stdout.txt" 2>"$CASE/stderr.txt"
  RC=$?
  set -e
}

dialog_count() { [ -f "$CASE/dialogs.jsonl" ] && wc -l <"$CASE/dialogs.jsonl" | tr -d ' ' || echo 0; }
