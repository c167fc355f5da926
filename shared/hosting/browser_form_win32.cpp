#include "shared/hosting/browser_form_win32.h"

#include <commctrl.h>

#include "platform/win32/program_image_win32.h"
#include "shared/util/sys_utils.h"
#include "shared/util/text_file.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TBrowserForm";
constexpr int kProgressBarHeight = 4;
constexpr UINT kMarqueeIntervalMs = 30;

void RegisterFormClass(HINSTANCE instance) {
  win32::RegisterFormClass(instance, {kClassName, win32::FormWindowProc<TBrowserForm>, 0, IDC_ARROW,
                                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)});
}

// The browser control, made before the form so the core can own it.
std::unique_ptr<TCustomEdgeBrowser> NewBrowser(TEdgeBrowser*& raw) {
  auto browser = std::make_unique<TEdgeBrowser>();
  raw = browser.get();
  return browser;
}
}  // namespace

ustring LoadExternalScriptResource() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceExW(module, MAKEINTRESOURCEW(10), L"VTL_EXTERNAL_JAVASCRIPT",
                                   MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
  const DWORD size = SizeofResource(module, resource);
  if (!bytes || size == 0) return {};
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return DecodeTextWithBom(bytes, size);
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes), size));
}

TBrowserForm::TBrowserForm(HWND parent) : TBrowserFormCore(NewBrowser(FBrowser)) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)commonControls;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance);
  RECT area = {0, 0, 0, 0};
  if (parent) GetClientRect(parent, &area);
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, area.right,
                  area.bottom, parent, nullptr, instance, this);
  FProgressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 0, 0, 0, 0, FHandle,
                                 nullptr, instance, nullptr);
  SendMessageW(FProgressBar, PBM_SETMARQUEE, TRUE, kMarqueeIntervalMs);

  SetAppDirPath(FolderOfPath(win32::ModuleFileName()));
  FBrowser->SetParent(FHandle);  // starts the browser's creation
  Layout();
}

TBrowserForm::~TBrowserForm() {
  DestroyBrowser();
  win32::DestroyFormWindow(FHandle);
}

ustring TBrowserForm::FolderOfPath(const ustring& exePath) {
  const size_t cut = exePath.find_last_of(u"\\/:");
  return cut == ustring::npos ? ustring() : exePath.substr(0, cut + 1);
}

void TBrowserForm::SetBounds(int left, int top, int width, int height) {
  if (FHandle) MoveWindow(FHandle, left, top, width, height, TRUE);
}

bool TBrowserForm::ProgressBarVisible() const { return FProgressBar && IsWindowVisible(FProgressBar); }

void TBrowserForm::Layout() {
  if (!FHandle) return;
  RECT area;
  GetClientRect(FHandle, &area);
  const int barHeight = ProgressBarVisible() ? kProgressBarHeight : 0;
  if (FProgressBar) MoveWindow(FProgressBar, 0, area.bottom - kProgressBarHeight, area.right, kProgressBarHeight, TRUE);
  FBrowser->SetBounds(0, 0, area.right, area.bottom - barHeight);
}

void TBrowserForm::HideProgressBar() {
  if (FProgressBar) ShowWindow(FProgressBar, SW_HIDE);
  Layout();
}

void TBrowserForm::FocusParent() {
  if (HWND parent = FHandle ? GetParent(FHandle) : nullptr) ::SetFocus(parent);
}

void TBrowserForm::FocusParentOfParent() {
  HWND parent = FHandle ? GetParent(FHandle) : nullptr;
  HWND grandParent = parent ? GetParent(parent) : nullptr;
  if (grandParent) ::SetFocus(grandParent);
}

ustring TBrowserForm::OwnExecutablePath() const { return win32::ModuleFileName(); }

void TBrowserForm::StartProcess(const ustring& exePath, const ustring& parameters) {
  TSysUtils::ShellExec(exePath, parameters);
}

ustring TBrowserForm::ExternalScriptText() const { return LoadExternalScriptResource(); }

LRESULT TBrowserForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = FHandle;
  if (message == WM_SIZE) Layout();
  if (message == WM_NCDESTROY) FHandle = nullptr;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantrel
