#include "shared/edge/edge_browser.h"

#include <cmath>

#include "platform/com_object.h"
#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "shared/util/text_file.h"

namespace vantrel {

namespace {
constexpr char kCreateFailed[] = "Failed to create Edge browser control";
constexpr char kNotInstantiated[] = "WebView2 not instantiated";
constexpr uintptr_t kScMinimize = 0xF020;
constexpr uintptr_t kScRestore = 0xF120;
constexpr UINT kWmKeyDown = 0x100, kWmKeyUp = 0x101, kWmSysKeyDown = 0x104, kWmSysKeyUp = 0x105;

// A value read from event arguments whose read result is not examined.
template <typename T, typename Args, typename Getter>
T ReadOr(Args* args, Getter getter, T fallback) {
  T value = fallback;
  if (args && FAILED((args->*getter)(&value))) value = fallback;
  return value;
}
}  // namespace

TCustomEdgeBrowser::TCustomEdgeBrowser() = default;

TCustomEdgeBrowser::~TCustomEdgeBrowser() = default;

void TCustomEdgeBrowser::Destroy() { CloseWebView(); }

bool TCustomEdgeBrowser::CheckResult(HRESULT hr) {
  {
    std::lock_guard<std::mutex> guard(FCritSec);
    FLastErrorCode = hr;
  }
  return SUCCEEDED(hr);
}

bool TCustomEdgeBrowser::WebViewCreated() const {
  return FWebViewEnvironment && FWebViewController && FWebView && FWebViewSettings;
}

// --- Creation -------------------------------------------------------------

void TCustomEdgeBrowser::ParentChanged(bool hasParent) {
  if (hasParent && !IsDesigning()) CreateWebView();
}

void TCustomEdgeBrowser::WindowRecreated() {
  if (FWebView) ReinitializeWebView();
}

void TCustomEdgeBrowser::CreateWebView() {
  if (FWebView || FBrowserControlState == TBrowserControlState::Creating) return;
  FBrowserControlState = TBrowserControlState::Creating;
  RunOnWorkerThread([this] { InitializeWebView(); });
}

void TCustomEdgeBrowser::ReinitializeWebView() { InitializeWebView(); }

void TCustomEdgeBrowser::ReinitializeWebViewWithNewBrowser() {
  CloseBrowserProcess();
  ReinitializeWebView();
}

void TCustomEdgeBrowser::InitializeWebView() {
  CloseWebView();
  FSizeRatio = 1.0;
  FWebViewFocusEventActive = false;
  auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [this](HRESULT result, ICoreWebView2Environment* environment) {
        return CreateEnvironmentCompleted(result, environment);
      });
  const HRESULT hr = LoaderCreateEnvironment(handler.Get());
  if (!CheckResult(hr)) QueueToUiThread([this, hr] { ReportCreationFailure(hr); });
}

void TCustomEdgeBrowser::ReportCreationFailure(HRESULT result) {
  if (FOnCreateWebViewCompleted) FOnCreateWebViewCompleted(this, result);
}

HRESULT TCustomEdgeBrowser::CreateEnvironmentCompleted(HRESULT result, ICoreWebView2Environment* environment) {
  if (CheckResult(result) && environment) {
    FWebViewEnvironment = ComPtr<ICoreWebView2Environment>::Share(environment);
    // One more reference, never given back: the environment lives until the
    // process ends, as the browser runtime expects of its hosts.
    environment->AddRef();
    QueueToUiThread([this] { CreateController(); });
  } else {
    const HRESULT failure = SUCCEEDED(result) ? E_POINTER : result;
    QueueToUiThread([this, failure] { ReportCreationFailure(failure); });
  }
  return S_OK;
}

void TCustomEdgeBrowser::CreateController() {
  if (!FWebViewEnvironment) return;
  auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
      [this](HRESULT result, ICoreWebView2Controller* controller) {
        return CreateCoreWebView2ControllerCompleted(result, controller);
      });
  CheckResult(FWebViewEnvironment->CreateCoreWebView2Controller(NativeHandle(), handler.Get()));
}

