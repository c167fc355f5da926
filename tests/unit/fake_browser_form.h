#pragma once
// A browser host form without a window: the test browser inside, and the
// window-side hooks recorded.
#include <memory>
#include <utility>
#include <vector>

#include "shared/hosting/browser_form_core.h"
#include "tests/unit/test_browser.h"

namespace vantrel::test {

class FakeForm : public TBrowserFormCore {
 public:
  FakeForm() : TBrowserFormCore(std::make_unique<TestBrowser>()) {}
  ~FakeForm() override { DestroyBrowser(); }
  TestBrowser& Browser() { return *static_cast<TestBrowser*>(EdgeBrowser()); }

  int progressHidden = 0, focusMoved = 0, parentFocused = 0;
  std::vector<std::pair<ustring, ustring>> started;

 protected:
  void HideProgressBar() override { ++progressHidden; }
  void FocusParentOfParent() override { ++focusMoved; }
  void FocusParent() override { ++parentFocused; }
  ustring OwnExecutablePath() const override { return u"C:\\Apps\\Demo.exe"; }
  void StartProcess(const ustring& exe, const ustring& parameters) override { started.emplace_back(exe, parameters); }
  ustring ExternalScriptText() const override { return u"window.vtl = {};"; }
};

}  // namespace vantrel::test
