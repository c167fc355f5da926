# The browser control in a real window against the WebView2 double.

test_browser_control_creates_navigates_and_closes() {
  new_case edge-browser
  cat >"$CASE/scenario.txt" <<'SCENARIO'
# what the page does after the first navigation
message-json {"id":10001,"uuid":"u-1","data":{}}
title Changed by the page
wait 100
close
SCENARIO
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" FAKE_WEBVIEW2_TRANSCRIPT="$(winpath "$CASE/transcript.jsonl")" \
    run_test_program edge_browser_test "$(winpath "$FAKE_LOADER")"
  # run_test_program works in a case folder of its own.
  local t="$WORK/edge-browser/transcript.jsonl"
  assert_contains "$t" '{"call":"CreateCoreWebView2Controller","parent":true}'
  assert_contains "$t" '{"call":"settings.put","name":"IsScriptEnabled","value":true}'
  assert_contains "$t" '{"call":"Navigate","uri":"file:///app/index.html"}'
  assert_contains "$t" '"uri":"file:///app/index.html","filtered":true,"answered":true,"status":200,"reason":"OK","headers":"Content-Type: text/html; charset=utf-8","bodyLength":14'
  assert_contains "$t" '{"call":"PostWebMessageAsJson","json":"{\"echo\": {\"id\":10001,\"uuid\":\"u-1\",\"data\":{}}}"}'
  assert_eq '{"call":"Close"}' "$(tail -n 1 "$t")" "the controller is closed last"
}
