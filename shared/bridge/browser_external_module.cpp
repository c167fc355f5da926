#include "shared/bridge/browser_external_module.h"

#include "platform/com_text.h"
#include "shared/bridge/bridge_files.h"
#include "shared/hosting/browser_form_core.h"
#include "shared/util/mem_ini_file.h"
#include "shared/util/str_utils.h"

namespace vantrel {

namespace {
constexpr char16_t kMissingFilePath[] = u"\"Missing filePath\"";
constexpr char16_t kMissingDirPath[] = u"\"Missing dirPath\"";
constexpr char16_t kTrue[] = u"true";
constexpr char16_t kFalse[] = u"false";

const char16_t* BooleanText(bool value) { return value ? kTrue : kFalse; }

// JSON string content without its quotation marks.
ustring JsonStringContent(const ustring& text) {
  const ustring quoted = TStrUtils::StringToJsonString(text);
  return quoted.substr(1, quoted.size() - 2);
}
}  // namespace

TFormBorderStyle BorderStyleFromConfig(int value) {
  return value >= 0 && value <= 5 ? static_cast<TFormBorderStyle>(value) : TFormBorderStyle::Sizeable;
}

TBrowserExternalModule::TBrowserExternalModule(IBridgePlatform& platform) : FPlatform(platform) {}

TBrowserExternalModule::~TBrowserExternalModule() = default;

void TBrowserExternalModule::EdgeBrowserWebMessageReceived(TCustomEdgeBrowser*, TWebMessageReceivedEventArgs* Args) {
  if (!Args || !Args->ArgsInterface()) return;
  LPWSTR text = nullptr;
  // A message that is not a string fails here and reads as empty text.
  Args->ArgsInterface()->TryGetWebMessageAsString(&text);
  const ustring asString = TakeCoTaskString(text);
  LPWSTR json = nullptr;
  Args->ArgsInterface()->get_WebMessageAsJson(&json);
  const ustring asJson = TakeCoTaskString(json);
  // The posting document's address; none reads as no page of ours.
  LPWSTR source = nullptr;
  Args->ArgsInterface()->get_Source(&source);
  HandleWebMessage(TakeCoTaskString(source), asString, asJson);
}

void TBrowserExternalModule::HandleWebMessage(const ustring& source, const ustring& asString, const ustring& asJson) {
  FLastCallError.clear();
  if (IsDesignMode() && asString == kBrowserClickedMessage) {
    if (FBrowserForm) {
      FBrowserForm->FocusParent();
      if (FBrowserForm->EdgeBrowser()) FBrowserForm->EdgeBrowser()->SetFocus();
    }
    return;
  }
  // Native services are for the application's own pages only: a page it
  // navigated to elsewhere is ignored like an unreadable call.
  if (!FAppOrigins.IsAppPage(source)) {
    FLastCallError = "Message from a page that is not the application's own: " + Utf16ToUtf8(source);
    return;
  }
  // A command may run a dialog whose message loop delivers other events
  // (a close among them): the owner waits for OnCommandsFinished.
  ++FRunningCommands;
  try {
    const TBridgeMessage message(asJson);
    const TBridgeObject root = message.Root();
    const ustring idText = root.ReadRequiredText(u"id");
    const ustring uuid = root.ReadRequiredText(u"uuid");
    const TBridgeObject data = root.ReadRequiredObject(u"data");
    if (const auto id = BridgeTextToInt32(idText)) Dispatch(*id, uuid, data);
  } catch (const std::exception& error) {
    // Nothing may reach the browser: the call stays unanswered.
    FLastCallError = error.what();
  } catch (...) {
    FLastCallError = "Unknown error";
  }
  if (--FRunningCommands == 0 && FOnCommandsFinished) FOnCommandsFinished(this);
}

void TBrowserExternalModule::Dispatch(int32_t id, const ustring& uuid, const TBridgeObject& data) {
  switch (id) {
    case 10001: return ExecHello(uuid);
    case 10002: return ExecIsRuntime(uuid);
    case 20001: return ExecOpenFile(uuid, data);
    case 20002: return ExecSaveFile(uuid, data);
    case 30001: return ExecFileExists(uuid, data);
    case 30002: return ExecDeleteFile(uuid, data);
    case 30003: return ExecWriteTextFile(uuid, data);
    case 40001: return ExecDirExists(uuid, data);
    case 40002: return ExecDeleteDir(uuid, data);
    case 40003: return ExecGetTempDir(uuid);
    case 40004: return ExecGetUserDocumentsDir(uuid);
    case 40005: return ExecGetUserDesktopDir(uuid);
    case 50001: return ExecAppClose(uuid);
    case 50002: return ExecInFullscreen(uuid);
    case 50003: return ExecEnterFullscreen(uuid);
    case 50004: return ExecExitFullscreen(uuid);
    default: return;  // not a bridge function: ignored
  }
}

ustring TBrowserExternalModule::ReplyText(const ustring& uuid, const ustring& result, bool success) {
  // The identifier is escaped so that no identifier can break the reply.
  return u"{\"uuid\": \"" + JsonStringContent(uuid) + u"\", \"success\": " + BooleanText(success) +
         u", \"result\": " + result + u"}";
}

void TBrowserExternalModule::PostResponse(const ustring& uuid, const ustring& result, bool success) {
  if (!FBrowserForm || !FBrowserForm->EdgeBrowser()) return;
  ICoreWebView2* webView = FBrowserForm->EdgeBrowser()->DefaultInterface();
  if (!webView) return;
  const ustring text = ReplyText(uuid, result, success);
  webView->PostWebMessageAsJson(ToWide(text));  // status ignored: a lost reply is not retried
}

ustring TBrowserExternalModule::AppFolder() const { return FBrowserForm ? FBrowserForm->AppDirPath() : ustring(); }

bool TBrowserExternalModule::ReadPath(const ustring& uuid, const TBridgeObject& data, const char16_t* name,
                                      const char16_t* missingReply, ustring& path) {
  const ustring given = data.ReadOptionalText(name);
  if (given.empty()) {
    PostErrorResponse(uuid, missingReply);
    return false;
  }
  path = ResolveBridgePath(given, AppFolder());
  return true;
}

void TBrowserExternalModule::ExecHello(const ustring& uuid) {
  PostSuccessResponse(uuid, u"\"" + ustring(kVersion) + u"\"");
}

void TBrowserExternalModule::ExecIsRuntime(const ustring& uuid) { PostSuccessResponse(uuid, BooleanText(!IsDesignMode())); }

void TBrowserExternalModule::ExecOpenFile(const ustring& uuid, const TBridgeObject& data) {
  ExecFileDialog(TFileDialogKind::Open, FFileOpenDialog, u"Open file", uuid, data);
}

void TBrowserExternalModule::ExecSaveFile(const ustring& uuid, const TBridgeObject& data) {
  ExecFileDialog(TFileDialogKind::Save, FFileSaveDialog, u"Save file", uuid, data);
}

void TBrowserExternalModule::ExecFileDialog(TFileDialogKind kind, TFileDialogSettings& dialog,
                                            const ustring& defaultTitle, const ustring& uuid,
                                            const TBridgeObject& data) {
  dialog.Filters.clear();
  dialog.FileName = data.ReadOptionalText(u"fileName");
  dialog.Title = data.ReadOptionalText(u"title", defaultTitle);
  // "name|pattern" items separated by ";"; any other item is skipped.
  for (const ustring& item : TStrUtils::ExplodeStrings(u";", data.ReadOptionalText(u"fileTypes"))) {
    const TArrayStrings parts = TStrUtils::ExplodeStrings(u"|", item);
    if (parts.size() == 2) dialog.Filters.emplace_back(parts[0], parts[1]);
  }
  if (kind == TFileDialogKind::Save) dialog.OverwritePrompt = data.ReadOptionalBoolean(u"overwritePrompt", false);
  const auto chosen = FPlatform.ShowFileDialog(kind, dialog);
  PostSuccessResponse(uuid, chosen ? TStrUtils::StringToJsonString(*chosen) : ustring(u"\"\""));
}

void TBrowserExternalModule::ExecPathTest(const ustring& uuid, const TBridgeObject& data, TPathArgument argument,
                                          bool (IBridgePlatform::*test)(const ustring&)) {
  const bool isFile = argument == TPathArgument::File;
  ustring path;
  if (!ReadPath(uuid, data, isFile ? u"filePath" : u"dirPath", isFile ? kMissingFilePath : kMissingDirPath, path))
    return;
  // A wildcard or NUL would reach more than the one file or folder named.
  PostSuccessResponse(uuid, BooleanText(IsPlainPagePath(path) && (FPlatform.*test)(path)));
}

void TBrowserExternalModule::ExecFileExists(const ustring& uuid, const TBridgeObject& data) {
  ExecPathTest(uuid, data, TPathArgument::File, &IBridgePlatform::FileExists);
}

void TBrowserExternalModule::ExecDeleteFile(const ustring& uuid, const TBridgeObject& data) {
  ExecPathTest(uuid, data, TPathArgument::File, &IBridgePlatform::RemoveFile);
}

void TBrowserExternalModule::ExecWriteTextFile(const ustring& uuid, const TBridgeObject& data) {
  ustring path;
  if (!ReadPath(uuid, data, u"filePath", kMissingFilePath, path)) return;
  if (!IsPlainPagePath(path)) {
    return PostErrorResponse(uuid, TStrUtils::StringToJsonString(u"Cannot create file \"" + path + u"\". " +
                                                                 FPlatform.InvalidPathMessage()));
  }
  const ustring folder = FolderOfFilePath(path);
  if (!folder.empty()) FPlatform.ForceDirectories(folder);
  const std::string bytes = TextFileBytes(data.ReadOptionalText(u"contents"));
  const TWriteFileResult written = FPlatform.WriteWholeFile(path, bytes);
  switch (written.Status) {
    case TWriteFileStatus::Written:
      return PostSuccessResponse(uuid, kTrue);
    case TWriteFileStatus::CannotCreate:
      return PostErrorResponse(uuid, TStrUtils::StringToJsonString(u"Cannot create file \"" + path + u"\". " +
                                                                   written.SystemMessage));
    case TWriteFileStatus::WriteFailed:
      return PostErrorResponse(uuid, TStrUtils::StringToJsonString(written.SystemMessage));
  }
}

void TBrowserExternalModule::ExecDirExists(const ustring& uuid, const TBridgeObject& data) {
  ExecPathTest(uuid, data, TPathArgument::Folder, &IBridgePlatform::DirectoryExists);
}

void TBrowserExternalModule::ExecDeleteDir(const ustring& uuid, const TBridgeObject& data) {
  ExecPathTest(uuid, data, TPathArgument::Folder, &IBridgePlatform::DeleteDirectory);
}

void TBrowserExternalModule::ExecGetTempDir(const ustring& uuid) {
  PostSuccessResponse(uuid, TStrUtils::StringToJsonString(FPlatform.GetTempDirPath()));
}

void TBrowserExternalModule::ExecGetUserDocumentsDir(const ustring& uuid) {
  PostSuccessResponse(uuid, TStrUtils::StringToJsonString(FPlatform.GetUserDocumentsDirPath()));
}

void TBrowserExternalModule::ExecGetUserDesktopDir(const ustring& uuid) {
  PostSuccessResponse(uuid, TStrUtils::StringToJsonString(FPlatform.GetUserDesktopDirPath()));
}

void TBrowserExternalModule::ExecAppClose(const ustring&) {
  if (FOnAppCloseRequest) FOnAppCloseRequest(this);
}

void TBrowserExternalModule::ExecInFullscreen(const ustring& uuid) { PostSuccessResponse(uuid, BooleanText(FInFullscreen)); }

void TBrowserExternalModule::ExecEnterFullscreen(const ustring&) {
  if (IsDesignMode()) return FPlatform.ShowMessage(u"Calls to vtl.app.enterFullscreen() works only at runtime.");
  if (FInFullscreen) return;
  FInFullscreen = true;
  if (FMainForm) {
    FMainForm->SetBorderStyle(TFormBorderStyle::None);
    FMainForm->SetWindowState(TWindowState::Maximized);
  }
}

void TBrowserExternalModule::ExecExitFullscreen(const ustring&) {
  if (IsDesignMode()) return FPlatform.ShowMessage(u"Calls to vtl.app.exitFullscreen() works only at runtime.");
  if (!FInFullscreen) return;
  FInFullscreen = false;
  if (FMainForm) {
    FMainForm->SetWindowState(TWindowState::Normal);
    const int border = FProjectINI ? FProjectINI->ReadInteger(u"App", u"WindowBorder", 2) : 2;
    FMainForm->SetBorderStyle(BorderStyleFromConfig(border));
  }
}

}  // namespace vantrel
