#pragma once
// A web view's pages in a real Chromium: what the host asks of the web view
// goes to the helper as operations, the helper's events come back on the
// user-interface thread and are raised to the host through the web view.
#include <map>
#include <memory>

#include "engines/chromium/helper_link_win32.h"
#include "engines/chromium/page_view_win32.h"
#include "engines/webview2/page_engine.h"

namespace vantrel::chromium {

class ChromiumEngine final : public fake_webview2::PageEngine, public std::enable_shared_from_this<ChromiumEngine> {
 public:
  // Waits for a launched helper's Chromium (see HelperLink); throws
  // std::runtime_error saying why it did not come. `version` gets
  // Chromium's version text.
  static std::shared_ptr<ChromiumEngine> Start(HelperLaunch& launch, std::string& version);
  ~ChromiumEngine() override;

  // Events flow from the first binding on, which comes on the thread that
  // runs the host's windows: the thread they are delivered on.
  void Bind(fake_webview2::FakeWebView* view) override;
  void Navigate(const ustring& uri) override;
  void AddScript(const ustring& source) override;
  void Execute(const ustring& script, std::function<void(HRESULT, const ustring&)> done) override;
  void PostJson(const ustring& json) override;
  void PostString(const ustring& text) override;
  void Capture(std::function<void(HRESULT, const std::string&)> done) override;
  void Reload() override;
  void Stop() override;
  void Place(HWND parent, const RECT& bounds, bool visible) override;
  void Focus() override;
  void Close() override;
  bool PlayStep(const std::string& verb, const std::string& argument, std::function<void()> next) override;

 private:
  explicit ChromiumEngine(std::unique_ptr<HelperLink> link);
  void Listen();
  void Handle(const std::string& line);
  void Send(const std::string& op) { link_->Send(op); }
  void RunScript(const std::string& script, std::function<void(HRESULT, const ustring&)> done);
  void Click(const std::string& selector, std::function<void()> next);
  void WaitFor(const std::string& script, DWORD deadline, std::function<void()> next);

  std::unique_ptr<HelperLink> link_;
  fake_webview2::FakeWebView* view_ = nullptr;
  PageView pageView_;
  std::map<int, std::function<void(HRESULT, const ustring&)>> executions_;
  std::map<int, std::function<void(HRESULT, const std::string&)>> captures_;
  int nextId_ = 1;
  int width_ = 0, height_ = 0;
  bool screencasting_ = false;
  bool navigated_ = false;
  bool closed_ = false;
  bool failed_ = false;
  bool listening_ = false;
};

}  // namespace vantrel::chromium