HRESULT TCustomEdgeBrowser::CreateCoreWebView2ControllerCompleted(HRESULT result,
                                                                  ICoreWebView2Controller* controller) {
  bool ok = CheckResult(result) && controller;
  if (ok) {
    FWebViewController = ComPtr<ICoreWebView2Controller>::Share(controller);
    FWebView.Reset();
    ok = CheckResult(FWebViewController->get_CoreWebView2(FWebView.Put())) && FWebView;
  }
  if (ok) {
    FWebViewSettings.Reset();
    ok = CheckResult(FWebView->get_Settings(FWebViewSettings.Put())) && FWebViewSettings;
  }
  if (!ok) {
    FBrowserControlState = TBrowserControlState::Failed;
    if (FOnCreateWebViewCompleted) {
      FOnCreateWebViewCompleted(this, FLastErrorCode);
    } else {
      // Raised for the application's error reporting, not into the browser's callback.
      const HRESULT code = FLastErrorCode;
      QueueToUiThread([this, code] { HandleException(EEdgeError(kCreateFailed, code)); });
    }
    return S_OK;
  }

  FBrowserControlState = TBrowserControlState::Created;
  if (FOnCreateWebViewCompleted) FOnCreateWebViewCompleted(this, result);
  if (FWebView && FWebViewController) RegisterEvents();
  Resize();
  if (!FLastURL.empty()) Navigate(FLastURL);
  return S_OK;
}

// --- Events ---------------------------------------------------------------

