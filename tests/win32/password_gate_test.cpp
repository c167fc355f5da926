// Drives the real password prompt with scripted key presses posted to its
// edit box and checks when it closes. Exit code 0 when every case passed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/win32/require_password_form.h"

using vantrel::TRequirePasswordForm;

namespace {

struct Case {
  const char* name;
  std::wstring password;
  std::wstring typed;     // characters posted one by one, each with its key release
  bool closeAfterwards;   // then the close box
  int expectedResult;
  std::wstring expectedTextAtEnd;
};

struct Script {
  TRequirePasswordForm* form;
  const Case* testCase;
  size_t next = 0;
};
Script* gScript = nullptr;

void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
  Script& s = *gScript;
  HWND edit = s.form->PasswordEdit();
  if (s.next < s.testCase->typed.size()) {
    const wchar_t c = s.testCase->typed[s.next++];
    const SHORT vk = VkKeyScanW(c);
    PostMessageW(edit, WM_CHAR, c, 1);
    PostMessageW(edit, WM_KEYUP, LOBYTE(vk), 0xC0000001);
    return;
  }
  KillTimer(nullptr, timer);
  if (s.testCase->closeAfterwards) PostMessageW(s.form->Handle(), WM_CLOSE, 0, 0);
}

bool Run(const Case& c) {
  TRequirePasswordForm form;
  form.SetCaption(u"Password Test");
  form.SetPassword(std::u16string(c.password.begin(), c.password.end()));
  Script script{&form, &c};
  gScript = &script;
  SetTimer(nullptr, 0, 30, Step);
  const int result = form.ShowModal();
  wchar_t text[256] = {};
  GetWindowTextW(form.PasswordEdit(), text, 256);
  const bool ok = result == c.expectedResult && text == c.expectedTextAtEnd;
  std::printf("%s %s (result %d)\n", ok ? "ok  " : "FAIL", c.name, result);
  return ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<Case> cases = {
      {"exact text passes on the last key release", L"Open Sesame", L"Open Sesame", false, 1, L"Open Sesame"},
      {"other letter case does not pass", L"Open Sesame", L"open sesame", true, 2, L"open sesame"},
      {"a prefix with Enter does not pass", L"abc", L"ab\r", true, 2, L"ab"},
      {"typing on past the password closes at the match", L"ab", L"abc", false, 1, L"ab"},
  };
  int passed = 0, failed = 0;
  for (const Case& c : cases) (Run(c) ? passed : failed)++;
  std::printf("password gate: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
