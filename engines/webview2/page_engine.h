#pragma once
// The engine that runs a web view's pages. Without one, the web view plays
// scenario steps (the scripted engine: deterministic cases and faults); with
// one, what the host asks is passed on and the engine reports the page's
// events back through the web view (FakeWebView::Engine*).
#include <functional>

#include "platform/com_ptr.h"
#include "platform/ustring.h"
#include "platform/webview2.h"

namespace fake_webview2 {

using vantrel::ustring;
class FakeWebView;

class PageEngine {
 public:
  virtual ~PageEngine() = default;
  // The web view whose events this engine raises (nullptr: it is gone).
  virtual void Bind(FakeWebView* view) = 0;
  virtual void Navigate(const ustring& uri) = 0;
  virtual void AddScript(const ustring& source) = 0;
  // `done` gets the result as JSON ("null" when the script threw).
  virtual void Execute(const ustring& script, std::function<void(HRESULT, const ustring&)> done) = 0;
  virtual void PostJson(const ustring& json) = 0;
  virtual void PostString(const ustring& text) = 0;
  // `done` gets the PNG bytes of the page as shown.
  virtual void Capture(std::function<void(HRESULT, const std::string&)> done) = 0;
  virtual void Reload() = 0;
  virtual void Stop() = 0;
  // Where the page is shown: the host's window and the control's area in it.
  virtual void Place(HWND parent, const RECT& bounds, bool visible) = 0;
  virtual void Focus() = 0;
  virtual void Close() = 0;
  // Scenario steps only a real page can play (click, probe, ...); returns
  // false for steps it does not know. `next` runs when the step is done.
  virtual bool PlayStep(const std::string& verb, const std::string& argument, std::function<void()> next) = 0;
};

}  // namespace fake_webview2