void TCustomEdgeBrowser::RegisterEvents() {
  ICoreWebView2* web = FWebView.Get();
  web->add_NavigationStarting(
      MakeHandler<ICoreWebView2NavigationStartingEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
            if (!FOnNavigationStarting) return S_OK;
            TNavigationStartingEventArgs a(args);
            FOnNavigationStarting(this, &a);
            return S_OK;
          }).Get(),
      &FNavigationStartingToken);
  web->add_NavigationCompleted(
      MakeHandler<ICoreWebView2NavigationCompletedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
            if (!FOnNavigationCompleted) return S_OK;
            const BOOL success = ReadOr<BOOL>(args, &ICoreWebView2NavigationCompletedEventArgs::get_IsSuccess, FALSE);
            const auto status = ReadOr<COREWEBVIEW2_WEB_ERROR_STATUS>(
                args, &ICoreWebView2NavigationCompletedEventArgs::get_WebErrorStatus,
                COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
            FOnNavigationCompleted(this, success != FALSE, status);
            return S_OK;
          }).Get(),
      &FNavigationCompletedToken);
  web->add_SourceChanged(
      MakeHandler<ICoreWebView2SourceChangedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2SourceChangedEventArgs* args) {
            if (!FOnSourceChanged) return S_OK;
            FOnSourceChanged(
                this, ReadOr<BOOL>(args, &ICoreWebView2SourceChangedEventArgs::get_IsNewDocument, FALSE) != FALSE);
            return S_OK;
          }).Get(),
      &FSourceChangedToken);
  web->add_HistoryChanged(MakeHandler<ICoreWebView2HistoryChangedEventHandler>([this](ICoreWebView2*, IUnknown*) {
                            if (FOnHistoryChanged) FOnHistoryChanged(this);
                            return S_OK;
                          }).Get(),
                          &FHistoryChangedToken);
  web->add_ContentLoading(
      MakeHandler<ICoreWebView2ContentLoadingEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs* args) {
            if (!FOnContentLoading) return S_OK;
            const BOOL errorPage = ReadOr<BOOL>(args, &ICoreWebView2ContentLoadingEventArgs::get_IsErrorPage, FALSE);
            const UINT64 id = ReadOr<UINT64>(args, &ICoreWebView2ContentLoadingEventArgs::get_NavigationId, 0);
            FOnContentLoading(this, errorPage != FALSE, id);
            return S_OK;
          }).Get(),
      &FContentLoadingToken);
  web->add_DocumentTitleChanged(
      MakeHandler<ICoreWebView2DocumentTitleChangedEventHandler>([this](ICoreWebView2*, IUnknown*) {
        if (FOnDocumentTitleChanged) FOnDocumentTitleChanged(this, DocumentTitle());
        return S_OK;
      }).Get(),
      &FDocumentTitleChangedToken);
  web->add_NewWindowRequested(
      MakeHandler<ICoreWebView2NewWindowRequestedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
            if (!FOnNewWindowRequested) return S_OK;
            TNewWindowRequestedEventArgs a(args);
            FOnNewWindowRequested(this, &a);
            return S_OK;
          }).Get(),
      &FNewWindowRequestedToken);
  web->add_FrameNavigationStarting(
      MakeHandler<ICoreWebView2NavigationStartingEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
            if (!FOnFrameNavigationStarting) return S_OK;
            TNavigationStartingEventArgs a(args);
            FOnFrameNavigationStarting(this, &a);
            return S_OK;
          }).Get(),
      &FFrameNavigationStartingToken);
  web->add_FrameNavigationCompleted(
      MakeHandler<ICoreWebView2NavigationCompletedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
            if (!FOnFrameNavigationCompleted) return S_OK;
            const BOOL success = ReadOr<BOOL>(args, &ICoreWebView2NavigationCompletedEventArgs::get_IsSuccess, FALSE);
            const auto status = ReadOr<COREWEBVIEW2_WEB_ERROR_STATUS>(
                args, &ICoreWebView2NavigationCompletedEventArgs::get_WebErrorStatus,
                COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
            FOnFrameNavigationCompleted(this, success != FALSE, status);
            return S_OK;
          }).Get(),
      &FFrameNavigationCompletedToken);
  web->add_WebResourceRequested(
      MakeHandler<ICoreWebView2WebResourceRequestedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
            if (!FOnWebResourceRequested) return S_OK;
            TWebResourceRequestedEventArgs a(args);
            FOnWebResourceRequested(this, &a);
            return S_OK;
          }).Get(),
      &FWebResourceRequestedToken);
  web->add_ScriptDialogOpening(
      MakeHandler<ICoreWebView2ScriptDialogOpeningEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2ScriptDialogOpeningEventArgs* args) {
            if (!FOnScriptDialogOpening) return S_OK;
            TScriptDialogOpeningEventArgs a(args);
            FOnScriptDialogOpening(this, &a);
            return S_OK;
          }).Get(),
      &FScriptDialogOpeningToken);
  web->add_PermissionRequested(
      MakeHandler<ICoreWebView2PermissionRequestedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
            if (!FOnPermissionRequested) return S_OK;
            TPermissionRequestedEventArgs a(args);
            FOnPermissionRequested(this, &a);
            return S_OK;
          }).Get(),
      &FPermissionRequestedToken);
  web->add_ProcessFailed(
      MakeHandler<ICoreWebView2ProcessFailedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
            if (!FOnProcessFailed) return S_OK;
            FOnProcessFailed(this, ReadOr<COREWEBVIEW2_PROCESS_FAILED_KIND>(
                                       args, &ICoreWebView2ProcessFailedEventArgs::get_ProcessFailedKind,
                                       COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED));
            return S_OK;
          }).Get(),
      &FProcessFailedToken);
  web->add_WebMessageReceived(
      MakeHandler<ICoreWebView2WebMessageReceivedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
            if (!FOnWebMessageReceived) return S_OK;
            TWebMessageReceivedEventArgs a(args);
            FOnWebMessageReceived(this, &a);
            return S_OK;
          }).Get(),
      &FWebMessageReceivedToken);
  web->add_ContainsFullScreenElementChanged(
      MakeHandler<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(
          [this](ICoreWebView2* sender, IUnknown*) {
            if (!FOnContainsFullScreenElementChanged) return S_OK;
            BOOL value = FALSE;
            if (!sender || !CheckResult(sender->get_ContainsFullScreenElement(&value))) return S_OK;
            FOnContainsFullScreenElementChanged(this, value != FALSE);
            return S_OK;
          }).Get(),
      &FContainsFullScreenElementChangedToken);
  web->add_WindowCloseRequested(
      MakeHandler<ICoreWebView2WindowCloseRequestedEventHandler>([this](ICoreWebView2*, IUnknown*) {
        if (FOnWindowCloseRequested) FOnWindowCloseRequested(this);
        return S_OK;
      }).Get(),
      &FWindowCloseRequestedToken);

  ICoreWebView2Controller* controller = FWebViewController.Get();
  controller->add_ZoomFactorChanged(
      MakeHandler<ICoreWebView2ZoomFactorChangedEventHandler>([this](ICoreWebView2Controller*, IUnknown*) {
        if (FOnZoomFactorChanged) FOnZoomFactorChanged(this, ZoomFactor());
        return S_OK;
      }).Get(),
      &FZoomFactorChangedToken);
  controller->add_MoveFocusRequested(
      MakeHandler<ICoreWebView2MoveFocusRequestedEventHandler>(
          [this](ICoreWebView2Controller*, ICoreWebView2MoveFocusRequestedEventArgs* args) {
            ServeMoveFocusRequested(args);
            return S_OK;
          }).Get(),
      &FMoveFocusRequestedToken);
  controller->add_AcceleratorKeyPressed(
      MakeHandler<ICoreWebView2AcceleratorKeyPressedEventHandler>(
          [this](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
            ServeAcceleratorKeyPressed(args);
            return S_OK;
          }).Get(),
      &FAcceleratorKeyPressedToken);
  controller->add_GotFocus(MakeHandler<ICoreWebView2FocusChangedEventHandler>([this](ICoreWebView2Controller*, IUnknown*) {
                             ServeGotFocus();
                             return S_OK;
                           }).Get(),
                           &FGotFocusToken);
  controller->add_LostFocus(
      MakeHandler<ICoreWebView2FocusChangedEventHandler>([this](ICoreWebView2Controller*, IUnknown*) {
        DoExit();
        return S_OK;
      }).Get(),
      &FLostFocusToken);
}

