# Icon and version edits of the program file (Windows resource functions).

test_icon_and_version_edits() {
  mkdir -p "$WORK/exe-resources"
  run_test_program exe_resources_test "$(winpath "$RUNTIME")" \
    "$(winpath "$ROOT/build/windows/tests/win32/edge_loader_test.exe")" "$(winpath "$WORK/exe-resources")"
}
