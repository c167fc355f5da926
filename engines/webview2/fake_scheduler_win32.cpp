// On Windows the double delivers its later work on the user-interface thread:
// the thread of its first Post (controller creation), through a hidden window.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "engines/webview2/fake_webview2.h"

namespace fake_webview2 {

namespace {
constexpr wchar_t kClassName[] = L"FakeWebView2Scheduler";
constexpr UINT kRunMessage = WM_APP + 0x57;

std::mutex gLock;
HWND gWindow = nullptr;
UINT_PTR gNextTimer = 1;
std::map<UINT_PTR, std::function<void()>> gTimers;

void Run(std::function<void()>& work) {
  try {
    work();
  } catch (...) {
  }
}

LRESULT CALLBACK SchedulerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunMessage) {
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    Run(*work);
    return 0;
  }
  if (message == WM_TIMER) {
    KillTimer(window, wParam);
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> guard(gLock);
      auto it = gTimers.find(wParam);
      if (it == gTimers.end()) return 0;
      work = std::move(it->second);
      gTimers.erase(it);
    }
    Run(work);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND SchedulerWindow() {
  std::lock_guard<std::mutex> guard(gLock);
  if (!gWindow) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SchedulerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    gWindow = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
  }
  return gWindow;
}
}  // namespace

void Post(std::function<void()> work, unsigned delayMs) {
  HWND window = SchedulerWindow();
  if (delayMs == 0) {
    auto* posted = new std::function<void()>(std::move(work));
    if (!PostMessageW(window, kRunMessage, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
    return;
  }
  UINT_PTR id;
  {
    std::lock_guard<std::mutex> guard(gLock);
    id = gNextTimer++;
    gTimers[id] = std::move(work);
  }
  SetTimer(window, id, delayMs, nullptr);
}

size_t Pump() { return 0; }  // the program's own message loop runs the work

}  // namespace fake_webview2
