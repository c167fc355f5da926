# The packaged application end to end: the page (played by the WebView2
# double) calls the bridge, and the window closes only when the page agrees.

# replies_of TRANSCRIPT: the replies posted to the page, one JSON text a line.
replies_of() {
  python3 -c 'import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record.get("call") == "PostWebMessageAsJson":
        print(record["json"])' "$1"
}

test_packaged_demo_answers_the_bridge_and_closes_when_the_page_agrees() {
  new_demo_case app-demo
  cat >"$CASE/scenario.txt" <<'SCENARIO'
message-json {"id":10001,"uuid":"u-hello","data":{}}
message-json {"id":10002,"uuid":"u-runtime","data":{}}
message-json {"id":30003,"uuid":"u-write","data":{"filePath":"out/notes/note.txt","contents":"a\nb"}}
message-json {"id":30001,"uuid":"u-exists","data":{"filePath":"out/notes/note.txt"}}
message-json {"id":30001,"uuid":"u-missing","data":{}}
message-json {"id":40003,"uuid":"u-temp","data":{}}
message-json {"id":99999,"uuid":"u-unknown","data":{}}
message-json {"id":10001,"uuid":"u-nodata"}
message-json {"id":10001,"uuid":"u-after","data":{}}
title Bridge calls answered
# (time for the screenshot)
wait 3000
# A page that refuses: the window must stay open.
close
wait 500
title Still open
# The page's default onCloseQuery calls vtl.app.close().
on-script vtl.events.onCloseQuery(); | {"id":50001,"uuid":"u-close","data":{}}
close
SCENARIO
  pack_app "$(cat "$ROOT/examples/demo/vtl.ini")"
  rm -rf "$CASE/app"
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" run_exe_with_screenshot app-demo-main-window 2 "$CASE/app.exe"
  kill_case_processes
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl"
  replies_of "$t" >"$CASE/replies.txt"
  assert_eq '{"uuid": "u-hello", "success": true, "result": "2021.10"}
{"uuid": "u-runtime", "success": true, "result": true}
{"uuid": "u-write", "success": true, "result": true}
{"uuid": "u-exists", "success": true, "result": true}
{"uuid": "u-missing", "success": false, "result": "Missing filePath"}' "$(head -n 5 "$CASE/replies.txt")" "first replies"
  assert_contains "$CASE/replies.txt" '{"uuid": "u-temp", "success": true, "result": "C:\\users\\'
  grep -q '"u-temp".*Temp\\\\"}$' "$CASE/replies.txt" || fail "temporary folder ends with an escaped backslash"
  assert_eq '{"uuid": "u-after", "success": true, "result": "2021.10"}' "$(sed -n 7p "$CASE/replies.txt")" "reply after the ignored calls"
  assert_eq 7 "$(wc -l <"$CASE/replies.txt" | tr -d ' ')" "number of replies"
  assert_eq "efbbbf610d0a620d0a" "$(od -An -tx1 "$CASE/out/notes/note.txt" | tr -d " \n")" "bytes of the written file"
  # The bridge script is registered, the start page is the package's index.
  assert_contains "$t" 'window.vtl = {'
  assert_contains "$t" '{"call":"Navigate","uri":"file:///index.html"}'
  # Each close attempt asks the page, the one the page agreed to as well; the
  # controller closes only after the second attempt.
  assert_eq 3 "$(grep -c '{"call":"ExecuteScript","script":"vtl.events.onCloseQuery();"}' "$t")" "close queries before closing"
  python3 - "$t" <<'PY' || fail "the window closed before the page agreed"
import json, sys
events = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
steps = [i for i, e in enumerate(events) if e.get("scenario") == "close"]
closes = [i for i, e in enumerate(events) if e.get("call") == "Close"]
assert len(steps) == 2 and len(closes) == 1 and closes[0] > steps[1], (steps, closes)
PY
}
