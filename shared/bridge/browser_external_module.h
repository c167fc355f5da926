#pragma once
// The script bridge's host side: reads each web message of the page as a
// call (function number, call identifier, argument object), runs the
// command of that number and posts the reply that settles the page's promise.
#include <functional>
#include <string>

#include "platform/ustring.h"
#include "shared/bridge/bridge_members.h"
#include "shared/bridge/bridge_platform.h"
#include "shared/edge/edge_browser.h"
#include "shared/hosting/app_origin.h"

namespace vantrel {

class TBrowserFormCore;
class TMemIniFile;
class TZipArchive;

class TBrowserExternalModule {
 public:
  // The version text the bridge reports.
  static constexpr char16_t kVersion[] = u"2021.10";

  explicit TBrowserExternalModule(IBridgePlatform& platform);
  ~TBrowserExternalModule();
  TBrowserExternalModule(const TBrowserExternalModule&) = delete;
  TBrowserExternalModule& operator=(const TBrowserExternalModule&) = delete;

  IBridgeMainWindow* MainForm() const { return FMainForm; }
  void SetMainForm(IBridgeMainWindow* value) { FMainForm = value; }
  // Present: runtime mode; absent: design mode.
  TZipArchive* ExeZip() const { return FExeZip; }
  void SetExeZip(TZipArchive* value) { FExeZip = value; }
  bool InFullscreen() const { return FInFullscreen; }
  void SetInFullscreen(bool value) { FInFullscreen = value; }
  const TMemIniFile* ProjectINI() const { return FProjectINI; }
  void SetProjectINI(const TMemIniFile* value) { FProjectINI = value; }
  TBrowserFormCore* BrowserForm() const { return FBrowserForm; }
  void SetBrowserForm(TBrowserFormCore* value) { FBrowserForm = value; }
  const TNotifyEvent& OnAppCloseRequest() const { return FOnAppCloseRequest; }
  void SetOnAppCloseRequest(TNotifyEvent handler) { FOnAppCloseRequest = std::move(handler); }
  // The pages whose calls are answered (by default file:/// pages only).
  void SetAppOrigins(TAppOrigins value) { FAppOrigins = std::move(value); }

  // True while a command runs (a file dialog's own message loop may deliver
  // other events meanwhile); OnCommandsFinished is raised when the last one
  // has returned and its reply was posted.
  bool IsRunningCommand() const { return FRunningCommands > 0; }
  void SetOnCommandsFinished(TNotifyEvent handler) { FOnCommandsFinished = std::move(handler); }

  const TFileDialogSettings& FileOpenDialog() const { return FFileOpenDialog; }
  const TFileDialogSettings& FileSaveDialog() const { return FFileSaveDialog; }

  // Handler of the control's web-message event. A message that cannot be
  // read as a call gets no reply; the error stays here (see LastCallError)
  // and later messages are handled as usual.
  void EdgeBrowserWebMessageReceived(TCustomEdgeBrowser* Sender, TWebMessageReceivedEventArgs* Args);
  // The same steps for a message given as its string and JSON forms, posted
  // by the page at `source`: a page that is not the application's own is
  // not answered.
  void HandleWebMessage(const ustring& source, const ustring& asString, const ustring& asJson);
  void HandleWebMessage(const ustring& asString, const ustring& asJson) {
    HandleWebMessage(u"file:///", asString, asJson);
  }
  // Why the last unanswered call could not be handled (empty if none).
  const std::string& LastCallError() const { return FLastCallError; }

  // The reply text: {"uuid": "<id>", "success": <flag>, "result": <result>}.
  static ustring ReplyText(const ustring& uuid, const ustring& result, bool success);

 private:
  void Dispatch(int32_t id, const ustring& uuid, const TBridgeObject& data);
  void PostResponse(const ustring& uuid, const ustring& result, bool success);
  void PostSuccessResponse(const ustring& uuid, const ustring& result) { PostResponse(uuid, result, true); }
  void PostErrorResponse(const ustring& uuid, const ustring& result) { PostResponse(uuid, result, false); }
  bool IsDesignMode() const { return FExeZip == nullptr; }
  ustring AppFolder() const;

  void ExecHello(const ustring& uuid);
  void ExecIsRuntime(const ustring& uuid);
  void ExecOpenFile(const ustring& uuid, const TBridgeObject& data);
  void ExecSaveFile(const ustring& uuid, const TBridgeObject& data);
  void ExecFileDialog(TFileDialogKind kind, TFileDialogSettings& dialog, const ustring& defaultTitle,
                      const ustring& uuid, const TBridgeObject& data);
  void ExecFileExists(const ustring& uuid, const TBridgeObject& data);
  void ExecDeleteFile(const ustring& uuid, const TBridgeObject& data);
  void ExecWriteTextFile(const ustring& uuid, const TBridgeObject& data);
  void ExecDirExists(const ustring& uuid, const TBridgeObject& data);
  void ExecDeleteDir(const ustring& uuid, const TBridgeObject& data);
  void ExecGetTempDir(const ustring& uuid);
  void ExecGetUserDocumentsDir(const ustring& uuid);
  void ExecGetUserDesktopDir(const ustring& uuid);
  void ExecAppClose(const ustring& uuid);
  void ExecInFullscreen(const ustring& uuid);
  void ExecEnterFullscreen(const ustring& uuid);
  void ExecExitFullscreen(const ustring& uuid);
  enum class TPathArgument { File, Folder };
  // Path rule on filePath or dirPath, then replies with the test's outcome.
  void ExecPathTest(const ustring& uuid, const TBridgeObject& data, TPathArgument argument,
                    bool (IBridgePlatform::*test)(const ustring&));
  // The path argument after the path rule, or nothing after the failure reply.
  bool ReadPath(const ustring& uuid, const TBridgeObject& data, const char16_t* name, const char16_t* missingReply,
                ustring& path);

  IBridgePlatform& FPlatform;
  IBridgeMainWindow* FMainForm = nullptr;
  TZipArchive* FExeZip = nullptr;
  bool FInFullscreen = false;
  const TMemIniFile* FProjectINI = nullptr;
  TBrowserFormCore* FBrowserForm = nullptr;
  TNotifyEvent FOnAppCloseRequest;
  TNotifyEvent FOnCommandsFinished;
  TAppOrigins FAppOrigins;
  int FRunningCommands = 0;
  TFileDialogSettings FFileOpenDialog;
  TFileDialogSettings FFileSaveDialog;
  std::string FLastCallError;
};

}  // namespace vantrel
