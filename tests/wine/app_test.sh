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

# Browser bounds the host set, in order, as "left,top,right,bottom" lines.
bounds_of() {
  python3 -c 'import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record.get("call") == "put_Bounds":
        print(",".join(str(v) for v in record["bounds"]))' "$1"
}

test_full_screen_covers_the_screen_and_ends_in_the_configured_window() {
  new_case full-screen
  pack_app '[App]\nID=com.vantrel.test.fullscreen\nName=Full screen\nDirName=app\nWidth=640\nHeight=480\nWindowBorder=1\n'
  run_page 'wait 300
message-json {"id":50003,"uuid":"u-enter","data":{}}
wait 300
message-json {"id":50002,"uuid":"u-in","data":{}}
message-json {"id":50004,"uuid":"u-exit","data":{}}
wait 300
message-json {"id":50002,"uuid":"u-out","data":{}}'
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl"
  replies_of "$t" >"$CASE/replies.txt"
  assert_eq '{"uuid": "u-in", "success": true, "result": true}
{"uuid": "u-out", "success": true, "result": false}' "$(cat "$CASE/replies.txt")" "only the two queries are answered"
  bounds_of "$t" >"$CASE/bounds.txt"
  grep -q '^0,0,1280,800$' "$CASE/bounds.txt" || fail "full screen did not cover the 1280x800 screen: $(tr '\n' ' ' <"$CASE/bounds.txt")"
  # Back to the configured window: the same client area as before full screen.
  assert_eq "$(head -n 1 "$CASE/bounds.txt")" "$(tail -n 1 "$CASE/bounds.txt")" "browser bounds after full screen"
}

test_window_style_1_starts_in_full_screen() {
  new_case full-screen-start
  pack_app '[App]\nID=com.vantrel.test.fullscreenstart\nName=Full screen\nDirName=app\nWindowStyle=1\nWindowBorder=3\n'
  run_page 'wait 300
message-json {"id":50002,"uuid":"u-in","data":{}}'
  assert_eq 0 "$RC" "exit code"
  replies_of "$CASE/webview2.jsonl" >"$CASE/replies.txt"
  assert_eq '{"uuid": "u-in", "success": true, "result": true}' "$(cat "$CASE/replies.txt")" "inFullscreen at start"
  bounds_of "$CASE/webview2.jsonl" >"$CASE/bounds.txt"
  grep -q '^0,0,1280,80[0-9]$\|^0,0,1280,79[0-9]$' "$CASE/bounds.txt" || fail "not full screen: $(tr '\n' ' ' <"$CASE/bounds.txt")"
}

test_second_instance_opens_the_address_it_was_given() {
  new_demo_case child-instance
  pack_app "$(cat "$ROOT/examples/demo/vtl.ini")"
  printf '%s\n' 'on-script vtl.events.onCloseQuery(); | {"id":50001,"uuid":"u-close","data":{}}' close >"$CASE/scenario.txt"
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" run_exe "$CASE/app.exe" com.vantrel.demo 'file:///pages/about.html?a="b"'
  kill_case_processes
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '{"call":"Navigate","uri":"file:///pages/about.html?a=\"b\""}'
  # Another first argument is not the identifier: the configured start page.
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" run_exe "$CASE/app.exe" COM.VANTREL.DEMO file:///pages/about.html
  kill_case_processes
  assert_contains "$CASE/webview2.jsonl" '{"call":"Navigate","uri":"file:///index.html"}'
}
