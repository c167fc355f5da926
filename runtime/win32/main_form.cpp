#include "runtime/win32/main_form.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/program_image_win32.h"
#include "platform/win32/win_text.h"
#include "platform/win32/window_proc.h"
#include "runtime/main_window_config.h"
#include "runtime/win32/running_instance.h"
#include "shared/bridge/bridge_platform_win32.h"
#include "shared/bridge/browser_external_module.h"
#include "shared/hosting/browser_form_win32.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TMainForm";
constexpr char16_t kCloseQueryScript[] = u"vtl.events.onCloseQuery();";

struct WindowStyles {
  DWORD style, exStyle;
};

// Win32 styles of each border style; the caller keeps WS_VISIBLE.
WindowStyles StylesOf(TFormBorderStyle border) {
  constexpr DWORD kCommon = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (border) {
    case TFormBorderStyle::None:
      return {kCommon | WS_POPUP, 0};
    case TFormBorderStyle::Single:
      return {kCommon | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0};
    case TFormBorderStyle::Dialog:
      return {kCommon | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME};
    case TFormBorderStyle::ToolWindow:
      return {kCommon | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW};
    case TFormBorderStyle::SizeToolWin:
      return {kCommon | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW};
    case TFormBorderStyle::Sizeable:
    default:
      return {kCommon | WS_OVERLAPPEDWINDOW, 0};
  }
}

void RegisterMainFormClass(HINSTANCE instance);
}  // namespace

// The program's one top-level window: the browser host form fills it, the
// bridge answers the page, and the page agrees before the window closes.
class TMainForm : public IBridgeMainWindow {
 public:
  explicit TMainForm(TStartupValues& values) : FValues(values), FPlatform(values.AppName) {}
  ~TMainForm() override { win32::DestroyFormWindow(FHandle); }

  void FormCreate();
  void Show();
  HWND Handle() const { return FHandle; }

  void SetBorderStyle(TFormBorderStyle style) override;
  void SetWindowState(TWindowState state) override;

  friend LRESULT CALLBACK win32::FormWindowProc<TMainForm>(HWND, UINT, WPARAM, LPARAM);

 private:
  void AttachHandle(HWND window) { FHandle = window; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool FormCloseQuery();
  void FormClose();
  void EdgeBrowserDocumentTitleChanged(const ustring& title);
  void BrowserExternalModuleAppCloseRequest();
  void FillClientArea();
  void BrowserFailed(const ustring& text);
  void PaintFailure();

  TStartupValues& FValues;
  TWin32BridgePlatform FPlatform;
  TMainWindowConfig FConfig;
  HWND FHandle = nullptr;
  bool FCanClose = false;
  bool FCloseDeferred = false;  // a close arrived while a bridge command ran
  ustring FFailureText;         // shown in place of the page when the browser failed
  TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
  std::unique_ptr<TBrowserForm> FBrowserForm;
  std::unique_ptr<TBrowserExternalModule> FBrowserExternalModule;
};

void TMainForm::FormCreate() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterMainFormClass(instance);
  FConfig = ReadMainWindowConfig(*FValues.ProjectINI);
  FBorderStyle = FConfig.FullScreen ? TFormBorderStyle::None : FConfig.BorderStyle;
  const WindowStyles styles = StylesOf(FBorderStyle);
  const int width = FConfig.Constraints.ClampWidth(FConfig.Width);
  const int height = FConfig.Constraints.ClampHeight(FConfig.Height);
  // Centred on the screen's work area.
  RECT work = {0, 0, width, height};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + ((work.right - work.left) - width) / 2;
  const int top = work.top + ((work.bottom - work.top) - height) / 2;
  CreateWindowExW(styles.exStyle | (FConfig.StayOnTop ? WS_EX_TOPMOST : 0), kClassName, win32::W(FValues.AppName),
                  styles.style, left, top, width, height, nullptr, nullptr, instance, this);
  if (!FHandle) throw EVantrelError("The main window could not be created");

