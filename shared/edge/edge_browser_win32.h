#pragma once
// The browser control as a Win32 child window.
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/win32/ui_thread_queue.h"
#include "platform/win32/window_proc.h"
#include "shared/edge/edge_browser.h"

namespace vantrel {

class TEdgeBrowser : public TCustomEdgeBrowser {
 public:
  TEdgeBrowser();
  ~TEdgeBrowser() override;

  // Makes the control's window a child of `parent` (creating it on first
  // use) and starts the browser's creation.
  void SetParent(HWND parent);
  void SetBounds(int left, int top, int width, int height);
  void SetVisible(bool visible);
  bool Visible() const;
  // Destroys and makes the native window again (the browser moves with it).
  void RecreateWindow();
  HWND Handle() const { return FHandle; }

  // Decides whether a key the browser reports is a shortcut of the form
  // around the control (then the browser does not process it).
  std::function<bool(const MSG&)> OnIsShortCut;

  friend LRESULT CALLBACK win32::FormWindowProc<TEdgeBrowser>(HWND, UINT, WPARAM, LPARAM);

 protected:
  HWND NativeHandle() override;
  RECT ClientRect() override;
  void SelectNext(bool forward) override;
  bool IsShortCut(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RunOnWorkerThread(std::function<void()> work) override;
  void QueueToUiThread(std::function<void()> work) override;
  HRESULT LoaderCreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) override;
  HRESULT LoaderGetBrowserVersionString(LPWSTR* versionInfo) override;
  HRESULT OpenFileStream(const ustring& path, IStream** stream) override;
  void EndBrowserProcess(uint32_t processId) override;
  void HandleException(const EEdgeError& error) override;

 private:
  void AttachHandle(HWND window) { FHandle = window; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateHandle(HWND parent);

  HWND FHandle = nullptr;
  HWND FParent = nullptr;
  std::unique_ptr<win32::UiThreadQueue> FQueue = std::make_unique<win32::UiThreadQueue>();
};

}  // namespace vantrel
