#include "runtime/win32/localized_message_dlg.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/dialog_automation.h"
#include "platform/win32/png_icon.h"
#include "platform/win32/win_text.h"
#include "runtime/localized_messages.h"

namespace vantrel {

using win32::W;

namespace {

struct StandardButton {
  TMsgDlgBtn bit;
  int modalResult;
  const char16_t* caption;
};

// In the order a dialog shows them.
constexpr StandardButton kStandardButtons[] = {
    {mbYes, 6, u"&Yes"},       {mbNo, 7, u"&No"},          {mbOK, 1, u"OK"},
    {mbCancel, 2, u"Cancel"},  {mbAbort, 3, u"&Abort"},    {mbRetry, 4, u"&Retry"},
    {mbIgnore, 5, u"&Ignore"}, {mbAll, 12, u"&All"},       {mbNoToAll, 13, u"N&o to All"},
    {mbYesToAll, 14, u"Yes to &All"}, {mbHelp, 9, u"&Help"}, {mbClose, 8, u"&Close"},
};

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Task dialogs need version 6 of the common controls (see the manifest);
// looked up at run time so the program still starts where it is missing.
TaskDialogIndirectFn FindTaskDialogIndirect() {
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  if (!comctl) comctl = LoadLibraryW(L"comctl32.dll");
  return comctl ? reinterpret_cast<TaskDialogIndirectFn>(
                      reinterpret_cast<void*>(GetProcAddress(comctl, "TaskDialogIndirect")))
                : nullptr;
}

PCWSTR IconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::Error: return TD_ERROR_ICON;
    case TMsgDlgType::Warning: return TD_WARNING_ICON;
    case TMsgDlgType::Information:
    case TMsgDlgType::Confirmation: return TD_INFORMATION_ICON;
    default: return nullptr;
  }
}

UINT MessageBoxIconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::Error: return MB_ICONERROR;
    case TMsgDlgType::Warning: return MB_ICONWARNING;
    case TMsgDlgType::Information: return MB_ICONINFORMATION;
    case TMsgDlgType::Confirmation: return MB_ICONQUESTION;
    default: return 0;
  }
}

// The program's own pictures for the dialog kinds (from Windows 8 on).
const wchar_t* PictureFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::Error: return L"MSG_ERROR";
    case TMsgDlgType::Warning: return L"MSG_WARNING";
    case TMsgDlgType::Information:
    case TMsgDlgType::Confirmation: return L"MSG_INFO";
    default: return nullptr;
  }
}

void PressTaskDialogButton(HWND dialog, int id) { PostMessageW(dialog, TDM_CLICK_BUTTON, static_cast<WPARAM>(id), 0); }

}  // namespace

ustring GetUserLanguageCode() {
  wchar_t buffer[16] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, buffer, 16);
  return length > 1 ? win32::FromW(buffer, static_cast<size_t>(length - 1)) : ustring();
}

ustring GetLocalizedMessage(int32_t Index) { return GetLocalizedMessageFor(Index, GetUserLanguageCode()); }

int LocalizedMessageDlg(const ustring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        const std::vector<ustring>& Captions, const ustring& Title) {
  std::vector<ustring> captions;
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (const StandardButton& b : kStandardButtons) {
    if (!(Buttons & b.bit)) continue;
    const size_t k = captions.size();
    captions.push_back(k < Captions.size() ? Captions[k] : ustring(b.caption));
  }
  size_t k = 0;
  for (const StandardButton& b : kStandardButtons) {
    if (Buttons & b.bit) buttons.push_back({b.modalResult, W(captions[k++])});
  }
  const int defaultButton = (Buttons & mbOK) ? 1 : (Buttons & mbYes) ? 6 : 4;

  TASKDIALOGCONFIG config = {};
  config.cbSize = sizeof config;
  config.hwndParent = GetActiveWindow();
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = W(Title);
  config.pszMainIcon = IconFor(DlgType);
  const wchar_t* pictureName = win32::IsWindows8OrLater() ? PictureFor(DlgType) : nullptr;
  const win32::UniqueIcon picture(
      pictureName ? win32::LoadPngResourceIcon(pictureName, GetSystemMetrics(SM_CXICON)) : nullptr);
  if (picture.Get()) {
    config.dwFlags |= TDF_USE_HICON_MAIN;
    config.hMainIcon = picture.Get();
  }
  config.pszContent = W(Msg);
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  config.nDefaultButton = defaultButton;

  int result = kModalResultCancel;
  if (TaskDialogIndirectFn taskDialog = FindTaskDialogIndirect()) {
    win32::AutomatedDialogScope automation({"taskdialog", Title, Msg, captions}, defaultButton,
                                           PressTaskDialogButton);
    if (SUCCEEDED(taskDialog(&config, &result, nullptr, nullptr))) return result;
  }
  // Fallback without the task dialog: the system's box with standard buttons.
  const UINT type = ((Buttons & mbCancel) ? MB_OKCANCEL : MB_OK) | MessageBoxIconFor(DlgType) | MB_TASKMODAL;
  const int answer = win32::ShowMessageBox(GetActiveWindow(), Msg, Title, type);
  return answer == IDCANCEL ? kModalResultCancel : (Buttons & mbYes) ? kModalResultYes : answer;
}

}  // namespace vantrel
