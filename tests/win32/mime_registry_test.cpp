// The content-type table reads the system's registrations and notices their
// changes at the next lookup.
#include <windows.h>

#include "platform/win32/win_text.h"
#include "shared/util/str_utils.h"
#include "tests/win32/check.h"

using namespace vantrel;

namespace {
void Register(const wchar_t* type) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CLASSES_ROOT, L".vtltest", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExW(key, L"Content Type", 0, REG_SZ, reinterpret_cast<const BYTE*>(type),
                 static_cast<DWORD>((lstrlenW(type) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

ustring TypeAfterChange(const char16_t* name) {
  for (int i = 0; i < 20; ++i) {  // the notification may take a moment
    const ustring type = TStrUtils::GetFileMIMEType(name);
    if (type != u"application/octet-stream") return type;
    Sleep(50);
  }
  return TStrUtils::GetFileMIMEType(name);
}
}  // namespace

int wmain() {
  wintest::Checker c{"mime registry"};
  RegDeleteKeyW(HKEY_CLASSES_ROOT, L".vtltest");
  c.Check(TStrUtils::GetFileMIMEType(u"index.html") == u"text/html", "built-in rows");
  c.Check(TStrUtils::GetFileMIMEType(u"a.vtltest") == u"application/octet-stream", "unknown before registration");
  Register(L"Text/X-Vantrel");
  c.Check(TypeAfterChange(u"a.vtltest") == u"text/x-vantrel", "a new registration is seen at the next lookup");
  RegDeleteKeyW(HKEY_CLASSES_ROOT, L".vtltest");
  Sleep(200);
  c.Check(TStrUtils::GetFileMIMEType(u"a.vtltest") == u"application/octet-stream", "and its removal too");
  std::printf("png: %s\n", Utf16ToUtf8(TStrUtils::GetFileMIMEType(u"logo.png")).c_str());
  return c.Finish();
}