  FCanClose = false;
  FBrowserExternalModule = std::make_unique<TBrowserExternalModule>(FPlatform);
  FBrowserExternalModule->SetExeZip(FValues.ExeZip.get());

  FBrowserForm = std::make_unique<TBrowserForm>(FHandle);
  FillClientArea();
  TBrowserForm& form = *FBrowserForm;
  form.SetExeZip(FValues.ExeZip.get());
  form.SetIsRuntime(true);
  form.SetAppDirName(FValues.AppDirName);
  form.SetHandleRequests(true);
  form.SetRuntimeAppID(FValues.AppID);
  form.SetWithExternal(true);
  form.SetAllowDebug(FConfig.AllowDebug);
  form.SetAllowContextMenu(FConfig.AllowContextMenu);

  TBrowserExternalModule& bridge = *FBrowserExternalModule;
  form.Browser()->SetOnWebMessageReceived([&bridge](TCustomEdgeBrowser* sender, TWebMessageReceivedEventArgs* args) {
    bridge.EdgeBrowserWebMessageReceived(sender, args);
  });
  form.Browser()->SetOnDocumentTitleChanged(
      [this](TCustomEdgeBrowser*, const ustring& title) { EdgeBrowserDocumentTitleChanged(title); });
  // A page's window.close() is a close attempt like any other.
  form.Browser()->SetOnWindowCloseRequested([this](void*) { PostMessageW(FHandle, WM_CLOSE, 0, 0); });

  const bool secureOrigin = FValues.ProjectINI->ReadBool(kAppSection, u"SecureOrigin", false);
  const TAppOrigins origins(secureOrigin, FValues.ProjectINI->ReadString(kAppSection, u"TrustedOrigins", u""));
  form.SetSecureOrigin(secureOrigin);
  bridge.SetAppOrigins(origins);
  form.SetAppOrigins(origins);
  form.SetOnBrowserFailed([this](const ustring& text) { BrowserFailed(text); });
  // Nothing is freed under a running command: a deferred close comes back
  // once the command has returned.
  bridge.SetOnCommandsFinished([this](void*) {
    if (!FCloseDeferred) return;
    FCloseDeferred = false;
    PostMessageW(FHandle, WM_CLOSE, 0, 0);
  });

  bridge.SetMainForm(this);
  bridge.SetBrowserForm(&form);
  bridge.SetProjectINI(FValues.ProjectINI.get());
  bridge.SetOnAppCloseRequest([this](void*) { BrowserExternalModuleAppCloseRequest(); });
  if (FConfig.FullScreen) bridge.SetInFullscreen(true);

  form.SetStartPageURL(
      MainWindowStartPage(win32::CommandLineArguments(), FValues.AppID, FValues.AppIndexHtml, secureOrigin));
}

