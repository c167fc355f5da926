# Icon and version edits of the program file (Windows resource functions).

test_icon_and_version_edits() {
  mkdir -p "$WORK/exe-resources"
  run_test_program exe_resources_test "$(winpath "$RUNTIME")" \
    "$(winpath "$ROOT/build/windows/tests/win32/edge_loader_test.exe")" "$(winpath "$WORK/exe-resources")"
}

PE_DUMP="$ROOT/build/native/tests/unit/vantrel-pe-dump"

test_packing_with_icon_and_version_texts_keeps_the_program_working() {
  new_demo_case pack-icon
  convert -size 48x48 xc:'#d62d1a' -define icon:auto-resize=48,32,16 "$CASE/red.ico"
  WINE="$WINE" pack_app "$(cat "$ROOT/examples/demo/vtl.ini")" --icon "$CASE/red.ico" \
    --company "Ünïcode Tools" --file-version 2.1.0.7 --product-name "Vantrel Demo" --comments "100% offline"
  "$PE_DUMP" "$CASE/app.exe" >"$CASE/resources.txt"
  assert_contains "$CASE/resources.txt" "14 MAINICON 1033 48"
  assert_contains "$CASE/resources.txt" "version 0 CompanyName=Ünïcode Tools"
  assert_contains "$CASE/resources.txt" "version 0 FileVersion=2.1.0.7"
  assert_contains "$CASE/resources.txt" "version 0 ProductVersion=1.0.0.0"
  assert_contains "$CASE/resources.txt" "version 0 Comments=100% offline"
  assert_contains "$CASE/resources.txt" "version 1033 FileVersion=1.0.0.0"

  # The package is appended after the edits, so the program still reads it.
  rm -rf "$CASE/app"
  run_page 'request file:///css/site.css'
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '"uri":"file:///index.html","filtered":true,"answered":true,"status":200'
  assert_contains "$CASE/webview2.jsonl" '"uri":"file:///css/site.css","filtered":true,"answered":true,"status":200'
}

test_packing_refuses_bad_icons_and_long_version_texts() {
  new_case pack-refused
  printf 'MZ not an icon' >"$CASE/bad.ico"
  set +e
  WINE="$WINE" pack_app '[App]\nID=com.vantrel.test.refused\nName=Refused\nDirName=app\n' --icon "$CASE/bad.ico" 2>"$CASE/err1.txt"
  local rc1=$?
  pack_app '[App]\nID=com.vantrel.test.refused\nName=Refused\nDirName=app\n' --file-version 10.20.30.40 2>"$CASE/err2.txt"
  local rc2=$?
  set -e
  assert_eq 1 "$rc1" "packer exit code for a bad icon"
  assert_contains "$CASE/err1.txt" "vantrel-pack: Icon file is invalid"
  assert_eq 1 "$rc2" "packer exit code for a long version"
  assert_contains "$CASE/err2.txt" "FileVersion is longer than 7 characters"
  [ ! -e "$CASE/app.exe" ] || fail "no output after a refused pack"
  [ -z "$(ls "$CASE" | grep partial)" ] || fail "temporary files left behind"
}

test_windows_packer_packs_with_an_icon_directly() {
  new_demo_case pack-windows
  cp "$ROOT/examples/demo/vtl.ini" "$CASE/vtl.ini"
  convert -size 32x32 xc:'#2da44e' "$CASE/green.ico"
  set +e
  "$WINE" "$ROOT/build/windows/tools/pack/vantrel-pack.exe" --quiet --runtime "$(winpath "$RUNTIME")" \
    --app "$(winpath "$CASE/app")" --ini "$(winpath "$CASE/vtl.ini")" --loader "$(winpath "$FAKE_LOADER")" \
    --icon "$(winpath "$CASE/green.ico")" --product-name "Demo built on Windows" \
    --output "$(winpath "$CASE/app.exe")" >"$CASE/pack.txt" 2>&1
  local rc=$?
  set -e
  assert_eq 0 "$rc" "Windows packer exit code"
  "$PE_DUMP" "$CASE/app.exe" >"$CASE/resources.txt"
  assert_contains "$CASE/resources.txt" "14 MAINICON 1033 20"
  assert_contains "$CASE/resources.txt" "version 0 ProductName=Demo built on Windows"
  rm -rf "$CASE/app"
  run_page 'request file:///js/app.js'
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '"uri":"file:///js/app.js","filtered":true,"answered":true,"status":200'
}

# The Linux packer rewrites the resource section itself; the Windows packer
# uses the system's resource functions. The same edits give the same
# resources: icon images and group byte for byte, the same version texts (the
# Windows resource is the platform's larger buffer holding the same block).
test_linux_and_windows_resource_edits_agree() {
  new_case edits-agree
  convert -size 64x64 xc:'#7a3fd6' -define icon:auto-resize=64,48,16 "$CASE/purple.ico"
  local texts='CompanyName=Ünïcode Tools
FileVersion=3.0.0.1
ProductName=Same on both
Comments=100% offline'
  printf 'Icon=%s\n%s\n' "$CASE/purple.ico" "$texts" >"$CASE/linux.txt"
  printf 'Icon=%s\n%s\n' "$(winpath "$CASE/purple.ico")" "$texts" >"$CASE/windows.txt"
  cp "$RUNTIME" "$CASE/linux.exe"
  cp "$RUNTIME" "$CASE/windows.exe"
  "$PACK" --edit-resources "$CASE/linux.exe" "$CASE/linux.txt"
  "$WINE" "$ROOT/build/windows/tools/pack/vantrel-pack.exe" --edit-resources "$(winpath "$CASE/windows.exe")" \
    "$(winpath "$CASE/windows.txt")" >"$CASE/wine.txt" 2>&1 || fail "Windows edit failed: $(cat "$CASE/wine.txt")"
  # The old images 4..6 stay behind under Wine (its UpdateResourceW keeps deleted resources).
  "$PE_DUMP" "$CASE/linux.exe" | grep -v '^16 ' >"$CASE/linux-resources.txt"
  "$PE_DUMP" "$CASE/windows.exe" | grep -v '^16 \|^3 [456] ' >"$CASE/windows-resources.txt"
  diff "$CASE/linux-resources.txt" "$CASE/windows-resources.txt" >"$CASE/diff.txt" || fail "resources differ: $(cat "$CASE/diff.txt")"
  assert_contains "$CASE/linux-resources.txt" "version 0 CompanyName=Ünïcode Tools"
  assert_contains "$CASE/linux-resources.txt" "version 1033 FileVersion=1.0.0.0"
  [ -z "$("$PE_DUMP" "$CASE/linux.exe" | grep '^3 [456] ')" ] || fail "the Linux edit left old icons"
  # The rewritten program still starts as a Windows program.
  new_case edits-agree-run
  pack_app '[App]\nID=com.vantrel.test.agree\nName=Agree\nDirName=app\n' --icon "$WORK/edits-agree/purple.ico"
  run_page 'request file:///index.html'
  assert_eq 0 "$RC" "exit code"
}