// --- Teardown -------------------------------------------------------------

void TCustomEdgeBrowser::CloseWebView() {
  if (FWebView) {
    ICoreWebView2* web = FWebView.Get();
    web->remove_NavigationStarting(FNavigationStartingToken);
    web->remove_NavigationCompleted(FNavigationCompletedToken);
    web->remove_SourceChanged(FSourceChangedToken);
    web->remove_HistoryChanged(FHistoryChangedToken);
    web->remove_ContentLoading(FContentLoadingToken);
    web->remove_DocumentTitleChanged(FDocumentTitleChangedToken);
    web->remove_NewWindowRequested(FNewWindowRequestedToken);
    web->remove_FrameNavigationStarting(FFrameNavigationStartingToken);
    web->remove_FrameNavigationCompleted(FFrameNavigationCompletedToken);
    web->remove_WebResourceRequested(FWebResourceRequestedToken);
    web->remove_ScriptDialogOpening(FScriptDialogOpeningToken);
    web->remove_PermissionRequested(FPermissionRequestedToken);
    web->remove_ProcessFailed(FProcessFailedToken);
    web->remove_WebMessageReceived(FWebMessageReceivedToken);
    web->remove_WindowCloseRequested(FWindowCloseRequestedToken);
    web->remove_ContainsFullScreenElementChanged(FContainsFullScreenElementChangedToken);
    for (const auto& [name, token] : FDevToolsProtocolEventReceivedTokenMap) {
      ComPtr<ICoreWebView2DevToolsProtocolEventReceiver> receiver;
      if (CheckResult(web->GetDevToolsProtocolEventReceiver(ToWide(name), receiver.Put())) && receiver) {
        receiver->remove_DevToolsProtocolEventReceived(token);
      }
    }
    FDevToolsProtocolEventReceivedTokenMap.clear();
    FWebView.Reset();
  }
  if (FWebViewController) {
    ICoreWebView2Controller* controller = FWebViewController.Get();
    controller->remove_AcceleratorKeyPressed(FAcceleratorKeyPressedToken);
    controller->remove_GotFocus(FGotFocusToken);
    controller->remove_LostFocus(FLostFocusToken);
    controller->remove_MoveFocusRequested(FMoveFocusRequestedToken);
    controller->remove_ZoomFactorChanged(FZoomFactorChangedToken);
    controller->Close();
    FWebViewController.Reset();
  }
}

void TCustomEdgeBrowser::CloseBrowserProcess() {
  const uint32_t processId = BrowserProcessID();
  CloseWebView();
  if (processId != 0) EndBrowserProcess(processId);
}

