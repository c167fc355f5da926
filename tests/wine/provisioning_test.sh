# Browser runtime provisioning with the fake loader library and installer.

prov_ini() {  # ID [extra lines]
  printf '[App]\r\nID=%s\r\nName=Provisioning\r\nDirName=app\r\nPassword=pw\r\n%s' "$1" "${2:-}"
}

app_dir_of() { echo "$(wine_local_appdata)/$1"; }

test_runtime_present_writes_loader_once_and_sets_environment() {
  new_case runtime-present
  local id=com.vantrel.test.present dir
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "$(prov_ini $id)"
  # Inherited values are replaced or removed.
  WEBVIEW2_BROWSER_EXECUTABLE_FOLDER='C:\elsewhere' WEBVIEW2_RELEASE_CHANNEL_PREFERENCE=1 \
    WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS=--inherited run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code (prompt closed)"
  cmp -s "$FAKE_LOADER" "$dir/Win64/WebView2LoaderWin64.dll" || fail "loader library not written from the package"
  assert_contains "$CASE/webview2.jsonl" '"call":"GetAvailableCoreWebView2BrowserVersionString","folder":null'
  assert_contains "$CASE/webview2.jsonl" "\"WEBVIEW2_USER_DATA_FOLDER\":\"C:\\\\users\\\\$(basename "$(dirname "$(dirname "$(wine_local_appdata)")")")\\\\AppData\\\\Local\\\\$id\\\\Win64\\\\\""
  assert_contains "$CASE/webview2.jsonl" '"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS":"--disable-logging","WEBVIEW2_BROWSER_EXECUTABLE_FOLDER":null,"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE":null'
  assert_eq 1 "$(dialog_count)" "only the password prompt was shown"
  assert_contains "$CASE/dialogs.jsonl" '"kind":"form","title":"Provisioning"'

  # An existing loader file is used unchanged, whatever it holds.
  touch -d '2020-01-02 03:04:05' "$dir/Win64/WebView2LoaderWin64.dll"
  run_exe "$CASE/app.exe"
  assert_eq "2020-01-02 03:04:05" "$(date -r "$dir/Win64/WebView2LoaderWin64.dll" '+%F %T')" "loader file untouched"
}

test_runtime_missing_and_installation_not_allowed_shows_message_6() {
  new_case not-allowed
  local id=com.vantrel.test.notallowed dir
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "$(prov_ini $id 'EdgeInstaller=0\r\n')"
  FAKE_WEBVIEW2_VERSION= run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_eq 1 "$(dialog_count)" "dialogs"
  assert_contains "$CASE/dialogs.jsonl" '"title":"Error","text":"The Microsoft WebView2 runtime is required to run this application. This application cannot continue and will be closed now.","buttons":["Accept"]'
  [ -f "$dir/Win64/WebView2LoaderWin64.dll" ] || fail "nothing may be deleted"
}

test_declined_installation_deletes_the_folder_and_shows_message_8() {
  new_case declined
  local id=com.vantrel.test.declined dir
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "$(prov_ini $id)" --installer "$FAKE_INSTALLER"
  FAKE_WEBVIEW2_VERSION= DIALOG_ANSWER=2,default run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" '"kind":"taskdialog","title":"Confirm","text":"The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?","buttons":["Accept","Cancel"]'
  assert_contains "$CASE/dialogs.jsonl" '"title":"Error","text":"This application cannot continue and will be closed now."'
  [ ! -e "$dir" ] || fail "the per-application folder must be gone"
  ! grep -q '"call":"installer"' "$CASE/webview2.jsonl" || fail "the installer must not run"
}

