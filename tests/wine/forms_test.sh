# The start-up windows: password prompt, message dialog, with screenshots.

test_password_gate_passes_only_the_exact_text() {
  run_test_program password_gate_test
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
  run_test_program edge_loader_test "$(winpath "$FAKE_LOADER")"
}

test_system_utilities_and_messages() {
  run_test_program sys_utils_test
}

test_unknown_theme_reports_the_style_and_start_up_continues() {
  new_case theme
  pack_app '[App]\r\nID=com.vantrel.test.theme\r\nName=Theme\r\nDirName=app\r\nTheme=windows\r\nPassword=x\r\n'
  run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" '"title":"Error","text":"Style '"'"'windows'"'"' not found"'
  assert_contains "$CASE/dialogs.jsonl" '"kind":"form","title":"Theme"'
}
