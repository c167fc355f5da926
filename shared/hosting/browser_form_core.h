#pragma once
// What the browser host form decides, apart from its window: the page
// scripts, the seven settings, the resource filter and start page, new
// windows as new processes, permissions, and the resource server. The
// Windows form (TBrowserForm) supplies the window-side hooks.
#include <functional>
#include <memory>

#include "platform/ustring.h"
#include "shared/edge/edge_browser.h"
#include "shared/hosting/app_origin.h"
#include "shared/hosting/package_resource_server.h"
#include "shared/util/zip_archive.h"

namespace vantrel {

class TBrowserFormCore {
 public:
  // Takes the control over and attaches the form's seven handlers.
  explicit TBrowserFormCore(std::unique_ptr<TCustomEdgeBrowser> browser);
  virtual ~TBrowserFormCore();
  TBrowserFormCore(const TBrowserFormCore&) = delete;
  TBrowserFormCore& operator=(const TBrowserFormCore&) = delete;

  TZipArchive* ExeZip() const { return FExeZip; }
  void SetExeZip(TZipArchive* zip) { FExeZip = zip; }
  bool IsRuntime() const { return FIsRuntime; }
  void SetIsRuntime(bool value) { FIsRuntime = value; }
  const ustring& RuntimeAppID() const { return FRuntimeAppID; }
  void SetRuntimeAppID(const ustring& value) { FRuntimeAppID = value; }
  bool WithExternal() const { return FWithExternal; }
  void SetWithExternal(bool value) { FWithExternal = value; }
  const ustring& AppDirName() const { return FAppDirName; }
  void SetAppDirName(const ustring& value) { FAppDirName = value; }
  const ustring& AppDirPath() const { return FAppDirPath; }
  void SetAppDirPath(const ustring& value) { FAppDirPath = value; }
  bool AllowDebug() const { return FAllowDebug; }
  void SetAllowDebug(bool value) { FAllowDebug = value; }
  bool AllowContextMenu() const { return FAllowContextMenu; }
  void SetAllowContextMenu(bool value) { FAllowContextMenu = value; }
  const ustring& StartPageURL() const { return FStartPageURL; }
  void SetStartPageURL(const ustring& value) { FStartPageURL = value; }
  // Raised once when the browser could not be created or its process
  // failed, with a text for the user that names the error.
  using TBrowserFailedEvent = std::function<void(const ustring& text)>;
  void SetOnBrowserFailed(TBrowserFailedEvent handler) { FOnBrowserFailed = std::move(handler); }
  // True while a page can answer: the browser was created and has not failed.
  bool BrowserRunning() const;
  // True while the page shown can agree to close the window: the browser
  // runs and shows one of the application's own pages, not an error page
  // (another page has no bridge, so it could never agree).
  bool PageCanAgreeToClose();
  // The pages that are granted permissions (by default file:/// pages only).
  void SetAppOrigins(TAppOrigins value) { FAppOrigins = std::move(value); }
  // The app's pages live at https://app.localhost/ and are served there.
  void SetSecureOrigin(bool value) { FSecureOrigin = value; }
  bool HandleRequests() const { return FHandleRequests; }
  void SetHandleRequests(bool value) { FHandleRequests = value; }
  TCustomEdgeBrowser* EdgeBrowser() const { return FEdgeBrowser.get(); }
  // Gives the keyboard focus to the control this form is placed on.
  virtual void FocusParent() = 0;

  // The script registered for every document, as AddPageScripts builds it.
  ustring ComposePageScripts() const;

  // The form's event handlers (public: an owner may attach them elsewhere).
  void EdgeBrowserCreateWebViewCompleted(TCustomEdgeBrowser* Sender, HRESULT AResult);
  void EdgeBrowserWebMessageReceived(TCustomEdgeBrowser* Sender, TWebMessageReceivedEventArgs* Args);
  void EdgeBrowserNewWindowRequested(TCustomEdgeBrowser* Sender, TNewWindowRequestedEventArgs* Args);
  void EdgeBrowserPermissionRequested(TCustomEdgeBrowser* Sender, TPermissionRequestedEventArgs* Args);
  void EdgeBrowserNavigationCompleted(TCustomEdgeBrowser* Sender, bool IsSuccess,
                                      COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatus);
  void EdgeBrowserProcessFailed(TCustomEdgeBrowser* Sender, COREWEBVIEW2_PROCESS_FAILED_KIND ProcessFailedKind);
  void EdgeBrowserWebResourceRequested(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args);

  // The command-line parameters of a new window's process: the identifier
  // and the address, each quoted so that it stays one argument.
  static ustring NewWindowParameters(const ustring& appId, const ustring& uri);

 protected:
  // --- Window-side hooks ---
  virtual void HideProgressBar() = 0;
  virtual void FocusParentOfParent() = 0;
  virtual ustring OwnExecutablePath() const = 0;
  virtual void StartProcess(const ustring& exePath, const ustring& parameters) = 0;
  // Text of the page-side API script resource.
  virtual ustring ExternalScriptText() const = 0;
  // Frees the control while the derived class's window still exists.
  void DestroyBrowser() { FEdgeBrowser.reset(); }

 private:
  void AddPageScripts();

  TZipArchive* FExeZip = nullptr;
  bool FIsRuntime = false;
  ustring FRuntimeAppID;
  bool FWithExternal = false;
  ustring FAppDirName;
  ustring FAppDirPath;
  bool FAllowDebug = false;
  bool FAllowContextMenu = false;
  ustring FStartPageURL;
  TAppOrigins FAppOrigins;
  bool FShowsErrorPage = false;
  TBrowserFailedEvent FOnBrowserFailed;
  bool FBrowserFailed = false;
  void ReportBrowserFailure(const ustring& text);
  bool FHandleRequests = false;
  bool FSecureOrigin = false;
  std::unique_ptr<TCustomEdgeBrowser> FEdgeBrowser;
};

// The message the design-mode click listener posts.
inline constexpr char16_t kBrowserClickedMessage[] = u"vtl-webbrowser-clicked";

}  // namespace vantrel
