# Today's web apps with the WebView2 double: ranges for media, the filter
# for every frame and worker, and the secure app origin.

test_a_range_request_gets_206_with_its_bytes() {
  new_case range
  mkdir -p "$CASE/app/media"
  head -c 300000 /dev/urandom >"$CASE/app/media/clip.webm"
  pack_app '[App]\nID=com.vantrel.test.range\nName=Range\nDirName=app\n'
  run_page 'request-range bytes=299900- file:///media/clip.webm
request-range bytes=1000-1999 file:///media/clip.webm
request-range bytes=400000- file:///media/clip.webm
request file:///media/clip.webm'
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl" tail_hash middle_hash
  tail_hash=$(tail -c 100 "$CASE/app/media/clip.webm" >"$CASE/tail.bin" && fnv1a64 "$CASE/tail.bin")
  middle_hash=$(dd if="$CASE/app/media/clip.webm" bs=1000 skip=1 count=1 status=none >"$CASE/middle.bin" && fnv1a64 "$CASE/middle.bin")
  assert_contains "$t" "\"range\":\"bytes=299900-\",\"filtered\":true,\"answered\":true,\"status\":206,\"reason\":\"Partial Content\",\"headers\":\"Content-Type: video/webm; charset=utf-8\\u000D\\u000AContent-Range: bytes 299900-299999/300000\\u000D\\u000AAccept-Ranges: bytes\",\"bodyLength\":100,\"bodyFnv1a64\":\"$tail_hash\""
  assert_contains "$t" "\"range\":\"bytes=1000-1999\",\"filtered\":true,\"answered\":true,\"status\":206,\"reason\":\"Partial Content\",\"headers\":\"Content-Type: video/webm; charset=utf-8\\u000D\\u000AContent-Range: bytes 1000-1999/300000\\u000D\\u000AAccept-Ranges: bytes\",\"bodyLength\":1000,\"bodyFnv1a64\":\"$middle_hash\""
  assert_contains "$t" '"range":"bytes=400000-","filtered":true,"answered":true,"status":416,"reason":"Range Not Satisfiable","headers":"Content-Type: video/webm; charset=utf-8\u000D\u000AContent-Range: bytes */300000","bodyLength":0'
  assert_contains "$t" "\"uri\":\"file:///media/clip.webm\",\"filtered\":true,\"answered\":true,\"status\":200,\"reason\":\"OK\",\"headers\":\"Content-Type: video/webm; charset=utf-8\",\"bodyLength\":300000,\"bodyFnv1a64\":\"$(fnv1a64 "$CASE/app/media/clip.webm")\""
}

test_the_filter_reaches_every_frame_where_the_browser_offers_it() {
  new_case filter-22
  pack_app '[App]\nID=com.vantrel.test.filter22\nName=Filter\nDirName=app\n'
  FAKE_WEBVIEW2_OFFER_22=1 run_page 'request file:///index.html'
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '{"call":"AddWebResourceRequestedFilterWithRequestSourceKinds","uri":"*","context":0,"kinds":4294967295}'
  ! grep -q '"call":"AddWebResourceRequestedFilter"' "$CASE/webview2.jsonl" || fail "the older filter was added too"
  rm -f "$CASE/webview2.jsonl"
  run_page 'request file:///index.html'
  assert_contains "$CASE/webview2.jsonl" '{"call":"AddWebResourceRequestedFilter","uri":"*","context":0}'
}

test_the_secure_origin_starts_at_app_localhost_and_serves_its_files() {
  new_case secure-origin
  mkdir -p "$CASE/app/js"
  echo 'export const x = 1;' >"$CASE/app/js/app.mjs"
  printf '\0asm\1\0\0\0' >"$CASE/app/add.wasm"
  echo 'caf' >"$CASE/app/café menu.txt"
  pack_app '[App]\nID=com.vantrel.test.secure\nName=Secure\nDirName=app\nSecureOrigin=1\n'
  run_page 'request https://app.localhost/js/app.mjs?v=2
request https://app.localhost/add.wasm
request https://app.localhost/caf%C3%A9%20menu.txt
request https://app.localhost/../../etc/passwd
message-json {"id":10001,"uuid":"u-secure","data":{}}'
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl"
  assert_contains "$t" '{"call":"Navigate","uri":"https://app.localhost/index.html"}'
  assert_contains "$t" '"uri":"https://app.localhost/index.html","filtered":true,"answered":true,"status":200'
  assert_contains "$t" '"uri":"https://app.localhost/js/app.mjs?v=2","filtered":true,"answered":true,"status":200,"reason":"OK","headers":"Content-Type: text/javascript; charset=utf-8"'
  assert_contains "$t" '"uri":"https://app.localhost/add.wasm","filtered":true,"answered":true,"status":200,"reason":"OK","headers":"Content-Type: application/wasm","bodyLength":8'
  assert_contains "$t" '"uri":"https://app.localhost/caf%C3%A9%20menu.txt","filtered":true,"answered":true,"status":200'
  assert_contains "$t" '"uri":"https://app.localhost/../../etc/passwd","filtered":true,"answered":false'
  # The page at the secure origin is the app's own: the bridge answers it.
  assert_contains "$t" '\"uuid\": \"u-secure\", \"success\": true'
}
