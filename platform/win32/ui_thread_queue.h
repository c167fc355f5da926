#pragma once
// Runs procedures on the user-interface thread: at once when the caller is
// that thread, otherwise posted to a hidden message window and run there in
// the order they were queued, the caller not waiting.
#include <windows.h>

#include <functional>

namespace vantrel::win32 {

class UiThreadQueue {
 public:
  // Made on (and bound to) the calling thread, which must pump messages.
  UiThreadQueue();
  ~UiThreadQueue();
  UiThreadQueue(const UiThreadQueue&) = delete;
  UiThreadQueue& operator=(const UiThreadQueue&) = delete;

  void Queue(std::function<void()> work);
  bool IsUiThread() const { return GetCurrentThreadId() == thread_; }

  // Reports an error that escaped a queued procedure (the procedure's end).
  std::function<void(const std::exception&)> onError;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Run(std::function<void()>& work);

  DWORD thread_;
  HWND window_ = nullptr;
};

}  // namespace vantrel::win32