// --- Window integration ---------------------------------------------------

void TCustomEdgeBrowser::Resize() {
  if (!FWebViewController) return;
  RECT bounds = ClientRect();
  bounds.right = static_cast<LONG>(std::trunc((bounds.right - bounds.left) * FSizeRatio + bounds.left));
  bounds.bottom = static_cast<LONG>(std::trunc((bounds.bottom - bounds.top) * FSizeRatio + bounds.top));
  CheckResult(FWebViewController->put_Bounds(bounds));
}

void TCustomEdgeBrowser::SetSizeRatio(double ratio) {
  FSizeRatio = ratio;
  Resize();
}

void TCustomEdgeBrowser::VisibleChanged(bool visible) {
  if (FWebViewController) CheckResult(FWebViewController->put_IsVisible(visible ? TRUE : FALSE));
}

void TCustomEdgeBrowser::SysCommand(uintptr_t command) {
  if (!FWebViewController) return;
  if (command == kScMinimize) CheckResult(FWebViewController->put_IsVisible(FALSE));
  else if (command == kScRestore) CheckResult(FWebViewController->put_IsVisible(TRUE));
}

void TCustomEdgeBrowser::SetFocus() {
  if (FWebViewController) CheckResult(FWebViewController->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC));
}

void TCustomEdgeBrowser::DoEnter() {
  if (OnEnter) OnEnter(this);
  if (!FWebViewFocusEventActive && FWebViewController) {
    CheckResult(FWebViewController->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC));
  }
}

void TCustomEdgeBrowser::DoExit() {
  if (OnExit) OnExit(this);
}

void TCustomEdgeBrowser::ServeGotFocus() {
  FWebViewFocusEventActive = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FWebViewFocusEventActive};
  DoEnter();
}

void TCustomEdgeBrowser::ServeMoveFocusRequested(ICoreWebView2MoveFocusRequestedEventArgs* args) {
  COREWEBVIEW2_MOVE_FOCUS_REASON reason = COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC;
  if (!args || !CheckResult(args->get_Reason(&reason))) return;
  if (reason == COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT) SelectNext(true);
  else if (reason == COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS) SelectNext(false);
}

void TCustomEdgeBrowser::ServeAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
  if (!args) return;
  COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
  UINT virtualKey = 0;
  INT keyLParam = 0;
  if (!CheckResult(args->get_KeyEventKind(&kind)) || !CheckResult(args->get_VirtualKey(&virtualKey)) ||
      !CheckResult(args->get_KeyEventLParam(&keyLParam))) {
    return;
  }
  UINT message;
  switch (kind) {
    case COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN: message = kWmKeyDown; break;
    case COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP: message = kWmKeyUp; break;
    case COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN: message = kWmSysKeyDown; break;
    case COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP: message = kWmSysKeyUp; break;
    default: return;
  }
  if (IsShortCut(message, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(keyLParam))) args->put_Handled(TRUE);
}

// --- Operations -----------------------------------------------------------

void TCustomEdgeBrowser::Navigate(const ustring& AUrl) {
  if (FWebView) {
    CheckResult(FWebView->Navigate(ToWide(AUrl)));
  } else if (!TrimControls(AUrl).empty()) {
    FLastURL = AUrl;
  }
}

void TCustomEdgeBrowser::NavigateToString(const ustring& AHTMLContent) {
  if (FWebView) CheckResult(FWebView->NavigateToString(ToWide(AHTMLContent)));
}

void TCustomEdgeBrowser::GoBack() {
  if (FWebView) CheckResult(FWebView->GoBack());
}
void TCustomEdgeBrowser::GoForward() {
  if (FWebView) CheckResult(FWebView->GoForward());
}
void TCustomEdgeBrowser::Refresh() {
  if (FWebView) CheckResult(FWebView->Reload());
}
void TCustomEdgeBrowser::Stop() {
  if (FWebView) CheckResult(FWebView->Stop());
}

