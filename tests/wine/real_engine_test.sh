# The program against a real browser engine: its pages run in Chromium through
# the WebView2 stand-in's Chromium engine, clicked with real input events.

demo_ini() { sed "s/^ID=.*/ID=com.vantrel.test.$1/" "$ROOT/examples/demo/vtl.ini"; }

test_real_engine_the_demo_calls_every_bridge_function_and_closes_in_two_steps() {
  new_demo_case real-demo
  pack_app "$(demo_ini realdemo)"
  local calls="hello isRuntime writeTextFile fileExists dirExists getTempDir getUserDocumentsDir getUserDesktopDir
    inFullscreen enterFullscreen exitFullscreen openFile saveFile deleteFile deleteDir" steps="" n=0 call
  for call in $calls; do
    steps+="click button[data-call=$call]"$'\n'
    n=$((n + 1))
  done
  local log_script="[...document.querySelectorAll('#log li')].reverse().map((li) => li.textContent).join('\n')"
  local absolute written
  absolute="$(winpath "$CASE/written by the page.txt")"
  written="vtl.files.writeTextFile({filePath: \"$(json_text "$absolute")\", contents: 'from Chromium'}).then((ok) => { window.__written = ok; })"
  run_chromium "wait-for document.getElementById('runtime-status').textContent === 'Running inside the Vantrel runtime'
${steps}wait-for document.querySelectorAll('#log li').length >= $n
probe $log_script
probe $written
wait-for window.__written === true
close-window"
  assert_eq 0 "$RC" "exit code"
  local log
  log=$(probe_result "$log_script" | python3 -c 'import json,sys; print(json.loads(sys.stdin.read()))')
  echo "$log" | sed 's/^/    page log: /'
  for expected in 'hello → "2021.10"' 'isRuntime → true' 'writeTextFile → true' 'fileExists → true' \
    'dirExists → true' 'getTempDir → "C:\\' 'getUserDocumentsDir → "C:\\' 'getUserDesktopDir → "C:\\' \
    'inFullscreen → ' 'enterFullscreen: sent' 'exitFullscreen: sent' 'openFile → ' 'saveFile → ' \
    'deleteFile → true' 'deleteDir → true'; do
    grep -qF -- "$expected" <<<"$log" || fail "the page's log lacks: $expected"
  done
  ! grep -q 'failed' <<<"$log" || fail "a call failed"
  assert_eq "from Chromium" "$(python3 -c 'import sys; print(open(sys.argv[1], encoding="utf-8-sig").read())' "$CASE/written by the page.txt")" \
    "file written through window.vtl to $absolute"
  # The window's close button: the program asks the page, the page's own
  # onCloseQuery agrees through vtl.app.close(), then the browser is closed.
  local t="$CASE/webview2.jsonl"
  assert_contains "$t" '{"call":"ExecuteScript","script":"vtl.events.onCloseQuery();"}'
  assert_contains "$t" '"json":"{\"id\":50001'
  assert_contains "$t" '{"call":"Close"}'
}

# fixture_case NAME: the bundler-style fixture with its font (the system's),
# a 20 s video and a 20 s tone (made here) in $CASE/app.
fixture_case() {
  new_case "$1"
  rm -rf "$CASE/app"
  cp -r "$ROOT/tests/fixtures/modern-app" "$CASE/app"
  mkdir -p "$CASE/app/fonts" "$CASE/app/media"  # made here, not kept in the repository
  cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$CASE/app/fonts/brand.ttf"
  python3 - "$CASE/app/media/tone.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(16000)
    w.writeframes(b"".join(struct.pack("<h", int(3000 * math.sin(i * 440 * 2 * math.pi / 16000))) for i in range(16000 * 20)))
PY
  ffmpeg -loglevel error -f lavfi -i testsrc=duration=20:size=160x120:rate=10 -c:v libvpx -b:v 200k \
    "$CASE/app/media/clip.webm"
}

