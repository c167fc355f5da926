#include "shared/edge/edge_browser_win32.h"

#include <shlwapi.h>

#include <thread>

#include "platform/win32/dialog_automation.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"
#include "shared/edge/edge_loader.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TEdgeBrowser";
constexpr DWORD kWaitForBrowserMs = 2000;

void RegisterControlClass(HINSTANCE instance) {
  win32::RegisterFormClass(instance, {kClassName, win32::FormWindowProc<TEdgeBrowser>, CS_DBLCLKS});
}
}  // namespace

TEdgeBrowser::TEdgeBrowser() {
  FQueue->onError = [](const std::exception& error) {
    win32::ShowMessageBox(GetActiveWindow(), U(error.what()), u"Error", MB_OK | MB_ICONERROR);
  };
}

TEdgeBrowser::~TEdgeBrowser() {
  Destroy();
  win32::DestroyFormWindow(FHandle);
}

void TEdgeBrowser::CreateHandle(HWND parent) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterControlClass(instance);
  RECT area = {0, 0, 0, 0};
  if (parent) GetClientRect(parent, &area);
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                  area.right, area.bottom, parent ? parent : HWND_MESSAGE, nullptr, instance, this);
}

void TEdgeBrowser::SetParent(HWND parent) {
  FParent = parent;
  if (!FHandle) {
    CreateHandle(parent);
  } else {
    ::SetParent(FHandle, parent);
  }
  ParentChanged(parent != nullptr);
}

void TEdgeBrowser::SetBounds(int left, int top, int width, int height) {
  if (FHandle) MoveWindow(FHandle, left, top, width, height, TRUE);
}

void TEdgeBrowser::SetVisible(bool visible) {
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE);
}

bool TEdgeBrowser::Visible() const { return FHandle && IsWindowVisible(FHandle); }

void TEdgeBrowser::RecreateWindow() {
  win32::DestroyFormWindow(FHandle);
  FHandle = nullptr;
  CreateHandle(FParent);
  WindowRecreated();
}

HWND TEdgeBrowser::NativeHandle() {
  if (!FHandle) CreateHandle(FParent);
  return FHandle;
}

RECT TEdgeBrowser::ClientRect() {
  RECT rect = {0, 0, 0, 0};
  if (FHandle) GetClientRect(FHandle, &rect);
  return rect;
}

void TEdgeBrowser::SelectNext(bool forward) {
  HWND root = FHandle ? GetAncestor(FHandle, GA_ROOT) : nullptr;
  if (!root) return;
  if (HWND next = GetNextDlgTabItem(root, FHandle, forward ? FALSE : TRUE); next && next != FHandle) {
    ::SetFocus(next);
  }
}

bool TEdgeBrowser::IsShortCut(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND root = FHandle ? GetAncestor(FHandle, GA_ROOT) : nullptr;
  if (!root || !OnIsShortCut) return false;
  MSG key = {};
  key.hwnd = root;
  key.message = message;
  key.wParam = wParam;
  key.lParam = lParam;
  return OnIsShortCut(key);
}

void TEdgeBrowser::RunOnWorkerThread(std::function<void()> work) {
  std::thread([work = std::move(work)] {
    try {
      work();
    } catch (...) {
    }
  }).detach();
}

void TEdgeBrowser::QueueToUiThread(std::function<void()> work) { FQueue->Queue(std::move(work)); }

HRESULT TEdgeBrowser::LoaderCreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  return EdgeCreateCoreWebView2Environment(handler);
}

HRESULT TEdgeBrowser::LoaderGetBrowserVersionString(LPWSTR* versionInfo) {
  return EdgeGetCoreWebView2BrowserVersionString(nullptr, versionInfo);
}

HRESULT TEdgeBrowser::OpenFileStream(const ustring& path, IStream** stream) {
  return SHCreateStreamOnFileW(win32::W(path), STGM_CREATE | STGM_READWRITE, stream);
}

void TEdgeBrowser::EndBrowserProcess(uint32_t processId) {
  win32::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
  if (!process) return;
  if (WaitForSingleObject(process.Get(), kWaitForBrowserMs) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 1);
}

void TEdgeBrowser::HandleException(const EEdgeError& error) {
  if (FQueue->onError) FQueue->onError(error);
}

LRESULT TEdgeBrowser::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = FHandle;
  switch (message) {
    case WM_SIZE:
      Resize();
      break;
    case WM_SHOWWINDOW:
      VisibleChanged(wParam != FALSE);
      break;
    case WM_SYSCOMMAND:
      SysCommand(wParam);
      return 0;  // never passed on
    case WM_SETFOCUS:
      DoEnter();
      return 0;
    case WM_KILLFOCUS:
      DoExit();
      return 0;
    case WM_NCDESTROY:
      FHandle = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantrel
