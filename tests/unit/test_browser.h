#pragma once
// The browser control with a fake window system: a real worker thread, a UI
// queue the test runs with Settle(), and the WebView2 double as the loader.
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "shared/edge/edge_browser.h"
#include "engines/webview2/fake_webview2.h"

namespace vantrel::test {

constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070002u);

class TestBrowser : public TCustomEdgeBrowser {
 public:
  TestBrowser() : ui_(std::this_thread::get_id()) {}
  ~TestBrowser() override { Destroy(); }

  RECT client{0, 0, 801, 600};
  bool loaderMissing = false;
  bool acceptShortCut = false;
  std::vector<bool> selectNext;
  std::vector<UINT> shortCutMessages;
  std::vector<uint32_t> endedProcesses;
  std::vector<std::string> raised;  // errors that reached the UI loop
  int workerStarts = 0;
  std::vector<std::thread::id> completionThreads;

  // Runs queued UI work and the double's pending work until both are idle.
  void Settle() {
    for (int round = 0; round < 100; ++round) {
      bool ran = fake_webview2::Pump() > 0;
      for (;;) {
        std::function<void()> work;
        {
          std::lock_guard<std::mutex> guard(lock_);
          if (queue_.empty()) break;
          work = std::move(queue_.front());
          queue_.pop_front();
        }
        ran = true;
        work();
      }
      if (!ran) return;
    }
  }
  bool OnUiThread() const { return std::this_thread::get_id() == ui_; }

 protected:
  HWND NativeHandle() override { return reinterpret_cast<HWND>(0x1234); }
  RECT ClientRect() override { return client; }
  void SelectNext(bool forward) override { selectNext.push_back(forward); }
  bool IsShortCut(UINT message, WPARAM, LPARAM) override {
    shortCutMessages.push_back(message);
    return acceptShortCut;
  }
  void RunOnWorkerThread(std::function<void()> work) override {
    ++workerStarts;
    std::thread(std::move(work)).join();
  }
  void QueueToUiThread(std::function<void()> work) override {
    if (OnUiThread()) {
      work();
      return;
    }
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(std::move(work));
  }
  HRESULT LoaderCreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) override {
    return loaderMissing ? E_FAIL : fake_webview2::CreateEnvironment(handler);
  }
  HRESULT LoaderGetBrowserVersionString(LPWSTR* version) override {
    if (loaderMissing) return E_FAIL;
    *version = MakeCoTaskString(u"119.0.1.2");
    return S_OK;
  }
  HRESULT OpenFileStream(const ustring& path, IStream** stream) override {
    if (path == u"Z:\\no\\such\\folder\\shot.png") return kAccessDenied;
    *stream = TMemoryIStream::Owning({}).Detach();
    return S_OK;
  }
  void EndBrowserProcess(uint32_t id) override { endedProcesses.push_back(id); }
  void HandleException(const EEdgeError& e) override {
    raised.push_back(std::string(e.what()) + "|" + std::to_string(static_cast<unsigned>(e.ErrorCode())));
  }

 private:
  std::thread::id ui_;
  std::mutex lock_;
  std::deque<std::function<void()>> queue_;
};


}  // namespace vantrel::test
