# Page hosting: content types from the registry.

test_content_types_follow_the_registry() {
  run_test_program mime_registry_test
  assert_contains "$CASE/out.txt" "png: image/x-png"
  # A registration made with the system's own tool overrides the built-in row.
  "$WINE" reg add 'HKCR\MIME\Database\Content Type\image/png' /v Extension /d .png /f >/dev/null 2>&1
  run_test_program mime_registry_test
  "$WINE" reg delete 'HKCR\MIME\Database\Content Type\image/png' /f >/dev/null 2>&1 || true
  assert_contains "$CASE/out.txt" "png: image/png"
}
