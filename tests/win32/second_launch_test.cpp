// A second plain launch of a running application brings the running
// instance's main window forward and ends with exit code 0.
// Usage: second_launch_test.exe APP.exe (the first instance already runs).
#include <windows.h>

#include <string>

#include "tests/win32/check.h"

namespace {
HWND WaitForMainWindow() {
  for (int i = 0; i < 100; ++i) {
    if (HWND window = FindWindowW(L"TMainForm", nullptr)) return window;
    Sleep(100);
  }
  return nullptr;
}

// A window of this program's own, made the foreground window.
HWND TakeForeground() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SecondLaunchProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"SecondLaunchProbe", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                100, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(window);
  return window;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  }
}

DWORD RunAndWait(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 0xFFFFFFFF;
  }
  DWORD code = 0xFFFFFFFE;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  wintest::Checker check{"second launch"};
  if (argc != 2) return 2;
  const HWND app = WaitForMainWindow();
  check.Check(app != nullptr, "the first instance shows its main window");
  if (!app) return check.Finish();

  ShowWindow(app, SW_MINIMIZE);
  const HWND probe = TakeForeground();
  PumpFor(500);
  check.Check(IsIconic(app), "the first instance's window is minimized");
  check.Check(GetForegroundWindow() == probe, "another window is in the foreground");

  check.Check(RunAndWait(argv[1]) == 0, "the second launch ends with exit code 0");
  PumpFor(500);
  check.Check(GetForegroundWindow() == app, "the first instance's window is the foreground window");
  check.Check(!IsIconic(app), "and is restored");
  check.Check(FindWindowExW(nullptr, app, L"TMainForm", nullptr) == nullptr, "no second main window was made");
  DestroyWindow(probe);
  return check.Finish();
}