void TMainForm::Show() {
  ShowWindow(FHandle, FConfig.FullScreen ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(FHandle);
}

void TMainForm::FillClientArea() {
  if (!FBrowserForm) return;
  RECT client;
  GetClientRect(FHandle, &client);
  FBrowserForm->SetBounds(0, 0, client.right, client.bottom);
}

void TMainForm::SetBorderStyle(TFormBorderStyle style) {
  FBorderStyle = style;
  const WindowStyles styles = StylesOf(style);
  const LONG_PTR visible = GetWindowLongPtrW(FHandle, GWL_STYLE) & (WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  const LONG_PTR topmost = GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_TOPMOST;
  SetWindowLongPtrW(FHandle, GWL_STYLE, static_cast<LONG_PTR>(styles.style) | visible);
  SetWindowLongPtrW(FHandle, GWL_EXSTYLE, static_cast<LONG_PTR>(styles.exStyle) | topmost);
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The outer size stays, so no WM_SIZE need come although the client area changed.
  FillClientArea();
}

void TMainForm::SetWindowState(TWindowState state) {
  ShowWindow(FHandle, state == TWindowState::Maximized ? SW_MAXIMIZE : SW_RESTORE);  // WM_SIZE lays out
}

void TMainForm::BrowserFailed(const ustring& text) {
  FFailureText = text + u"\n\nClose this window and start the program again.";
  if (FBrowserForm) ShowWindow(FBrowserForm->Handle(), SW_HIDE);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TMainForm::PaintFailure() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(FHandle, &paint);
  RECT client;
  GetClientRect(FHandle, &client);
  InflateRect(&client, -24, -24);
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT measured = client;
  DrawTextW(dc, win32::W(FFailureText), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  client.top += std::max(0, static_cast<int>((client.bottom - client.top - height) / 2));
  DrawTextW(dc, win32::W(FFailureText), -1, &client, DT_CENTER | DT_WORDBREAK);
  SelectObject(dc, oldFont);
  EndPaint(FHandle, &paint);
}

bool TMainForm::FormCloseQuery() {
  // Without a running browser, or while an error page or a page not the
  // application's own is shown, no page can agree: the window just closes.
  if (!FBrowserForm || !FBrowserForm->PageCanAgreeToClose()) return true;
  const bool canClose = FCanClose;
  // The page decides: its onCloseQuery calls vtl.app.close() when it agrees.
  if (FBrowserForm) FBrowserForm->Browser()->ExecuteScript(kCloseQueryScript);
  return canClose;
}

void TMainForm::FormClose() {
  FBrowserExternalModule.reset();
  FBrowserForm.reset();
}

void TMainForm::EdgeBrowserDocumentTitleChanged(const ustring& title) { SetWindowTextW(FHandle, win32::W(title)); }

void TMainForm::BrowserExternalModuleAppCloseRequest() {
  FCanClose = true;
  // Closed from the message loop, not from inside the browser's own event.
  PostMessageW(FHandle, WM_CLOSE, 0, 0);
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      FillClientArea();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const TSizeConstraints& limits = FConfig.Constraints;
      if (limits.MinWidth() > 0) info->ptMinTrackSize.x = limits.MinWidth();
      if (limits.MinHeight() > 0) info->ptMinTrackSize.y = limits.MinHeight();
      if (limits.MaxWidth() > 0) info->ptMaxTrackSize.x = limits.MaxWidth();
      if (limits.MaxHeight() > 0) info->ptMaxTrackSize.y = limits.MaxHeight();
      if (FBorderStyle == TFormBorderStyle::None) {
        // Maximized without a border is full screen: the whole monitor, taskbar included.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST), &monitor)) {
          info->ptMaxPosition = {monitor.rcMonitor.left - monitor.rcWork.left, monitor.rcMonitor.top - monitor.rcWork.top};
          info->ptMaxSize = {monitor.rcMonitor.right - monitor.rcMonitor.left, monitor.rcMonitor.bottom - monitor.rcMonitor.top};
        }
      }
      return 0;
    }
    case WM_PAINT:
      if (FFailureText.empty()) break;
      PaintFailure();
      return 0;
    case WM_CLOSE:
      if (FBrowserExternalModule && FBrowserExternalModule->IsRunningCommand()) {
        FCloseDeferred = true;
        return 0;
      }
      if (FormCloseQuery()) {
        FormClose();
        DestroyWindow(FHandle);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      FHandle = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

namespace {
void RegisterMainFormClass(HINSTANCE instance) {
  win32::RegisterFormClass(instance, {kClassName, win32::FormWindowProc<TMainForm>, 0, IDC_ARROW,
                                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), LoadIconW(instance, L"MAINICON")});
}
}  // namespace

void RunMainForm(TStartupValues& values) {
  // The browser and the file dialogs need a single-threaded apartment.
  const HRESULT com = OleInitialize(nullptr);
  {
    TMainForm form(values);
    form.FormCreate();
    form.Show();
    // A second launch finds this window and brings it forward.
    const TRunningInstanceWindow published(values.AppID, form.Handle());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (SUCCEEDED(com)) OleUninitialize();
}

}  // namespace vantrel
