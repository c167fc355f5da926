#include "runtime/exe_zip_loader.h"

#include <exception>

#include "platform/errors.h"
#include "runtime/localized_messages.h"
#include "shared/edge/edge_loader_path.h"
#include "shared/util/app_id.h"
#include "shared/util/text_file.h"

namespace vantrel {

namespace {
bool IsChildInstanceMarker(const std::vector<ustring>& args, const ustring& appId) {
  return !args.empty() && args[0] == appId;
}
}  // namespace

ustring IncludeTrailingBackslash(const ustring& path) {
  return !path.empty() && path.back() == u'\\' ? path : path + u'\\';
}

ustring AppDataFolderFor(const ustring& localAppDataDirPath, const ustring& appId) {
  if (!AppIdProblem(appId).empty()) throw EVantrelError("No application folder for an invalid identifier");
  return IncludeTrailingBackslash(IncludeTrailingBackslash(localAppDataDirPath) + appId);
}

void ShowFatalMessage(IStartupHost& host, int index) {
  // Each text is looked up on its own, as the language may be asked anew.
  const ustring text = GetLocalizedMessageFor(index, host.UserLanguageCode());
  const ustring accept = GetLocalizedMessageFor(kMsgAccept, host.UserLanguageCode());
  const ustring title = GetLocalizedMessageFor(kMsgErrorTitle, host.UserLanguageCode());
  host.MessageDlg(text, TMsgDlgType::Error, mbYes, {accept}, title);
}

void LoadProjectINI(TStartupValues& values) {
  TMemoryStream stream;
  // A configuration is a few lines; a huge one is a damaged or hostile package.
  constexpr uint64_t kMaxConfigurationSize = 1 << 20;
  try {
    values.ExeZip->Extract(std::string("vtl.ini"), stream, kMaxConfigurationSize);
  } catch (const EZipError& error) {
    throw EVantrelError(std::string("The configuration file vtl.ini cannot be read: ") + error.what());
  }
  const ustring text = DecodeTextWithBom(stream.Data(), stream.Size());
  values.ProjectINI->SetStrings(SplitLines(text));
}

void LoadExeZip(IStartupHost& host, const IProgramImage& program, TStartupValues& values) {
  // 1. Objects.
  values.ExeUtils = std::make_unique<TExeUtils>(program);
  values.ExeZip = std::make_unique<TZipArchive>();
  values.ProjectINI = std::make_unique<TMemIniFile>();

  // 2. Package present?
  if (!values.ExeUtils->ExeHasAttachedStub()) {
    ShowFatalMessage(host, kMsgNoPackage);
    throw EProcessExit{0};
  }

  // 3-4. Password first, then the package where it lies in the program's
  // file (mapped read-only for the life of the process, never extracted).
  values.ExeZip->SetPassword(kPackagePassword);
  values.ExeZip->Open(values.ExeUtils->MapZipFromExe());

  // 5-7. Configuration and identity.
  LoadProjectINI(values);
  const TMemIniFile& ini = *values.ProjectINI;
  values.AppID = ini.ReadString(kAppSection, u"ID", u"");
  values.AppName = ini.ReadString(kAppSection, u"Name", u"");
  values.AppDirName = ini.ReadString(kAppSection, u"DirName", u"");
  values.AppIndexHtml = ini.ReadString(kAppSection, u"IndexHtml", u"index.html");
  if (values.AppID.empty() || values.AppName.empty() || values.AppDirName.empty()) throw EProcessExit{0};
  // The identifier names a folder that may later be deleted: refuse it before
  // any folder is made.
  const std::string idProblem = AppIdProblem(values.AppID);
  if (!idProblem.empty()) {
    throw EVantrelError("The application identifier \"" + Utf16ToUtf8(values.AppID) +
                        "\" in vtl.ini cannot be used: " + idProblem + ".");
  }

  // 8. Visual style.
  const ustring theme = ini.ReadString(kAppSection, u"Theme", u"Windows");
  if (theme != u"Windows") host.SelectStyle(theme);

  // 9-10. Per-application folders.
  values.AppDataDirPath = AppDataFolderFor(host.LocalAppDataDirPath(), values.AppID);
  host.ForceDirectories(values.AppDataDirPath);
  values.WebView2DirPath = values.AppDataDirPath + u"Win64\\";
  EdgeLoaderPath = values.WebView2DirPath + u"WebView2LoaderWin64.dll";
  host.ForceDirectories(values.WebView2DirPath);

  // 11. Browser runtime; ends the process unless the runtime is there.
  host.ProvisionBrowserRuntime(values);

  // 12. A child instance skips the password prompt.
  if (IsChildInstanceMarker(host.CommandLineArgs(), values.AppID)) return;

  // 13. Password gate.
  const ustring password = ini.ReadString(kAppSection, u"Password", u"");
  if (!password.empty() && !host.PasswordGate(values.AppName, password)) throw EProcessExit{0};
}

int RunProgram(IStartupHost& host, const IProgramImage& program, TStartupValues& values) {
  try {
    LoadExeZip(host, program, values);

    if (!values.ProjectINI->ReadBool(kAppSection, u"AllowInstances", false)) {
      const bool alreadyRunning = host.CreateInstanceMutex(values.AppID);
      const std::vector<ustring> args = host.CommandLineArgs();
      const bool childInstance = args.size() == 2 && args[0] == values.AppID;
      if (alreadyRunning && !childInstance) {
        host.ActivateRunningInstance(values.AppID);
        return 0;
      }
    }

    host.RunMainWindow(values);
    return 0;
  } catch (const EProcessExit& exit) {
    return exit.exitCode;
  } catch (const std::exception& error) {
    host.ShowApplicationError(error.what());
    return 1;
  } catch (...) {
    host.ShowApplicationError("Unknown error");
    return 1;
  }
}

}  // namespace vantrel
