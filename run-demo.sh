#!/usr/bin/env bash
# The main job: installs what is missing, builds, packs the demo application
# and runs the packaged program under Wine.
#
# build/demo/VantrelDemo.exe is the demo as it ships (for Windows with the
# WebView2 runtime). WebView2 does not run under Wine, so the copy run here,
# build/demo/VantrelDemo-wine.exe, carries our WebView2 test double, which
# plays the page of examples/demo/wine-page.txt: it loads the package's
# files and calls the bridge; the program's answers are printed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
bash scripts/build.sh

pack() {
  build/native/tools/pack/vantrel-pack --runtime build/windows/runtime/VantrelRuntime.exe \
    --app examples/demo/app --ini examples/demo/vtl.ini "$@"
}
mkdir -p build/demo
# No loader library of its own: on Windows it uses the one installed beside it.
pack --no-loader --output build/demo/VantrelDemo.exe
pack --loader build/windows/engines/webview2/WebView2LoaderWin64.dll --output build/demo/VantrelDemo-wine.exe
echo "Packed build/demo/VantrelDemo.exe (for Windows) and build/demo/VantrelDemo-wine.exe (with the WebView2 double)"

VANTREL_OWN_DISPLAY=${VANTREL_OWN_DISPLAY:-0}
[ -n "${DISPLAY:-}" ] || VANTREL_OWN_DISPLAY=1
export VANTREL_OWN_DISPLAY
source scripts/wine-env.sh
wine_env_start
trap wine_env_stop EXIT
# The loader of an earlier build must not be reused.
rm -rf "$(wine_local_appdata)/com.vantrel.demo"

transcript=build/demo/webview2-transcript.jsonl
rm -f "$transcript"
echo "Running build/demo/VantrelDemo-wine.exe under Wine (display $DISPLAY)..."
( sleep 3; import -display "$DISPLAY" -window root build/demo/screenshot.png 2>/dev/null ) &
shooter=$!
set +e
FAKE_WEBVIEW2_VERSION=120.0.2210.91 FAKE_WEBVIEW2_SCENARIO="$("$WINE" winepath -w examples/demo/wine-page.txt 2>/dev/null)" \
FAKE_WEBVIEW2_TRANSCRIPT="$("$WINE" winepath -w "$transcript" 2>/dev/null)" \
  timeout 120 "$WINE" build/demo/VantrelDemo-wine.exe
code=$?
set -e
wait "$shooter" 2>/dev/null || true
echo "VantrelDemo-wine.exe exited with code $code"
if [ -f "$transcript" ]; then
  echo "What the program answered the page:"
  python3 -c 'import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record.get("event") == "request":
        answer = "%s %s" % (record.get("status"), record.get("headers")) if record.get("answered") else "not answered"
        print("  request  %-28s %s" % (record["uri"], answer))
    elif record.get("call") == "PostWebMessageAsJson":
        print("  reply    " + record["json"])
    elif record.get("call") == "Close":
        print("  window closed after the page agreed")' "$transcript"
fi
[ -f build/demo/screenshot.png ] && echo "Screenshot: build/demo/screenshot.png"
exit "$code"
