#include "runtime/win32/edge_provisioning.h"

#include <windows.h>

#include <memory>

#include "platform/binary_file.h"
#include "platform/errors.h"
#include "platform/win32/program_image_win32.h"
#include "platform/win32/win_text.h"
#include "runtime/exe_zip_loader.h"
#include "runtime/localized_messages.h"
#include "runtime/win32/edge_installer_form.h"
#include "shared/edge/edge_loader_path.h"
#include "shared/util/sys_utils.h"

namespace vantrel {

using win32::W;

namespace {

// Creates the file (empty) and writes the package entry into it; a missing
// entry leaves the file empty.
void ExtractEntryToNewFile(TZipArchive& zip, const char* entry, const ustring& path) {
  TMemoryStream bytes;
  zip.Extract(std::string(entry), bytes);
  BinaryFile file(path, BinaryFile::Mode::CreateTruncate);
  file.Write(bytes.Data(), bytes.Size());
}

// Several first starts may run at once: each writes its own temporary copy
// beside the target and moves it into place in one step, so no instance ever
// reads a half-written library. The first move wins; the others find the
// file there and drop their copy (the library may already be loaded, so it is
// never replaced).
void ExtractEntryAtomically(TZipArchive& zip, const char* entry, const ustring& path) {
  const ustring temporary = path + u"." + U(std::to_string(GetCurrentProcessId())) + u".tmp";
  ExtractEntryToNewFile(zip, entry, temporary);
  if (!MoveFileExW(W(temporary), W(path), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(W(temporary));
    if (!FileExists(path)) {
      throw EFileError("Cannot write \"" + Utf16ToUtf8(path) + "\": " + win32::SystemErrorMessage(error));
    }
  }
}

void SetBrowserEnvironment(const TStartupValues& values) {
  SetEnvironmentVariableW(L"WEBVIEW2_USER_DATA_FOLDER", W(values.WebView2DirPath));
  SetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"--disable-logging");
  SetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", nullptr);
  SetEnvironmentVariableW(L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE", nullptr);
}

void DeleteAppFolderAndStop(IStartupHost& host, const TStartupValues& values, int message) {
  // Only ever the application's own folder: recomputed from the checked
  // identifier rather than trusted as stored.
  const ustring ownFolder = AppDataFolderFor(host.LocalAppDataDirPath(), values.AppID);
  if (values.AppDataDirPath != ownFolder) throw EVantrelError("Refusing to delete a folder that is not the application's own");
  TSysUtils::DeleteDirectory(ownFolder);
  ShowFatalMessage(host, message);
  throw EProcessExit{0};
}

}  // namespace

void ProvisionEdgeRuntime(IStartupHost& host, TStartupValues& values) {
  if (!FileExists(EdgeLoaderPath)) ExtractEntryAtomically(*values.ExeZip, "WebView2LoaderWin64.dll", EdgeLoaderPath);
  SetBrowserEnvironment(values);
  if (TSysUtils::CheckEdgeIsInstalled(EdgeLoaderPath)) return;

  const TMemIniFile& ini = *values.ProjectINI;
  if (!ini.ReadBool(kAppSection, u"EdgeInstaller", true)) {
    ShowFatalMessage(host, kMsgRuntimeMissing);
    throw EProcessExit{0};
  }

  const ustring language = host.UserLanguageCode();
  const int answer = host.MessageDlg(GetLocalizedMessageFor(kMsgInstallQuestion, language), TMsgDlgType::Confirmation,
                                     mbYes | mbCancel,
                                     {GetLocalizedMessageFor(kMsgAccept, language),
                                      GetLocalizedMessageFor(kMsgCancel, language)},
                                     GetLocalizedMessageFor(kMsgConfirmTitle, language));
  if (answer == kModalResultCancel) DeleteAppFolderAndStop(host, values, kMsgInstallDeclined);

  const ustring installerPath = values.AppDataDirPath + u"WebView2Installer.exe";
  if (!FileExists(installerPath)) ExtractEntryAtomically(*values.ExeZip, "WebView2Installer.exe", installerPath);

  // Shown for the rest of the process: it goes away when the process ends.
  auto form = std::make_unique<TEdgeInstallerForm>();
  form->SetColor(ini.ReadColor(kAppSection, u"InstallFormColor", 0xFF00001Au));
  form->SetIndicatorColor(ini.ReadInteger(kAppSection, u"InstallIndicatorColor", 1));
  form->SetIndicatorType(ini.ReadInteger(kAppSection, u"InstallIndicatorType", 0));
  form->Show();

  TSysUtils::ShellExecAsAdminAndWait(GetActiveWindow(), installerPath, u"/silent /install");

  if (TSysUtils::CheckEdgeIsInstalled(EdgeLoaderPath)) {
    if (FileExists(installerPath)) DeleteFileW(W(installerPath));
    TSysUtils::ShellExec(win32::ModuleFileName(), u"");
    throw EProcessExit{0};
  }
  DeleteAppFolderAndStop(host, values, kMsgStillMissing);
}

}  // namespace vantrel
