#pragma once
// The main window of an application's running instance, found by the
// application identifier, so that a second launch can bring it forward
// instead of ending without a sign.
#include <windows.h>

#include "platform/ustring.h"
#include "platform/win32/unique_handle.h"

namespace vantrel {

// Publishes `window` under the identifier for as long as it lives, unless
// another instance's live main window is published already; withdraws it
// when destroyed. Every instance keeps the shared record open.
class TRunningInstanceWindow {
 public:
  TRunningInstanceWindow(const ustring& appId, HWND window);
  ~TRunningInstanceWindow();
  TRunningInstanceWindow(const TRunningInstanceWindow&) = delete;
  TRunningInstanceWindow& operator=(const TRunningInstanceWindow&) = delete;

 private:
  win32::UniqueHandle FMapping;
  volatile LONG64* FSlot = nullptr;
  HWND FWindow;
};

// Restores the running instance's main window when minimized and makes it
// the foreground window; false when no such window is found.
bool BringRunningInstanceForward(const ustring& appId);

}  // namespace vantrel