test_successful_installation_restarts_the_program() {
  new_case installed
  local id=com.vantrel.test.installed dir
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "$(prov_ini $id 'InstallFormColor=$00804020\r\nInstallIndicatorType=2\r\n')" --installer "$FAKE_INSTALLER"
  FAKE_WEBVIEW2_VERSION= FAKE_INSTALLER_SUCCEEDS=1 FAKE_INSTALLER_SECONDS=5 SHOT_DIALOG_DELAY_MS=200 \
    FAKE_WEBVIEW2_INSTALLED_MARKER="$(winpath "$CASE/installed.marker")" \
    run_exe_with_screenshot installer-window 4 "$CASE/app.exe" $id "file:///app/child.html"
  assert_eq 0 "$RC" "exit code of the first process"
  assert_contains "$CASE/webview2.jsonl" '"call":"installer","arguments":"/silent /install"'
  assert_contains "$CASE/webview2.jsonl" '"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS":"--disable-logging"'
  [ ! -e "$dir/WebView2Installer.exe" ] || fail "installer file must be deleted"
  # The restarted process checks again and, having no arguments, asks for the password.
  for _ in $(seq 1 100); do
    [ "$(grep -c GetAvailable "$CASE/webview2.jsonl")" -ge 3 ] && grep -q '"kind":"form"' "$CASE/dialogs.jsonl" && break
    sleep 0.2
  done
  kill_case_processes
  assert_eq 3 "$(grep -c GetAvailable "$CASE/webview2.jsonl")" "runtime checks: before, after, restarted"
  assert_eq 1 "$(grep -c '"call":"installer"' "$CASE/webview2.jsonl")" "installer runs once"
  assert_contains "$CASE/dialogs.jsonl" '"kind":"form"'
}

test_failed_installation_deletes_the_folder_and_shows_message_9() {
  new_case install-failed
  local id=com.vantrel.test.failed dir
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "$(prov_ini $id)" --installer "$FAKE_INSTALLER"
  FAKE_WEBVIEW2_VERSION= run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '"call":"installer"'
  assert_contains "$CASE/dialogs.jsonl" '"text":"You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will be closed now."'
  [ ! -e "$dir" ] || fail "the per-application folder must be gone"
}

test_installer_missing_from_the_package_ends_with_message_9() {
  new_case no-installer
  local id=com.vantrel.test.noinstaller
  rm -rf "$(app_dir_of $id)"
  pack_app "$(prov_ini $id)"
  FAKE_WEBVIEW2_VERSION= run_exe "$CASE/app.exe"
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/dialogs.jsonl" '"text":"You cancel the installation'
}

# First starts at the same moment each write the loader library; none may
# read another's half-written copy (which would look like a missing runtime
# and ask to install one).
test_simultaneous_first_starts_all_start_without_a_dialog() {
  new_case parallel-first
  local id=com.vantrel.test.parallel dir i status=0
  dir=$(app_dir_of $id)
  rm -rf "$dir"
  pack_app "[App]\r\nID=$id\r\nName=Parallel\r\nDirName=app\r\nAllowInstances=1\r\n"
  local pids=()
  for i in 1 2 3 4; do
    VANTREL_TEST_DIALOG_LOG="$CASE/dialogs-$i.jsonl" VANTREL_TEST_DIALOG_ANSWER=default \
      FAKE_WEBVIEW2_TRANSCRIPT="$CASE/webview2-$i.jsonl" "$WINE" "$CASE/app.exe" >/dev/null 2>&1 &
    pids+=($!)
  done
  for i in 1 2 3 4; do
    for _ in $(seq 1 75); do grep -qs '"call":"Navigate"' "$CASE/webview2-$i.jsonl" && break; sleep 0.2; done
  done
  for i in 1 2 3 4; do
    grep -qs '"call":"Navigate"' "$CASE/webview2-$i.jsonl" || { fail "instance $i did not open its page"; status=1; }
    [ ! -s "$CASE/dialogs-$i.jsonl" ] || { fail "instance $i showed: $(cat "$CASE/dialogs-$i.jsonl")"; status=1; }
    kill -0 "${pids[$((i - 1))]}" 2>/dev/null || { fail "instance $i ended"; status=1; }
  done
  cmp -s "$FAKE_LOADER" "$dir/Win64/WebView2LoaderWin64.dll" || { fail "loader library differs"; status=1; }
  [ -z "$(find "$dir/Win64" -maxdepth 1 -name '*.tmp')" ] || { fail "temporary copies left"; status=1; }
  kill "${pids[@]}" 2>/dev/null || true
  wait "${pids[@]}" 2>/dev/null || true
  kill_case_processes
  return $status
}
