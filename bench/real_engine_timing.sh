#!/usr/bin/env bash
# Times the demo against the real engine (Chromium behind the WebView2
# stand-in, under Wine): program start to the first picture of the page in
# its window, and the round trip of vtl.hello() called by the page (median
# and 90th percentile of 200 calls). Run after scripts/build.sh.
#   bench/real_engine_timing.sh [RUNS]   (default 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-3}
work=build/bench/real-engine
mkdir -p "$work"
build/native/tools/pack/vantrel-pack --quiet --runtime build/windows/runtime/VantrelRuntime.exe \
  --app examples/demo/app --ini examples/demo/vtl.ini \
  --loader build/windows/engines/webview2/WebView2LoaderWin64.dll --output "$work/demo.exe"
cat >"$work/scenario.txt" <<'STEPS'
wait-for document.getElementById('runtime-status').textContent.includes('Running')
probe (async () => { const t = []; for (let i = 0; i < 200; i++) { const s = performance.now(); await vtl.hello(); t.push(performance.now() - s); } t.sort((a, b) => a - b); window.__timing = { median: t[100], p90: t[180] }; })() && true
wait-for !!window.__timing
probe JSON.stringify(window.__timing)
close-window
STEPS
source scripts/wine-env.sh
VANTREL_OWN_DISPLAY=1 wine_env_start
trap wine_env_stop EXIT
for run in $(seq 1 "$runs"); do
  rm -rf "$(wine_local_appdata)/com.vantrel.demo"
  rm -f "$work/transcript.jsonl"
  FAKE_WEBVIEW2_ENGINE=chromium FAKE_WEBVIEW2_CHROMIUM_HELPER="$root/engines/chromium/helper.mjs" \
    FAKE_WEBVIEW2_SCENARIO="$("$WINE" winepath -w "$work/scenario.txt" 2>/dev/null)" \
    FAKE_WEBVIEW2_TRANSCRIPT="$("$WINE" winepath -w "$work/transcript.jsonl" 2>/dev/null)" \
    timeout 120 "$WINE" "$work/demo.exe" || true
  python3 - "$work/transcript.jsonl" "$run" <<'PY'
import json, sys
paint, timing = None, None
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    if r.get("event") == "first-paint" and paint is None:
        paint = r["ms"]
    if r.get("probe") == "JSON.stringify(window.__timing)":
        timing = json.loads(json.loads(r["result"]))
print("run %s: start to first paint %s ms; vtl.hello() round trip median %.2f ms, p90 %.2f ms"
      % (sys.argv[2], paint, timing["median"], timing["p90"]))
PY
done
