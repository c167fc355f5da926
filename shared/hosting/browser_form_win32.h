#pragma once
// The browser host form: a borderless child window with the browser control
// filling it and a 4-pixel marquee progress bar along its bottom edge.
#include <windows.h>

#include "platform/win32/window_proc.h"
#include "shared/edge/edge_browser_win32.h"
#include "shared/hosting/browser_form_core.h"

namespace vantrel {

class TBrowserForm : public TBrowserFormCore {
 public:
  explicit TBrowserForm(HWND parent);
  ~TBrowserForm() override;

  HWND Handle() const { return FHandle; }
  TEdgeBrowser* Browser() const { return FBrowser; }
  void SetBounds(int left, int top, int width, int height);
  bool ProgressBarVisible() const;
  void FocusParent() override;

  friend LRESULT CALLBACK win32::FormWindowProc<TBrowserForm>(HWND, UINT, WPARAM, LPARAM);

 protected:
  void HideProgressBar() override;
  void FocusParentOfParent() override;
  ustring OwnExecutablePath() const override;
  void StartProcess(const ustring& exePath, const ustring& parameters) override;
  ustring ExternalScriptText() const override;

 private:
  void AttachHandle(HWND window) { FHandle = window; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Layout();
  static ustring FolderOfPath(const ustring& exePath);

  HWND FHandle = nullptr;
  HWND FProgressBar = nullptr;
  TEdgeBrowser* FBrowser;  // owned by the core
};

// The page-side API script carried as the program's RCDATA resource
// VTL_EXTERNAL_JAVASCRIPT (language 1033), decoded as UTF-8.
ustring LoadExternalScriptResource();

}  // namespace vantrel
