# Pages that are not the application's own, closing while a command runs,
# a browser that fails, and paths that would reach more than they name.

test_pages_that_are_not_the_apps_own_get_no_bridge_and_no_permissions() {
  new_case foreign-page
  pack_app '[App]\nID=com.vantrel.test.foreign\nName=Foreign\nDirName=app\n'
  local target="$CASE/written-by-remote.txt" own="$CASE/written-by-own.txt"
  run_page "navigate https://remote.example/page.html
message-json {\"id\":30003,\"uuid\":\"u-remote-write\",\"data\":{\"filePath\":\"$(json_text "$(winpath "$target")")\",\"contents\":\"x\"}}
message-json {\"id\":10001,\"uuid\":\"u-remote-hello\",\"data\":{}}
permission 4 https://remote.example/page.html
navigate file:///index.html
message-json {\"id\":30003,\"uuid\":\"u-own-write\",\"data\":{\"filePath\":\"$(json_text "$(winpath "$own")")\",\"contents\":\"x\"}}
permission 4 file:///index.html"
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl"
  [ ! -e "$target" ] || fail "the remote page wrote a file"
  [ -e "$own" ] || fail "the application's own page could not write"
  ! grep 'PostWebMessageAsJson' "$t" | grep -q 'u-remote' || fail "the remote page got an answer"
  assert_contains "$t" '\"uuid\": \"u-own-write\", \"success\": true'
  assert_contains "$t" '{"event":"permission","kind":4,"state":0}'
  assert_contains "$t" '{"event":"permission","kind":4,"state":1}'
}

# The close arrives while a file dialog runs its own message loop; the
# dialog is answered (cancelled) later. Timing-dependent: several runs each.
test_closing_while_a_file_dialog_is_open_waits_for_the_command() {
  local id kind run status=0
  for kind in 20001:open 20002:save; do
    IFS=: read -r id name <<<"$kind"
    for run in 1 2 3; do
      new_case "close-during-$name-$run"
      pack_app "[App]\nID=com.vantrel.test.closedialog$run\nName=Close\nDirName=app\n"
      # The page agrees at once, but its close comes while the dialog is up.
      printf '%s\n' 'on-script vtl.events.onCloseQuery(); | {"id":50001,"uuid":"u-close","data":{}}' \
        "after $((run * 150)) close" "message-json {\"id\":$id,\"uuid\":\"u-dialog\",\"data\":{\"title\":\"Pick\"}}" \
        >"$CASE/scenario.txt"
      VANTREL_TEST_DIALOG_DELAY_MS=1500 FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" RUN_TIMEOUT=30 \
        run_exe "$CASE/app.exe"
      kill_case_processes
      assert_eq 0 "$RC" "exit code ($name, run $run)" || status=1
      assert_contains "$CASE/dialogs.jsonl" '"kind":"filedialog","title":"Pick"' || status=1
      # The dialog's reply went out before the window closed.
      python3 - "$CASE/webview2.jsonl" <<'PY' || { fail "order of reply and close ($name, run $run)"; status=1; }
import json, sys
calls = [json.loads(line).get("call") or "" for line in open(sys.argv[1], encoding="utf-8")]
replies = [i for i, line in enumerate(open(sys.argv[1], encoding="utf-8")) if "u-dialog" in line and "PostWebMessageAsJson" in line]
closed = calls.index("Close") if "Close" in calls else -1
sys.exit(0 if replies and closed > replies[0] else 1)
PY
    done
  done
  return $status
}

test_a_failed_browser_shows_why_and_closes_on_the_first_click() {
  new_case browser-failed
  pack_app '[App]\nID=com.vantrel.test.failed\nName=Failed Browser\nDirName=app\nWidth=640\nHeight=360\n'
  FAKE_WEBVIEW2_ENVIRONMENT_RESULT=0x80004005 VANTREL_TEST_DIALOG_LOG="$CASE/dialogs.jsonl" \
    "$WINE" "$CASE/app.exe" >/dev/null 2>&1 &
  local app=$! status=0
  ( sleep 3; screenshot browser-failed ) &
  local shooter=$!
  run_test_program close_button_test || status=1
  wait "$shooter" 2>/dev/null || true
  local rc=0
  wait "$app" || rc=$?
  assert_eq 0 "$rc" "exit code" || status=1
  [ ! -s "$CASE/dialogs.jsonl" ] || { fail "a dialog was shown: $(cat "$CASE/dialogs.jsonl")"; status=1; }
  CASE="$WORK/browser-failed" kill_case_processes
  return $status
}

test_a_browser_whose_process_failed_closes_without_the_page() {
  new_case process-failed
  pack_app '[App]\nID=com.vantrel.test.processfailed\nName=Process Failed\nDirName=app\n'
  printf '%s\n' 'fail-process 0' 'wait 500' 'close' >"$CASE/scenario.txt"
  FAKE_WEBVIEW2_SCENARIO="$(winpath "$CASE/scenario.txt")" RUN_TIMEOUT=20 run_exe "$CASE/app.exe"
  kill_case_processes
  assert_eq 0 "$RC" "exit code"
  ! grep -qF '"call":"ExecuteScript","script":"vtl.events.onCloseQuery();"' "$CASE/webview2.jsonl" || fail "the dead page was asked"
}

test_delete_dir_removes_exactly_the_folder_it_names() {
  new_case delete-dir
  pack_app '[App]\nID=com.vantrel.test.deletedir\nName=Delete\nDirName=app\n'
  mkdir -p "$CASE/victims/a" "$CASE/victims/b" "$CASE/victims/keep" "$CASE/victims/gone"
  touch "$CASE/victims/a/x.log" "$CASE/victims/b/y.log"
  local base
  base=$(winpath "$CASE/victims")
  run_page "message-json {\"id\":40002,\"uuid\":\"u-wild\",\"data\":{\"dirPath\":\"$(json_text "$base\\*")\"}}
message-json {\"id\":40002,\"uuid\":\"u-nul\",\"data\":{\"dirPath\":\"$(json_text "$base\\a")\\u0000$(json_text "$base\\b")\"}}
message-json {\"id\":30002,\"uuid\":\"u-files\",\"data\":{\"filePath\":\"$(json_text "$base\\a\\*.log")\"}}
message-json {\"id\":40002,\"uuid\":\"u-one\",\"data\":{\"dirPath\":\"$(json_text "$base\\gone")\"}}"
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl" uuid
  for uuid in u-wild u-nul u-files; do assert_contains "$t" "\\\"uuid\\\": \\\"$uuid\\\", \\\"success\\\": true, \\\"result\\\": false"; done
  assert_contains "$t" '\"uuid\": \"u-one\", \"success\": true, \"result\": true'
  [ -d "$CASE/victims/a" ] && [ -d "$CASE/victims/b" ] && [ -d "$CASE/victims/keep" ] || fail "a folder not named was deleted"
  [ -f "$CASE/victims/a/x.log" ] || fail "a file matching the wildcard was deleted"
  [ ! -d "$CASE/victims/gone" ] || fail "the folder named was not deleted"
}
