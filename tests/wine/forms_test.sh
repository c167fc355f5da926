# The start-up windows: password prompt, message dialog, with screenshots.

test_password_gate_passes_only_the_exact_text() {
  new_case password
  set +e
  timeout 60 "$WINE" "$ROOT/build/windows/tests/win32/password_gate_test.exe" >"$CASE/out.txt" 2>&1
  local rc=$?
  set -e
  cat "$CASE/out.txt" | sed 's/^/    /'
  assert_eq 0 "$rc" "password gate test program"
  assert_contains "$CASE/out.txt" "4 passed, 0 failed"
}

test_screenshots_of_the_message_dialog_and_password_prompt() {
  new_case screenshots
  cp "$RUNTIME" "$CASE/plain.exe"
  run_exe_with_screenshot message-dialog 2 "$CASE/plain.exe"
  assert_eq 0 "$RC" "exit code"
  pack_app '[App]\r\nID=com.vantrel.test.shots\r\nName=Screenshot Test\r\nDirName=app\r\nPassword=x\r\n'
  run_exe_with_screenshot password-prompt 2 "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  if command -v import >/dev/null 2>&1; then
    [ -s "$SCREENSHOTS/message-dialog.png" ] || fail "no screenshot of the message dialog"
    [ -s "$SCREENSHOTS/password-prompt.png" ] || fail "no screenshot of the password prompt"
  fi
}

test_edge_loader_binding() {
  new_case edge-loader
  set +e
  timeout 60 "$WINE" "$ROOT/build/windows/tests/win32/edge_loader_test.exe" "$(winpath "$FAKE_LOADER")" \
    >"$CASE/out.txt" 2>&1
  local rc=$?
  set -e
  assert_eq 0 "$rc" "edge loader test program"
  assert_contains "$CASE/out.txt" "9 passed, 0 failed"
}
