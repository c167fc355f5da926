// The main window closes on the first click of its close button (a
// WM_SYSCOMMAND SC_CLOSE, as the button sends) when no page can answer.
// Usage: close_button_test.exe (the program already runs).
#include <windows.h>

#include "tests/win32/check.h"

int wmain() {
  wintest::Checker check{"close button"};
  HWND window = nullptr;
  for (int i = 0; i < 150 && !window; ++i, Sleep(100)) window = FindWindowW(L"TMainForm", nullptr);
  check.Check(window != nullptr, "the main window is shown");
  if (!window) return check.Finish();
  Sleep(1500);  // the browser's creation has failed by now
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  bool closed = false;
  for (int i = 0; i < 50 && !closed; ++i, Sleep(100)) closed = !IsWindow(window);
  check.Check(closed, "one click on the close button closes it");
  return check.Finish();
}
