#include "runtime/win32/main_form.h"

#include <windows.h>

#include "platform/win32/win_text.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TMainForm";

LRESULT CALLBACK MainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

void RunMainForm(TStartupValues& values) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainFormProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  const int width = values.ProjectINI->ReadInteger(kAppSection, u"Width", 800);
  const int height = values.ProjectINI->ReadInteger(kAppSection, u"Height", 600);
  HWND window = CreateWindowExW(0, kClassName, win32::W(values.AppName), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, width > 0 ? width : 800, height > 0 ? height : 600, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vantrel
