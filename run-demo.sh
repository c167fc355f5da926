#!/usr/bin/env bash
# The main job: installs what is missing, builds, packs the demo application
# and runs the packaged program under Wine with a real browser engine.
#
#   ./run-demo.sh                   the demo (examples/demo)
#   ./run-demo.sh APP_DIR VTL_INI   any web application folder and its vtl.ini
#
# build/demo/VantrelDemo.exe is the program as it ships (for Windows with the
# WebView2 runtime). WebView2 does not run under Wine, so the copy run here,
# build/demo/VantrelDemo-wine.exe, carries our WebView2 stand-in, whose pages
# run in Debian's Chromium (engines/chromium): the program's window shows the
# live page and passes mouse and keys on to it.
#
# With a display (DISPLAY set, VANTREL_HEADLESS unset) you use the program and
# close it. Without one, the demo's buttons are clicked with real input events
# (examples/demo/headless-run.txt) and the window is closed; another app runs
# until it closes its window or VANTREL_RUN_SECONDS (default 60) pass. Then the
# program's answers are printed and build/demo/screenshot.png shows the window.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

app_dir=examples/demo/app
ini=examples/demo/vtl.ini
scenario=examples/demo/headless-run.txt
if [ $# -ge 1 ]; then
  [ $# -eq 2 ] || { echo "usage: $0 [APP_DIR VTL_INI]" >&2; exit 2; }
  app_dir=$1
  ini=$2
  scenario=
fi
seconds=${VANTREL_RUN_SECONDS:-60}

bash scripts/build.sh

out=build/demo
mkdir -p "$out"
pack() {
  build/native/tools/pack/vantrel-pack --runtime build/windows/runtime/VantrelRuntime.exe \
    --app "$app_dir" --ini "$ini" "$@"
}
exe="$out/VantrelDemo-wine.exe"
# No loader library of its own: on Windows it uses the one installed beside it.
pack --no-loader --output "$out/VantrelDemo.exe" >/dev/null
pack --loader build/windows/engines/webview2/WebView2LoaderWin64.dll --output "$exe"
echo "Packed $out/VantrelDemo.exe (for Windows) and $exe (with the Chromium-backed WebView2 stand-in)"

headless=1
if [ -n "${DISPLAY:-}" ] && [ "${VANTREL_HEADLESS:-0}" != 1 ]; then headless=0; fi
export VANTREL_OWN_DISPLAY=$headless
source scripts/wine-env.sh
wine_env_start
helper="$root/engines/chromium/helper.mjs"
cleanup() {
  wine_env_stop
  # The helper ends itself and Chromium when the program's connection closes.
  for _ in $(seq 1 50); do pgrep -f "$helper" >/dev/null || break; sleep 0.1; done
  pkill -f "$helper" 2>/dev/null || true
}
trap cleanup EXIT

# The program keeps its own copy of the loader per application: a fresh one.
app_id=$(sed -n 's/^[[:space:]]*ID[[:space:]]*=[[:space:]]*//p' "$ini" | head -1 | tr -d '\r')
[ -n "$app_id" ] && rm -rf "$(wine_local_appdata)/$app_id"

transcript="$out/webview2-transcript.jsonl"
screenshot="$out/screenshot.png"
rm -f "$transcript" "$screenshot"
export FAKE_WEBVIEW2_ENGINE=chromium FAKE_WEBVIEW2_CHROMIUM_HELPER="$helper"
export FAKE_WEBVIEW2_TRANSCRIPT="$("$WINE" winepath -w "$transcript" 2>/dev/null)"
if [ "$headless" = 1 ] && [ -n "$scenario" ]; then
  export FAKE_WEBVIEW2_SCENARIO="$("$WINE" winepath -w "$scenario" 2>/dev/null)"
fi

# Pictures of the screen while the program runs: at the scenario's mark, else
# every second once the page is painted (the last one before the window
# closed is kept).
closing() { grep -qE '"call":"Close"|vtl\.events\.onCloseQuery\(\);"}|\\"id\\":50001' "$transcript" 2>/dev/null; }
# A picture taken once the window began to close is not kept.
shoot() {
  closing && return 0
  import -display "$DISPLAY" -window root "$out/.shot.png" 2>/dev/null || return 0
  if closing; then rm -f "$out/.shot.png"; else mv "$out/.shot.png" "$screenshot"; fi
}
(
  marked=0
  for i in $(seq 1 $((seconds * 2 + 20))); do
    sleep 0.5
    if [ -n "$scenario" ]; then
      if [ $marked = 0 ] && grep -q '"scenario":"mark","argument":"screenshot"' "$transcript" 2>/dev/null; then
        shoot; marked=1
      fi
    elif [ $((i % 2)) = 0 ] && grep -q '"first-paint"' "$transcript" 2>/dev/null; then
      shoot
    fi
  done
) &
shooter=$!

echo "Running $exe under Wine (display $DISPLAY$([ "$headless" = 1 ] && echo ", headless"))..."
set +e
if [ "$headless" = 1 ]; then
  timeout "$seconds" "$WINE" "$exe"
else
  "$WINE" "$exe"
fi
code=$?
set -e
kill "$shooter" 2>/dev/null || true
wait "$shooter" 2>/dev/null || true
[ "$code" = 124 ] && echo "Stopped after ${seconds}s (VANTREL_RUN_SECONDS)." || echo "The program exited with code $code"
if [ -f "$transcript" ]; then
  echo "What the program answered the page:"
  python3 - "$transcript" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record.get("event") == "request":
        answer = "%s %s" % (record.get("status"), record.get("headers")) if record.get("answered") else "not answered"
        print("  request  %-34s %s" % (record["uri"], answer))
    elif record.get("call") == "PostWebMessageAsJson":
        print("  reply    " + record["json"])
    elif record.get("event") == "engine-failed":
        print("  the browser did not start: " + record["reason"])
    elif "probe" in record:
        value = json.loads(record["result"] or "null")
        if isinstance(value, str) and value:
            print("  the page's log:")
            for entry in value.split("\n"):
                print("    " + entry)
    elif record.get("event") == "WindowCloseRequested":
        print("  the page asked to close the window")
    elif record.get("call") == "Close":
        print("  window closed")
PY
fi
[ -f "$screenshot" ] && echo "Screenshot: $screenshot"
exit $([ "$code" = 124 ] && echo 0 || echo "$code")
