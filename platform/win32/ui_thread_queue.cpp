#include "platform/win32/ui_thread_queue.h"

#include <exception>
#include <memory>

namespace vantrel::win32 {

namespace {
constexpr wchar_t kClassName[] = L"VantrelUiThreadQueue";
constexpr UINT kRunMessage = WM_APP + 0x51;
}  // namespace

UiThreadQueue::UiThreadQueue() : thread_(GetCurrentThreadId()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  if (!GetClassInfoExW(instance, kClassName, &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
  }
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UiThreadQueue::~UiThreadQueue() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  // Procedures still queued are dropped with their messages.
  MSG message;
  while (PeekMessageW(&message, window_, kRunMessage, kRunMessage, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(message.lParam);
  }
  DestroyWindow(window_);
}

void UiThreadQueue::Queue(std::function<void()> work) {
  if (IsUiThread()) {
    Run(work);
    return;
  }
  auto* posted = new std::function<void()>(std::move(work));
  if (!PostMessageW(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void UiThreadQueue::Run(std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    if (onError) onError(error);
  } catch (...) {
  }
}

LRESULT CALLBACK UiThreadQueue::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunMessage) {
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    auto* queue = reinterpret_cast<UiThreadQueue*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (queue && work) queue->Run(*work);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantrel::win32
