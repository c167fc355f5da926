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

test_package_files_are_served_to_the_page() {
  new_demo_case serve-demo
  local demo="$ROOT/examples/demo/app"
  pack_app "$(cat "$ROOT/examples/demo/vtl.ini")"
  # Only the package can answer now.
  rm -rf "$CASE/app"
  run_page 'request file:///css/site.css
request file:///JS/APP.JS
request file:///img/logo.svg
request file:///pages/about.html
request FILE:///pages/about.html
request file:///missing.html
request file:///index.html?x=1
request http://example.com/index.html
request https://example.com/css/site.css'
  assert_eq 0 "$RC" "exit code"
  local t="$CASE/webview2.jsonl" entry file type
  assert_contains "$t" '{"call":"Navigate","uri":"file:///index.html"}'
  for entry in index.html:index.html:text/html css/site.css:css/site.css:text/css JS/APP.JS:js/app.js:text/javascript \
               img/logo.svg:img/logo.svg:image/svg+xml pages/about.html:pages/about.html:text/html; do
    IFS=: read -r uri file type <<<"$entry"
    assert_contains "$t" "\"uri\":\"file:///$uri\",\"filtered\":true,\"answered\":true,\"status\":200,\"reason\":\"OK\",\"headers\":\"Content-Type: $type; charset=utf-8\",\"bodyLength\":$(stat -c %s "$demo/$file"),\"bodyFnv1a64\":\"$(fnv1a64 "$demo/$file")\""
  done
  # A query is no part of the file's name.
  assert_contains "$t" "\"uri\":\"file:///index.html?x=1\",\"filtered\":true,\"answered\":true,\"status\":200,\"reason\":\"OK\",\"headers\":\"Content-Type: text/html; charset=utf-8\",\"bodyLength\":$(stat -c %s "$demo/index.html"),"
  # Only the exact text "file:///" is taken off, so this one is looked for under its own name.
  for uri in FILE:///pages/about.html file:///missing.html http://example.com/index.html https://example.com/css/site.css; do
    assert_contains "$t" "\"uri\":\"$uri\",\"filtered\":true,\"answered\":false}"
  done
}
