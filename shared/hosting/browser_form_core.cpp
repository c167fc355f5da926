#include "shared/hosting/browser_form_core.h"

#include <cstdio>
#include <string>

#include "platform/com_text.h"
#include "shared/util/command_line.h"

namespace vantrel {

namespace {
constexpr char16_t kDragOverScript[] =
    u"window.addEventListener(\"dragover\", function(e){e.preventDefault();},false);";
constexpr char16_t kDropScript[] = u"window.addEventListener(\"drop\", function(e){e.preventDefault();}, false);";
constexpr char16_t kClickScript[] =
    u"window.addEventListener(\"click\", function () "
    u"{window.chrome.webview.postMessage(\"vtl-webbrowser-clicked\");});";
}  // namespace

TBrowserFormCore::TBrowserFormCore(std::unique_ptr<TCustomEdgeBrowser> browser) : FEdgeBrowser(std::move(browser)) {
  TCustomEdgeBrowser& b = *FEdgeBrowser;
  b.SetOnProcessFailed([this](TCustomEdgeBrowser* s, COREWEBVIEW2_PROCESS_FAILED_KIND k) {
    EdgeBrowserProcessFailed(s, k);
  });
  b.SetOnNewWindowRequested(
      [this](TCustomEdgeBrowser* s, TNewWindowRequestedEventArgs* a) { EdgeBrowserNewWindowRequested(s, a); });
  b.SetOnCreateWebViewCompleted([this](TCustomEdgeBrowser* s, HRESULT hr) { EdgeBrowserCreateWebViewCompleted(s, hr); });
  b.SetOnWebResourceRequested(
      [this](TCustomEdgeBrowser* s, TWebResourceRequestedEventArgs* a) { EdgeBrowserWebResourceRequested(s, a); });
  b.SetOnNavigationCompleted([this](TCustomEdgeBrowser* s, bool ok, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    EdgeBrowserNavigationCompleted(s, ok, status);
  });
  b.SetOnWebMessageReceived(
      [this](TCustomEdgeBrowser* s, TWebMessageReceivedEventArgs* a) { EdgeBrowserWebMessageReceived(s, a); });
  b.SetOnPermissionRequested(
      [this](TCustomEdgeBrowser* s, TPermissionRequestedEventArgs* a) { EdgeBrowserPermissionRequested(s, a); });
}

TBrowserFormCore::~TBrowserFormCore() = default;

ustring TBrowserFormCore::ComposePageScripts() const {
  ustring script;
  if (FWithExternal) script += u"\r" + ExternalScriptText();
  script += u"\r";
  script += kDragOverScript;
  script += u"\r";
  script += kDropScript;
  if (!FIsRuntime) {
    script += u"\r";
    script += kClickScript;
  }
  return script;
}

void TBrowserFormCore::AddPageScripts() {
  if (ICoreWebView2* web = FEdgeBrowser->DefaultInterface()) {
    web->AddScriptToExecuteOnDocumentCreated(ToWide(ComposePageScripts()), nullptr);
  }
}

bool TBrowserFormCore::BrowserRunning() const {
  return !FBrowserFailed && FEdgeBrowser->BrowserControlState() == TCustomEdgeBrowser::TBrowserControlState::Created;
}

bool TBrowserFormCore::PageCanAgreeToClose() {
  return BrowserRunning() && !FShowsErrorPage && FAppOrigins.IsAppPage(FEdgeBrowser->LocationURL());
}

void TBrowserFormCore::ReportBrowserFailure(const ustring& text) {
  if (FBrowserFailed) return;
  FBrowserFailed = true;
  HideProgressBar();
  if (FOnBrowserFailed) FOnBrowserFailed(text);
}

void TBrowserFormCore::EdgeBrowserCreateWebViewCompleted(TCustomEdgeBrowser*, HRESULT AResult) {
  if (FAILED(AResult)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(AResult));
    return ReportBrowserFailure(u"The web browser could not be started (error " + U(code) + u").");
  }
  AddPageScripts();
  if (ICoreWebView2Settings* settings = FEdgeBrowser->SettingsInterface()) {
    settings->put_IsScriptEnabled(TRUE);
    settings->put_IsStatusBarEnabled(FALSE);
    settings->put_IsZoomControlEnabled(FALSE);
    settings->put_IsWebMessageEnabled(TRUE);
    settings->put_IsBuiltInErrorPageEnabled(TRUE);
    settings->put_AreDevToolsEnabled(FAllowDebug ? TRUE : FALSE);
    settings->put_AreDefaultContextMenusEnabled(FAllowContextMenu ? TRUE : FALSE);
  }
  // Current browsers raise the older filter's event only for the main frame
  // and its same-origin frames: every frame and worker needs the newer one.
  if (!FEdgeBrowser->AddWebResourceRequestedFilterForAllSources(u"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL)) {
    FEdgeBrowser->AddWebResourceRequestedFilter(u"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
  }
  if (!FStartPageURL.empty()) FEdgeBrowser->Navigate(FStartPageURL);
}

void TBrowserFormCore::EdgeBrowserWebMessageReceived(TCustomEdgeBrowser*, TWebMessageReceivedEventArgs* Args) {
  if (FIsRuntime || !Args || !Args->ArgsInterface()) return;
  LPWSTR text = nullptr;
  if (FAILED(Args->ArgsInterface()->TryGetWebMessageAsString(&text))) {
    if (text) CoTaskMemFree(text);
    return;
  }
  if (TakeCoTaskString(text) == kBrowserClickedMessage) FocusParentOfParent();
}

ustring TBrowserFormCore::NewWindowParameters(const ustring& appId, const ustring& uri) {
  return QuoteCommandLineArgument(appId) + u" " + QuoteCommandLineArgument(uri);
}

void TBrowserFormCore::EdgeBrowserNewWindowRequested(TCustomEdgeBrowser*, TNewWindowRequestedEventArgs* Args) {
  if (!FIsRuntime || !Args || !Args->ArgsInterface()) return;
  LPWSTR rawUri = nullptr;
  Args->ArgsInterface()->get_Uri(&rawUri);
  const ustring uri = TakeCoTaskString(rawUri);
  Args->ArgsInterface()->put_Handled(TRUE);
  StartProcess(OwnExecutablePath(), NewWindowParameters(FRuntimeAppID, uri));
}

void TBrowserFormCore::EdgeBrowserPermissionRequested(TCustomEdgeBrowser*, TPermissionRequestedEventArgs* Args) {
  if (!Args || !Args->ArgsInterface()) return;
  // Camera, microphone, location and the like for the application's own
  // pages; any other page gets the browser's default.
  LPWSTR uri = nullptr;
  Args->ArgsInterface()->get_Uri(&uri);
  if (FAppOrigins.IsAppPage(TakeCoTaskString(uri))) {
    Args->ArgsInterface()->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
  }
}

void TBrowserFormCore::EdgeBrowserNavigationCompleted(TCustomEdgeBrowser*, bool IsSuccess,
                                                      COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatus) {
  // A cancelled navigation leaves the page as it was.
  if (IsSuccess || WebErrorStatus != COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) FShowsErrorPage = !IsSuccess;
  HideProgressBar();
}

void TBrowserFormCore::EdgeBrowserProcessFailed(TCustomEdgeBrowser*, COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  // The browser or the page's own process is gone: the page can no longer
  // answer. Failures of helper processes (frames, GPU, utilities) recover.
  if (kind != COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED &&
      kind != COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED &&
      kind != COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE) {
    return;
  }
  ReportBrowserFailure(u"The web browser stopped working (process failure kind " + U(std::to_string(kind)) + u").");
}

void TBrowserFormCore::EdgeBrowserWebResourceRequested(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args) {
  TResourceServerInputs inputs;
  inputs.HandleRequests = FHandleRequests;
  inputs.ExeZip = FExeZip;
  inputs.AppDirName = FAppDirName;
  inputs.AppDirPath = FAppDirPath;
  inputs.SecureOrigin = FSecureOrigin;
  vantrel::EdgeBrowserWebResourceRequested(Sender, Args, inputs);
}

}  // namespace vantrel
