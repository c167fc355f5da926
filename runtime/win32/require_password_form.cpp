#include "runtime/win32/require_password_form.h"

#include <commctrl.h>

#include <cmath>
#include <vector>

#include "platform/errors.h"
#include "platform/win32/window_proc.h"
#include "platform/win32/dialog_automation.h"
#include "platform/win32/win_text.h"

namespace vantrel {

using win32::W;

namespace {
constexpr wchar_t kClassName[] = L"TRequirePasswordForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kClientWidth = 308, kClientHeight = 71;
constexpr int kEditLeft = 24, kEditTop = 24, kEditWidth = 257, kEditHeight = 21;
constexpr int kButtonWidth = 20;

// 16 x 16 premultiplied ARGB picture of a golden key.
HBITMAP MakeKeyBitmap() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* pixels = static_cast<uint32_t*>(bits);
  auto put = [&](int x, int y, uint32_t rgb) {
    if (x >= 0 && x < 16 && y >= 0 && y < 16) pixels[y * 16 + x] = 0xFF000000u | rgb;
  };
  for (int i = 0; i < 256; ++i) pixels[i] = 0;
  constexpr uint32_t kGold = 0xE0A820, kDark = 0x9C6A00;
  // The bow: a ring centred at (4.5, 4.5).
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const double d = std::hypot(x - 4.5, y - 4.5);
      if (d <= 4.2 && d >= 1.6) put(x, y, d > 3.4 ? kDark : kGold);
    }
  }
  // The shaft, diagonally down to the right, and two teeth.
  for (int i = 0; i < 8; ++i) {
    put(7 + i, 7 + i, kGold);
    put(8 + i, 7 + i, kDark);
    put(7 + i, 8 + i, kDark);
  }
  for (int t : {10, 13}) {
    put(t + 1, t - 1, kGold);
    put(t + 2, t - 2, kGold);
    put(t + 2, t - 1, kDark);
  }
  return bitmap;
}

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  win32::RegisterFormClass(instance, {kClassName, proc, 0, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
}

void CloseForm(HWND form, int) { PostMessageW(form, WM_CLOSE, 0, 0); }
}  // namespace

TRequirePasswordForm::TRequirePasswordForm() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance, win32::FormWindowProc<TRequirePasswordForm>);
  RECT bounds = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  FHandle = CreateWindowExW(kExStyle, kClassName, L"[App Name]", kStyle, x, y, width, height, nullptr, nullptr,
                            instance, this);
  if (!FHandle) throw EVantrelError("Cannot create the password prompt");
  CreateControls();
  FormCreate();
}

TRequirePasswordForm::~TRequirePasswordForm() {
  win32::DestroyFormWindow(FHandle);
  if (FKeyIcon) DestroyIcon(FKeyIcon);
  if (FActionsImgs) ImageList_Destroy(FActionsImgs);
  if (FFont) DeleteObject(FFont);
}

void TRequirePasswordForm::FormCreate() { FPassword.clear(); }

void TRequirePasswordForm::CreateControls() {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  FFont = CreateFontW(-MulDiv(8, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  FPasswordEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, kEditLeft,
                                  kEditTop, kEditWidth, kEditHeight, FHandle, nullptr, instance, nullptr);
  SendMessageW(FPasswordEdit, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
  SendMessageW(FPasswordEdit, EM_SETPASSWORDCHAR, L'*', 0);
  // The key button sits inside the edit, on its left; the text starts after it.
  SendMessageW(FPasswordEdit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(kButtonWidth + 2, 0));
  RECT inner;
  GetClientRect(FPasswordEdit, &inner);
  FActionsImgs = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  if (HBITMAP key = MakeKeyBitmap()) {
    ImageList_Add(FActionsImgs, key, nullptr);
    DeleteObject(key);
  }
  FKeyButton = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, 0, kButtonWidth,
                               inner.bottom, FPasswordEdit, nullptr, instance, nullptr);
  FKeyIcon = ImageList_GetIcon(FActionsImgs, 0, ILD_TRANSPARENT);
  SendMessageW(FKeyButton, STM_SETICON, reinterpret_cast<WPARAM>(FKeyIcon), 0);
  SetWindowSubclass(FPasswordEdit, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TRequirePasswordForm::SetCaption(const ustring& caption) { SetWindowTextW(FHandle, W(caption)); }

void TRequirePasswordForm::PasswordEditKeyUp() {
  const int length = GetWindowTextLengthW(FPasswordEdit);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  GetWindowTextW(FPasswordEdit, text.data(), length + 1);
  if (win32::FromW(text.data(), static_cast<size_t>(length)) == FPassword) FModalResult = kModalResultOK;
}

int TRequirePasswordForm::ShowModal() {
  wchar_t caption[512] = {};
  GetWindowTextW(FHandle, caption, 512);
  win32::AutomatedDialogScope automation({"form", win32::FromW(caption), u"", {}}, kModalResultCancel, CloseForm,
                                         FHandle);
  FModalResult = 0;
  ShowWindow(FHandle, SW_SHOWNORMAL);
  SetForegroundWindow(FHandle);
  SetFocus(FPasswordEdit);
  MSG message;
  while (FModalResult == 0) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      FModalResult = kModalResultCancel;
      break;
    }
    if (!IsDialogMessageW(FHandle, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  ShowWindow(FHandle, SW_HIDE);
  return FModalResult;
}

LRESULT TRequirePasswordForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    FModalResult = kModalResultCancel;
    return 0;
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) SetFocus(FPasswordEdit);
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TRequirePasswordForm::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR self) {
  const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
  if (message == WM_KEYUP || message == WM_SYSKEYUP) {
    try {
      reinterpret_cast<TRequirePasswordForm*>(self)->PasswordEditKeyUp();
    } catch (...) {
    }
  }
  return result;
}

bool RunPasswordGate(const ustring& caption, const ustring& password) {
  TRequirePasswordForm RequirePasswordForm;
  RequirePasswordForm.SetCaption(caption);
  RequirePasswordForm.SetPassword(password);
  return RequirePasswordForm.ShowModal() == TRequirePasswordForm::kModalResultOK;
}

}  // namespace vantrel
