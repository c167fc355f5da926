#include "runtime/win32/startup_host_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/binary_file.h"
#include "platform/win32/program_image_win32.h"
#include "platform/errors.h"
#include "platform/win32/dialog_automation.h"
#include "platform/win32/win_text.h"
#include "runtime/exe_zip_loader.h"
#include "runtime/win32/edge_provisioning.h"
#include "runtime/win32/localized_message_dlg.h"
#include "runtime/win32/main_form.h"
#include "runtime/win32/require_password_form.h"
#include "runtime/win32/running_instance.h"

namespace vantrel {

using win32::FromW;
using win32::W;

std::vector<ustring> TWin32StartupHost::CommandLineArgs() const { return win32::CommandLineArguments(); }

ustring TWin32StartupHost::UserLanguageCode() const { return GetUserLanguageCode(); }

int TWin32StartupHost::MessageDlg(const ustring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                  const std::vector<ustring>& Captions, const ustring& Title) {
  return LocalizedMessageDlg(Msg, DlgType, Buttons, Captions, Title);
}

void TWin32StartupHost::ShowApplicationError(const std::string& utf8Message) {
  win32::ShowMessageBox(nullptr, U("The application cannot start.\n\n" + utf8Message), u"Application Error",
                        MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

ustring TWin32StartupHost::LocalAppDataDirPath() const {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    throw EVantrelError("The local application-data folder is unknown");
  }
  return IncludeTrailingBackslash(FromW(path));
}

void TWin32StartupHost::ForceDirectories(const ustring& path) { vantrel::ForceDirectories(path); }

void TWin32StartupHost::SelectStyle(const ustring& name) {
  // The program carries no named styles besides the native look.
  win32::ShowMessageBox(GetActiveWindow(), u"Style '" + name + u"' not found", u"Error", MB_OK | MB_ICONERROR);
}

void TWin32StartupHost::ProvisionBrowserRuntime(TStartupValues& values) { ProvisionEdgeRuntime(*this, values); }

bool TWin32StartupHost::PasswordGate(const ustring& caption, const ustring& password) {
  return RunPasswordGate(caption, password);
}

bool TWin32StartupHost::CreateInstanceMutex(const ustring& name) {
  // Kept open for the process's life: its existence is the whole signal.
  CreateMutexW(nullptr, FALSE, W(name));
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

void TWin32StartupHost::ActivateRunningInstance(const ustring& appId) { BringRunningInstanceForward(appId); }

void TWin32StartupHost::RunMainWindow(TStartupValues& values) { RunMainForm(values); }

}  // namespace vantrel
