# Start-up of the real program: package, configuration, exit codes, instances.

VALID_INI='[App]\r\nID=com.vantrel.test.startup\r\nName=Startup Test\r\nDirName=app\r\n'

test_program_without_package_shows_message_5_and_exits_0() {
  new_case no-package
  cp "$RUNTIME" "$CASE/plain.exe"
  run_exe "$CASE/plain.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" '"title":"Error","text":"This is not a valid Windows application.","buttons":["Accept"]'
}

test_message_5_follows_the_users_language() {
  new_case language
  cp "$RUNTIME" "$CASE/plain.exe"
  WINE_LANG=es_ES.UTF-8 run_exe "$CASE/plain.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" '"text":"Esta no es una aplicación de Windows válida.","buttons":["Aceptar"]'
  rm -f "$CASE/dialogs.jsonl"
  WINE_LANG=pt_BR.UTF-8 run_exe "$CASE/plain.exe"
  assert_contains "$CASE/dialogs.jsonl" '"text":"This is not a valid Windows application."'
}

test_missing_identity_ends_quietly() {
  new_case missing-id
  pack_raw '[App]\r\nName=No Id\r\nDirName=app\r\n'
  run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_eq 0 "$(dialog_count)" "dialogs shown"
}

# An identifier that names the application-data folder itself (or its parent)
# must never lead to a deletion there, even when the user declines the
# runtime's installation.
test_identifier_that_is_not_a_folder_of_its_own_is_refused() {
  new_case bad-id
  cp "$FAKE_LOADER" "$CASE/WebView2LoaderWin64.dll"
  local appdata before after id status=0
  appdata=$(wine_local_appdata)
  mkdir -p "$appdata/com.vantrel.test.bystander"
  echo keep >"$appdata/com.vantrel.test.bystander/data.txt"
  for id in . .. 'a\\b' CON; do
    pack_raw "[App]\r\nID=$id\r\nName=Bad\r\nDirName=app\r\n" WebView2LoaderWin64.dll
    before=$(cd "$appdata/.." && find . | sort | md5sum)
    rm -f "$CASE/dialogs.jsonl"
    FAKE_WEBVIEW2_VERSION='' DIALOG_ANSWER=2 run_exe "$CASE/app.exe"
    after=$(cd "$appdata/.." && find . | sort | md5sum)
    assert_eq 1 "$RC" "exit code for ID=$id" || status=1
    assert_contains "$CASE/dialogs.jsonl" '"title":"Application Error"' || status=1
    assert_contains "$CASE/dialogs.jsonl" 'cannot be used' || status=1
    assert_eq "$before" "$after" "local application data after ID=$id" || status=1
  done
  [ -f "$appdata/com.vantrel.test.bystander/data.txt" ] || { fail "another application's folder is gone"; status=1; }
  rm -rf "$appdata/com.vantrel.test.bystander"
  return $status
}

test_damaged_package_is_an_application_error() {
  new_case corrupt
  # Not a ZIP at all, one byte, and a real package cut in half.
  { cat "$RUNTIME"; head -c 3000 /dev/urandom; } >"$CASE/garbage.exe"
  { cat "$RUNTIME"; printf 'P'; } >"$CASE/onebyte.exe"
  pack_app "$VALID_INI"
  local size=$(( $(stat -c %s "$CASE/app.exe") - $(stat -c %s "$RUNTIME") ))
  cp "$RUNTIME" "$CASE/cut.exe"
  dd if="$CASE/app.exe" bs=1 skip="$(stat -c %s "$RUNTIME")" count=$((size / 2)) status=none >>"$CASE/cut.exe"
  for exe in garbage onebyte cut; do
    rm -f "$CASE/dialogs.jsonl"
    run_exe "$CASE/$exe.exe"
    assert_eq 1 "$RC" "exit code of $exe"
    assert_contains "$CASE/dialogs.jsonl" '"title":"Application Error"'
  done
}

test_wrong_password_is_an_application_error() {
  new_case wrong-password
  printf '%b' "$VALID_INI" >"$CASE/vtl.ini"
  (cd "$CASE" && zip -q -0 -P not-the-password pkg.zip vtl.ini app/index.html)
  cat "$RUNTIME" "$CASE/pkg.zip" >"$CASE/app.exe"
  run_exe "$CASE/app.exe"
  assert_eq 1 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" 'Wrong password'
}

test_package_made_by_the_zip_tool_is_read() {
  new_case zip-tool
  printf '%b' '[app]\nid=com.vantrel.test.ziptool\nname=Zip\ndirname=app\nAllowInstances=1\n' >"$CASE/vtl.ini"
  cp "$FAKE_LOADER" "$CASE/WebView2LoaderWin64.dll"
  (cd "$CASE" && zip -q -P "$PASSWORD" pkg.zip vtl.ini WebView2LoaderWin64.dll app/index.html)
  cat "$RUNTIME" "$CASE/pkg.zip" >"$CASE/app.exe"
  local appdata
  appdata=$(wine_local_appdata)
  rm -rf "$appdata/com.vantrel.test.ziptool"
  RUN_TIMEOUT=6 run_exe "$CASE/app.exe"
  kill_case_processes
  assert_eq 124 "$RC" "still running with its window (killed by the test)"
  [ -d "$appdata/com.vantrel.test.ziptool/Win64" ] || fail "per-application folders not made"
}

wait_for_dir() {
  for _ in $(seq 1 100); do [ -d "$1" ] && return 0; sleep 0.2; done
  fail "folder $1 never appeared"
}

test_single_instance_rule() {
  new_case instances
  pack_app '[App]\r\nID=com.vantrel.test.single\r\nName=Single\r\nDirName=app\r\n'
  local appdata
  appdata=$(wine_local_appdata)
  rm -rf "$appdata/com.vantrel.test.single"
  "$WINE" "$CASE/app.exe" >/dev/null 2>&1 &
  local first=$!
  wait_for_dir "$appdata/com.vantrel.test.single/Win64"
  sleep 1
  local status=0
  kill -0 "$first" || fail "first instance is not running"

  RUN_TIMEOUT=20 run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "second plain launch" || status=1
  RUN_TIMEOUT=20 run_exe "$CASE/app.exe" com.vantrel.test.single
  assert_eq 0 "$RC" "launch with only the identifier" || status=1
  RUN_TIMEOUT=5 run_exe "$CASE/app.exe" com.vantrel.test.single "file:///app/index.html"
  assert_eq 124 "$RC" "child instance keeps running (killed by the test)" || status=1

  kill "$first" 2>/dev/null || true
  wait "$first" 2>/dev/null || true
  kill_case_processes
  return $status
}

test_second_launch_brings_the_running_window_forward() {
  new_case second-launch
  pack_app '[App]\r\nID=com.vantrel.test.secondlaunch\r\nName=Second Launch\r\nDirName=app\r\n'
  "$WINE" "$CASE/app.exe" >/dev/null 2>&1 &
  local first=$! status=0
  run_test_program second_launch_test "$(winpath "$WORK/second-launch/app.exe")" || status=1
  kill "$first" 2>/dev/null || true
  wait "$first" 2>/dev/null || true
  CASE="$WORK/second-launch" kill_case_processes
  return $status
}