void TCustomEdgeBrowser::ExecuteScript(const ustring& JavaScript) {
  if (!FWebView) return;
  FWebView->ExecuteScript(ToWide(JavaScript), MakeHandler<ICoreWebView2ExecuteScriptCompletedHandler>(
                                                  [this](HRESULT result, LPCWSTR json) {
                                                    if (FOnExecuteScript) FOnExecuteScript(this, result, FromWide(json));
                                                    return S_OK;
                                                  })
                                                  .Get());
}

void TCustomEdgeBrowser::CapturePreviewTo(IStream* stream, TPreviewFormat format) {
  if (!FWebView) return;
  const auto imageFormat = format == TPreviewFormat::JPEG ? COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG
                                                          : COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG;
  CheckResult(FWebView->CapturePreview(imageFormat, stream,
                                       MakeHandler<ICoreWebView2CapturePreviewCompletedHandler>([this](HRESULT result) {
                                         if (FOnCapturePreviewCompleted) FOnCapturePreviewCompleted(this, result);
                                         return S_OK;
                                       }).Get()));
}

void TCustomEdgeBrowser::CapturePreview(const ustring& AFilename, TPreviewFormat PreviewFormat) {
  ComPtr<IStream> file;
  if (!CheckResult(OpenFileStream(AFilename, file.Put())) || !file) return;
  CapturePreviewTo(file.Get(), PreviewFormat);
}

void TCustomEdgeBrowser::CapturePreview(TMemoryStream& Stream, TPreviewFormat PreviewFormat) {
  Stream.SetPosition(0);
  const ComPtr<IStream> adapter = TMemoryIStream::Borrowing(Stream);
  CapturePreviewTo(adapter.Get(), PreviewFormat);
}

void TCustomEdgeBrowser::AddWebResourceRequestedFilter(const ustring& URL,
                                                       COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext) {
  if (FWebView) CheckResult(FWebView->AddWebResourceRequestedFilter(ToWide(URL), ResourceContext));
}

bool TCustomEdgeBrowser::AddWebResourceRequestedFilterForAllSources(const ustring& URL,
                                                                   COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext) {
  if (!FWebView) return false;
  ComPtr<ICoreWebView2_22> webView22;
  if (FAILED(FWebView->QueryInterface(IidOf<ICoreWebView2_22>(), reinterpret_cast<void**>(webView22.Put()))) ||
      !webView22) {
    return false;
  }
  CheckResult(webView22->AddWebResourceRequestedFilterWithRequestSourceKinds(
      ToWide(URL), ResourceContext, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL));
  return true;
}

void TCustomEdgeBrowser::RemoveWebResourceRequestedFilter(const ustring& URL,
                                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext) {
  if (FWebView) CheckResult(FWebView->RemoveWebResourceRequestedFilter(ToWide(URL), ResourceContext));
}

void TCustomEdgeBrowser::SubscribeToCDPEvent(const ustring& CDPEventName) {
  if (!FWebView) return;
  ComPtr<ICoreWebView2DevToolsProtocolEventReceiver> receiver;
  if (!CheckResult(FWebView->GetDevToolsProtocolEventReceiver(ToWide(CDPEventName), receiver.Put())) || !receiver) {
    return;
  }
  const auto existing = FDevToolsProtocolEventReceivedTokenMap.find(CDPEventName);
  if (existing != FDevToolsProtocolEventReceivedTokenMap.end()) {
    receiver->remove_DevToolsProtocolEventReceived(existing->second);
  }
  EventRegistrationToken token{};
  auto handler = MakeHandler<ICoreWebView2DevToolsProtocolEventReceivedEventHandler>(
      [this, CDPEventName](ICoreWebView2*, ICoreWebView2DevToolsProtocolEventReceivedEventArgs* args) {
        if (!FOnDevToolsProtocolEventReceived) return S_OK;
        LPWSTR json = nullptr;
        if (args) args->get_ParameterObjectAsJson(&json);
        const ustring parameters = TakeCoTaskString(json);
        FOnDevToolsProtocolEventReceived(this, CDPEventName, parameters);
        return S_OK;
      });
  if (CheckResult(receiver->add_DevToolsProtocolEventReceived(handler.Get(), &token))) {
    FDevToolsProtocolEventReceivedTokenMap[CDPEventName] = token;
  }
}

// --- Properties -----------------------------------------------------------