# run_fixture ORIGIN_NAME: runs the fixture, prints its table; the table's
# JSON in $FIXTURE_JSON.
run_fixture() {
  local table="JSON.stringify(window.__fixture)"
  run_chromium "wait-for window.__fixtureDone === true
probe $table
close-window"
  FIXTURE_JSON=$(probe_result "$table" | python3 -c 'import json,sys; print(json.loads(sys.stdin.read()))')
  python3 -c 'import json, sys
rows = json.loads(sys.argv[2])
print("    Today'"'"'s web app at %s: %d of %d work" % (sys.argv[1], sum(r["ok"] for r in rows.values()), len(rows)))
for name, r in rows.items():
    print("    | %-5s | %-40s | %s" % ("works" if r["ok"] else "FAILS", name, r["detail"][:70]))' "$1" "$FIXTURE_JSON"
}

test_real_engine_a_bundled_app_at_the_file_origin_measured() {
  fixture_case fixture-file
  pack_app '[App]\nID=com.vantrel.test.fixturefile\nName=Fixture\nDirName=app\n' 2>/dev/null
  run_fixture "file:///"
  [ -n "$FIXTURE_JSON" ] || fail "the fixture gave no table"
}

test_real_engine_a_bundled_app_works_completely_at_the_secure_origin() {
  fixture_case fixture-secure
  pack_app '[App]\nID=com.vantrel.test.fixturesecure\nName=Fixture\nDirName=app\nSecureOrigin=1\n'
  run_fixture "https://app.localhost/"
  [ -n "$FIXTURE_JSON" ] || fail "the fixture gave no table"
  python3 -c 'import json, sys
rows = json.loads(sys.argv[1])
bad = [n for n, r in rows.items() if not r["ok"]]
sys.exit("failing: " + ", ".join(bad) if bad else 0)' "$FIXTURE_JSON" || fail "the secure origin must run all of it"
  # The filter for every frame and worker, as on current runtimes.
  assert_contains "$CASE/webview2.jsonl" '{"call":"AddWebResourceRequestedFilterWithRequestSourceKinds","uri":"*","context":0,"kinds":4294967295}'
  # The media were served in ranges.
  assert_contains "$CASE/webview2.jsonl" '"uri":"https://app.localhost/media/clip.webm","range":"bytes=0-","filtered":true,"answered":true,"status":206'
  assert_contains "$CASE/webview2.jsonl" '"uri":"https://app.localhost/media/tone.wav","range":"bytes=0-","filtered":true,"answered":true,"status":206'
  assert_contains "$CASE/webview2.jsonl" '"uri":"https://app.localhost/wasm/add.wasm","filtered":true,"answered":true,"status":200,"reason":"OK","headers":"Content-Type: application/wasm"'
}

test_real_engine_malformed_and_hostile_messages_leave_the_bridge_working() {
  new_case hostile-messages
  cat >"$CASE/app/index.html" <<'HTML'
<!DOCTYPE html><meta charset="utf-8"><title>Hostile</title><script>
const post = (m) => chrome.webview.postMessage(m);
let deep = []; for (let i = 0; i < 3000; i++) deep = [deep];
for (const m of ['not json at all', '{"id":', 42, null, true, [1, 2], {}, { id: 'x' }, { id: 10001 },
  { id: -1, uuid: 'neg', data: {} }, { id: 1e308, uuid: 'huge-id', data: {} }, { id: 10001, uuid: 5, data: 'x' },
  { id: 99999, uuid: 'unknown', data: {} }, { id: 30003, uuid: 'no-path', data: { contents: 'x' } },
  { id: 30003, uuid: 'bad-types', data: { filePath: 12, contents: {} } },
  JSON.parse('{"__proto__": {"polluted": 1}, "id": 10001, "uuid": "proto", "data": {}}'),
  { id: 10001, uuid: 'x'.repeat(4 << 20), data: {} }, { id: 10001, uuid: 'deep', data: deep }]) {
  try { post(m); } catch (e) { /* the page's own limit */ }
}
chrome.webview.addEventListener('message', (e) => {
  if (JSON.stringify(e.data).includes('after-hostile')) { document.title = 'answered'; post({ id: 50001, uuid: 'bye', data: {} }); }
});
post({ id: 10001, uuid: 'after-hostile', data: {} });
</script>
HTML
  pack_app '[App]\nID=com.vantrel.test.hostilemessages\nName=Hostile\nDirName=app\n'
  RUN_TIMEOUT=60 run_chromium "wait 20000"
  assert_eq 0 "$RC" "exit code (the page closed the window after its answer)"
  assert_contains "$CASE/webview2.jsonl" 'after-hostile\", \"success\": true, \"result\": \"2021.10\"'
  assert_contains "$CASE/webview2.jsonl" '{"call":"Close"}'
  [ "$(dialog_count)" = 0 ] || fail "no error box for bad messages"
}

test_real_engine_window_open_becomes_a_new_window_of_the_app() {
  new_case window-open
  echo '<!DOCTYPE html><title>Second</title><p>second window</p>' >"$CASE/app/second.html"
  cat >"$CASE/app/index.html" <<'HTML'
<!DOCTYPE html><meta charset="utf-8"><title>First</title>
<button id="open" onclick="window.open('second.html')">open a window</button>
HTML
  pack_app '[App]\nID=com.vantrel.test.windowopen\nName=Window\nDirName=app\n'
  RUN_TIMEOUT=30 run_chromium "wait-for document.readyState === 'complete'
click #open
wait 6000
close-window"
  local t="$CASE/webview2.jsonl"
  # The host handled it by opening a new window of the app (a second
  # program), which showed the page in its own Chromium.
  assert_contains "$t" '{"event":"new-window","uri":"file:///second.html","handled":true}'
  assert_contains "$t" '{"call":"Navigate","uri":"file:///second.html"}'
  assert_contains "$t" '{"event":"NavigationCompleted","uri":"file:///second.html","success":true,"status":0}'
}

test_real_engine_a_failed_navigation_is_reported_as_failed() {
  new_case failed-navigation
  cat >"$CASE/app/index.html" <<'HTML'
<!DOCTYPE html><meta charset="utf-8"><title>First</title>
<button id="away" onclick="location.href = 'http://127.0.0.1:59999/nothing-listens-here'">go away</button>
HTML
  pack_app '[App]\nID=com.vantrel.test.failednav\nName=Navigation\nDirName=app\n'
  RUN_TIMEOUT=30 run_chromium "wait-for document.readyState === 'complete'
click #away
wait 3000
close-window"
  # Unsuccessful, could not connect, the address asked for kept.
  assert_contains "$CASE/webview2.jsonl" '{"event":"NavigationCompleted","uri":"http://127.0.0.1:59999/nothing-listens-here","success":false,"status":12}'
  # An error page cannot agree to close: the window closes at once.
  assert_eq 0 "$RC" "exit code"
  ! sed -n '/"success":false/,$p' "$CASE/webview2.jsonl" | grep -qF '"script":"vtl.events.onCloseQuery();"' || fail "the error page was asked to agree"
}

test_real_engine_chromium_killed_raises_process_failed_and_nothing_is_left() {
  new_demo_case chromium-killed
  pack_app "$(demo_ini killed)"
  # Killed while the scenario waits; then the person closes the window,
  # which now closes at once (no page to ask).
  printf '%s\n' "wait-for document.getElementById('runtime-status').textContent.includes('Running')" "mark loaded" \
    "wait 6000" "close-window" >"$CASE/scenario.txt"
  (
    FAKE_WEBVIEW2_ENGINE=chromium FAKE_WEBVIEW2_CHROMIUM_HELPER="$CHROMIUM_HELPER" \
      FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" RUN_TIMEOUT=60 run_exe "$CASE/app.exe"
    echo "$RC" >"$CASE/rc"
  ) &
  local runner=$! browser=""
  for _ in $(seq 1 150); do
    grep -q '"scenario":"mark"' "$CASE/webview2.jsonl" 2>/dev/null && break
    sleep 0.2
  done
  browser=$(pgrep -f -- "/usr/lib/chromium/chromium .*--remote-debugging-pipe" | head -1)
  [ -n "$browser" ] || fail "no Chromium browser process found"
  kill -9 "$browser"
  local started=$SECONDS
  wait "$runner" || true
  [ $((SECONDS - started)) -lt 30 ] || fail "the program did not end soon after Chromium died"
  kill_case_processes
  expect_no_chromium_left
  assert_contains "$CASE/webview2.jsonl" '{"event":"ProcessFailed","kind":0}'
  assert_eq 0 "$(cat "$CASE/rc")" "exit code"
  # Closed at once: the dead page was not asked.
  ! sed -n '/"ProcessFailed"/,$p' "$CASE/webview2.jsonl" | grep -qF '"script":"vtl.events.onCloseQuery();"' || fail "the dead page was asked to agree"
}

test_real_engine_a_remote_page_cannot_use_the_bridge() {
  new_case remote-page
  local port target
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  target="$(winpath "$CASE/written by a remote page.txt")"
  mkdir -p "$CASE/site"
  cat >"$CASE/site/evil.html" <<HTML
<!DOCTYPE html><meta charset="utf-8"><title>Remote</title><script>
const path = "$(json_text "$target")";
if (window.vtl) vtl.files.writeTextFile({ filePath: path, contents: 'through window.vtl' });
chrome.webview.postMessage({ id: 30003, uuid: 'raw', data: { filePath: path, contents: 'raw message' } });
</script>
HTML
  echo "<!DOCTYPE html><a id=\"away\" href=\"http://127.0.0.1:$port/evil.html\">away</a>" >"$CASE/app/index.html"
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$CASE/site" >/dev/null 2>&1 &
  local server=$!
  pack_app '[App]\nID=com.vantrel.test.remotepage\nName=Remote\nDirName=app\n'
  RUN_TIMEOUT=30 run_chromium "wait-for document.readyState === 'complete'
click #away
wait 5000
close-window"
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  local t="$CASE/webview2.jsonl"
  # The page ran and posted (the bridge heard it) ...
  assert_contains "$t" "{\"event\":\"message\",\"source\":\"http://127.0.0.1:$port/evil.html\""
  # ... and nothing was written, nothing answered.
  [ ! -e "$CASE/written by a remote page.txt" ] || fail "a remote page wrote a file"
  ! grep -q '"call":"PostWebMessageAsJson".*success\\": true' <(sed -n '/evil.html/,$p' "$t") || fail "a remote page got an answer"
  # It could not agree to close either: the window closed at once.
  assert_eq 0 "$RC" "exit code"
  ! grep -qF '"script":"vtl.events.onCloseQuery();"' "$t" || fail "the remote page was asked to agree"
}
