// What the double shows where the page would be: its address, title and the
// latest transcript lines, so that screenshots and the demo run under Wine
// show what the page did.
#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>

#include "platform/com_text.h"
#include "engines/webview2/fake_browser.h"

namespace fake_webview2 {

namespace {
constexpr size_t kShownLines = 24;
std::mutex gLinesLock;
std::deque<std::string> gLines;
std::atomic<bool> gRefreshPending{false};
HWND gView = nullptr;

std::wstring Wide(const std::string& utf8) {
  const ustring text = vantrel::Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

void Refresh() {
  gRefreshPending = false;
  FakeController* controller = CurrentController();
  // A real engine shows the page itself.
  if (!controller || controller->WebView()->Engine()) return;
  HWND parent = nullptr;
  RECT bounds{};
  BOOL visible = FALSE;
  controller->get_ParentWindow(&parent);
  controller->get_Bounds(&bounds);
  controller->get_IsVisible(&visible);
  if (!parent || !IsWindow(parent)) return;
  if (!gView || GetParent(gView) != parent) {
    if (gView && IsWindow(gView)) DestroyWindow(gView);
    gView = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(gView, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
  }
  std::string text = "WebView2 test double: the page is played by a scenario.\r\n\r\n";
  if (FakeWebView* web = controller->WebView()) {
    LPWSTR source = nullptr, title = nullptr;
    web->get_Source(&source);
    web->get_DocumentTitle(&title);
    text += "Address: " + vantrel::Utf16ToUtf8(vantrel::TakeCoTaskString(source)) + "\r\n";
    text += "Title:   " + vantrel::Utf16ToUtf8(vantrel::TakeCoTaskString(title)) + "\r\n\r\n";
  }
  {
    std::lock_guard<std::mutex> guard(gLinesLock);
    for (const auto& line : gLines) text += line + "\r\n";
  }
  SetWindowTextW(gView, Wide(text).c_str());
  MoveWindow(gView, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  ShowWindow(gView, visible ? SW_SHOWNA : SW_HIDE);
}
}  // namespace

void PageViewRecorded(const std::string& line) {
  {
    std::lock_guard<std::mutex> guard(gLinesLock);
    gLines.push_back(line.size() > 150 ? line.substr(0, 147) + "..." : line);
    while (gLines.size() > kShownLines) gLines.pop_front();
  }
  // Only once the controller exists: the scheduler then lives on the UI thread.
  if (CurrentController() && !gRefreshPending.exchange(true)) Post(Refresh);
}

}  // namespace fake_webview2