ustring TCustomEdgeBrowser::BrowserVersionInfo() {
  LPWSTR version = nullptr;
  const HRESULT hr =
      FWebView && FWebViewEnvironment ? FWebViewEnvironment->get_BrowserVersionString(&version)
                                      : LoaderGetBrowserVersionString(&version);
  const ustring text = TakeCoTaskString(version);
  return CheckResult(hr) ? text : ustring();
}

uint32_t TCustomEdgeBrowser::BrowserProcessID() {
  UINT32 id = 0;
  if (!FWebView || !CheckResult(FWebView->get_BrowserProcessId(&id))) return 0;
  return id;
}

bool TCustomEdgeBrowser::CanGoBack() {
  BOOL value = FALSE;
  return FWebView && CheckResult(FWebView->get_CanGoBack(&value)) && value;
}

bool TCustomEdgeBrowser::CanGoForward() {
  BOOL value = FALSE;
  return FWebView && CheckResult(FWebView->get_CanGoForward(&value)) && value;
}

bool TCustomEdgeBrowser::ContainsFullScreenElement() {
  BOOL value = FALSE;
  return FWebView && CheckResult(FWebView->get_ContainsFullScreenElement(&value)) && value;
}

ustring TCustomEdgeBrowser::DocumentTitle() {
  if (!FWebView) return {};
  LPWSTR title = nullptr;
  const HRESULT hr = FWebView->get_DocumentTitle(&title);
  const ustring text = TakeCoTaskString(title);
  return CheckResult(hr) ? text : ustring();
}

ustring TCustomEdgeBrowser::LocationURL() {
  if (!FWebView) return {};
  LPWSTR source = nullptr;
  const HRESULT hr = FWebView->get_Source(&source);
  const ustring text = TakeCoTaskString(source);
  if (!CheckResult(hr) || SameTextIgnoringCase(text, u"about:blank")) return {};
  return text;
}

double TCustomEdgeBrowser::ZoomFactor() {
  double value = 0.0;
  if (!FWebViewController || !CheckResult(FWebViewController->get_ZoomFactor(&value))) return 0.0;
  return value;
}

void TCustomEdgeBrowser::SetZoomFactor(double value) {
  if (FWebViewController) CheckResult(FWebViewController->put_ZoomFactor(value));
}

bool TCustomEdgeBrowser::ReadSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*get)(BOOL*)) {
  BOOL value = FALSE;
  if (!FWebViewSettings || !CheckResult((FWebViewSettings.Get()->*get)(&value))) {
    throw EEdgeError(kNotInstantiated, E_FAIL);
  }
  return value != FALSE;
}

void TCustomEdgeBrowser::WriteSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*put)(BOOL), bool value) {
  if (!FWebViewSettings) throw EEdgeError(kNotInstantiated, E_FAIL);
  CheckResult((FWebViewSettings.Get()->*put)(value ? TRUE : FALSE));
}

#define VANTREL_EDGE_SETTING(Property, Setting)                                                             \
  bool TCustomEdgeBrowser::Property() { return ReadSetting(&ICoreWebView2Settings::get_##Setting); }        \
  void TCustomEdgeBrowser::Set##Property(bool value) { WriteSetting(&ICoreWebView2Settings::put_##Setting, value); }

VANTREL_EDGE_SETTING(BuiltInErrorPageEnabled, IsBuiltInErrorPageEnabled)
VANTREL_EDGE_SETTING(DefaultContextMenusEnabled, AreDefaultContextMenusEnabled)
VANTREL_EDGE_SETTING(DefaultScriptDialogsEnabled, AreDefaultScriptDialogsEnabled)
VANTREL_EDGE_SETTING(DevToolsEnabled, AreDevToolsEnabled)
VANTREL_EDGE_SETTING(ScriptEnabled, IsScriptEnabled)
VANTREL_EDGE_SETTING(StatusBarEnabled, IsStatusBarEnabled)
VANTREL_EDGE_SETTING(WebMessageEnabled, IsWebMessageEnabled)
VANTREL_EDGE_SETTING(ZoomControlEnabled, IsZoomControlEnabled)

#undef VANTREL_EDGE_SETTING

}  // namespace vantrel
