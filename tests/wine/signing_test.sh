# Signed programs: packed, then signed (by the packer or afterwards), they
# verify and still find their package; a signed runtime is not packed.

# make_signing_keys: a throwaway self-signed certificate in $CASE.
make_signing_keys() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$CASE/key.pem" -out "$CASE/cert.pem" -days 1 \
    -subj "/CN=Vantrel Test Signer" 2>/dev/null
}

# expect_signed_program_serves EXE: verifies the signature and runs EXE,
# whose page asks for its start page.
expect_signed_program_serves() {
  osslsigncode verify -CAfile "$CASE/cert.pem" -in "$1" >"$CASE/verify.txt" 2>&1 || fail "signature does not verify"
  "$PACK" inspect "$1" >"$CASE/inspect.txt"
  assert_contains "$CASE/inspect.txt" "Signature: certificate table of"
  assert_contains "$CASE/inspect.txt" "app/index.html"
  rm -f "$CASE/webview2.jsonl"
  cp "$1" "$CASE/app.exe"
  run_page 'request file:///index.html'
  assert_eq 0 "$RC" "exit code"
  assert_contains "$CASE/webview2.jsonl" '"uri":"file:///index.html","filtered":true,"answered":true,"status":200'
}

test_program_signed_by_the_packer_starts_and_serves_its_pages() {
  new_case signed-by-packer
  make_signing_keys
  pack_app '[App]\nID=com.vantrel.test.signed\nName=Signed\nDirName=app\n' \
    --sign-cert "$CASE/cert.pem" --sign-key "$CASE/key.pem"
  cp "$CASE/app.exe" "$CASE/signed.exe"
  expect_signed_program_serves "$CASE/signed.exe"
}

test_program_signed_after_packing_starts_and_serves_its_pages() {
  new_case signed-after
  make_signing_keys
  pack_app '[App]\nID=com.vantrel.test.signedafter\nName=Signed\nDirName=app\n'
  osslsigncode sign -certs "$CASE/cert.pem" -key "$CASE/key.pem" -in "$CASE/app.exe" -out "$CASE/signed.exe" >/dev/null
  expect_signed_program_serves "$CASE/signed.exe"
}

test_signed_runtime_is_not_packed() {
  new_case signed-runtime
  make_signing_keys
  osslsigncode sign -certs "$CASE/cert.pem" -key "$CASE/key.pem" -in "$RUNTIME" -out "$CASE/runtime.exe" >/dev/null
  printf '[App]\nID=com.vantrel.test.x\nName=X\nDirName=app\n' >"$CASE/vtl.ini"
  set +e
  "$PACK" --quiet --runtime "$CASE/runtime.exe" --app "$CASE/app" --ini "$CASE/vtl.ini" --no-loader \
    --output "$CASE/app.exe" 2>"$CASE/err.txt"
  local rc=$?
  set -e
  assert_eq 1 "$rc" "packer exit code"
  assert_contains "$CASE/err.txt" "runtime.exe\" is signed"
  [ ! -e "$CASE/app.exe" ] || fail "an output was written"
}
