#include "engines/webview2/fake_browser.h"

namespace fake_webview2 {

using vantrel::FromWide;

namespace {
FakeController* gCurrent = nullptr;

// "*" matches any run of characters.
bool GlobMatch(const ustring& pattern, const ustring& text, size_t p = 0, size_t t = 0) {
  while (p < pattern.size()) {
    if (pattern[p] == u'*') {
      for (size_t k = t; k <= text.size(); ++k) {
        if (GlobMatch(pattern, text, p + 1, k)) return true;
      }
      return false;
    }
    if (t >= text.size() || pattern[p] != text[t]) return false;
    ++p, ++t;
  }
  return t == text.size();
}

std::string RectJson(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "]";
}
}  // namespace

FakeController* CurrentController() { return gCurrent; }
void SetCurrentController(FakeController* controller) { gCurrent = controller; }

// --- Browser ---------------------------------------------------------------

FakeWebView::FakeWebView() : title_(vantrel::Utf8ToUtf16(Settings().documentTitle)) {}
FakeWebView::~FakeWebView() {
  if (engine_) engine_->Bind(nullptr);
}

HRESULT FakeWebView::get_Settings(ICoreWebView2Settings** settings) {
  if (!settings) return E_POINTER;
  *settings = nullptr;
  if (FAILED(Settings().settingsResult)) return Settings().settingsResult;
  *settings = ComPtr<FakeSettings>(settings_).Detach();
  return S_OK;
}

HRESULT FakeWebView::Navigate(LPCWSTR uri) {
  const ustring target = FromWide(uri);
  Record("{\"call\":\"Navigate\",\"uri\":" + J(target) + "}");
  if (engine_) {
    engine_->Navigate(target);
    return S_OK;
  }
  ComPtr<FakeWebView> self = ComPtr<FakeWebView>::Share(this);
  Post([self, target] {
    if (self->Closed()) return;
    self->PlayNavigation(target, true);
    OnHostNavigated();
  });
  return S_OK;
}

HRESULT FakeWebView::NavigateToString(LPCWSTR html) {
  Record("{\"call\":\"NavigateToString\",\"html\":" + J(html) + "}");
  return S_OK;
}

bool FakeWebView::RaiseNavigationStarting(const ustring& uri) {
  auto starting = ComPtr<FakeNavigationStartingArgs>::Attach(new FakeNavigationStartingArgs(uri, ++navigationId_));
  NavigationStarting.Raise(static_cast<ICoreWebView2*>(this), starting.Get());
  if (!starting->Cancelled()) return true;
  Record("{\"event\":\"NavigationCancelled\",\"uri\":" + J(uri) + "}");
  return false;
}

void FakeWebView::RaiseSourceChanged(const ustring& uri) {
  source_ = uri;
  ++history_;
  auto sourceChanged = ComPtr<FakeSourceChangedArgs>::Attach(new FakeSourceChangedArgs);
  SourceChanged.Raise(static_cast<ICoreWebView2*>(this), sourceChanged.Get());
  HistoryChanged.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

void FakeWebView::RaiseContentLoading(bool errorPage) {
  auto loading = ComPtr<FakeContentLoadingArgs>::Attach(new FakeContentLoadingArgs(errorPage, navigationId_));
  ContentLoading.Raise(static_cast<ICoreWebView2*>(this), loading.Get());
}

void FakeWebView::RaiseNavigationCompleted(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  Record("{\"event\":\"NavigationCompleted\",\"uri\":" + J(source_) + ",\"success\":" +
         (success ? "true" : "false") + ",\"status\":" + std::to_string(status) + "}");
  auto completed = ComPtr<FakeNavigationCompletedArgs>::Attach(new FakeNavigationCompletedArgs(success, navigationId_, status));
  NavigationCompleted.Raise(static_cast<ICoreWebView2*>(this), completed.Get());
}

void FakeWebView::PlayNavigation(const ustring& uri, bool success) {
  if (!RaiseNavigationStarting(uri)) return;
  RaiseSourceChanged(uri);
  RaiseContentLoading(!success);
  RequestResource(uri);
  DocumentTitleChanged.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
  RaiseNavigationCompleted(success, success ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                                            : COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT);
}

bool FakeWebView::FilterMatches(const ustring& uri) const {
  for (const auto& filter : filters_) {
    if (GlobMatch(filter.first, uri)) return true;
  }
  return false;
}

void FakeWebView::RequestResource(const ustring& uri, const ustring& range) {
  std::vector<std::pair<ustring, ustring>> headers;
  if (!range.empty()) headers.emplace_back(u"Range", range);
  RaiseResourceRequested(uri, u"GET", headers);
}

FakeWebView::HostAnswer FakeWebView::RaiseResourceRequested(const ustring& uri, const ustring& method,
                                                             const std::vector<std::pair<ustring, ustring>>& headers) {
  HostAnswer answer;
  if (!FilterMatches(uri)) {
    Record("{\"event\":\"request\",\"uri\":" + J(uri) + ",\"filtered\":false}");
    return answer;
  }
  auto args = ComPtr<FakeResourceRequestedArgs>::Attach(new FakeResourceRequestedArgs(uri));
  args->Request().put_Method(vantrel::ToWide(method));
  ustring range;
  for (const auto& [name, value] : headers) {
    args->Request().Headers().SetHeader(vantrel::ToWide(name), vantrel::ToWide(value));
    if (vantrel::SameTextIgnoringCase(name, u"Range")) range = value;
  }
  WebResourceRequested.Raise(static_cast<ICoreWebView2*>(this), args.Get());
  std::string line = "{\"event\":\"request\",\"uri\":" + J(uri) + (range.empty() ? "" : ",\"range\":" + J(range)) +
                     ",\"filtered\":true,\"answered\":";
  if (auto* response = static_cast<FakeResponse*>(args->Response())) {
    answer.answered = true;
    answer.status = response->Status();
    answer.reason = response->Reason();
    answer.headers = response->HeaderList();
    answer.body = response->ReadBody();
    line += "true," + response->Describe(answer.body);
  } else {
    line += "false";
  }
  Record(line + "}");
  return answer;
}

void FakeWebView::RaiseWebMessage(const ustring& source, const ustring& json) {
  // A JSON string literal is also readable as a string, as in WebView2.
  ustring text;
  const bool isString = JsonStringValue(json, text);
  Record("{\"event\":\"message\",\"source\":" + J(source) + ",\"json\":" + J(json) + "}");
  auto args = ComPtr<FakeWebMessageArgs>::Attach(new FakeWebMessageArgs(source, json, isString, text));
  WebMessageReceived.Raise(static_cast<ICoreWebView2*>(this), args.Get());
}

bool FakeWebView::RaiseNewWindow(const ustring& uri) {
  auto args = ComPtr<FakeNewWindowArgs>::Attach(new FakeNewWindowArgs(uri));
  NewWindowRequested.Raise(static_cast<ICoreWebView2*>(this), args.Get());
  Record("{\"event\":\"new-window\",\"uri\":" + J(uri) + ",\"handled\":" + (args->Handled() ? "true" : "false") + "}");
  return args->Handled();
}

void FakeWebView::RaiseCloseRequested() {
  Record("{\"event\":\"WindowCloseRequested\"}");
  WindowCloseRequested.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

void FakeWebView::RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  Record("{\"event\":\"ProcessFailed\",\"kind\":" + std::to_string(kind) + "}");
  auto args = ComPtr<FakeProcessFailedArgs>::Attach(new FakeProcessFailedArgs(kind));
  ProcessFailed.Raise(static_cast<ICoreWebView2*>(this), args.Get());
}

void FakeWebView::SetTitle(const ustring& title) {
  title_ = title;
  DocumentTitleChanged.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

void FakeWebView::SetFullScreen(bool value) {
  fullScreen_ = value;
  ContainsFullScreenElementChanged.Raise(static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(nullptr));
}

HRESULT FakeWebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
  scripts.push_back(FromWide(javaScript));
  Record("{\"call\":\"AddScriptToExecuteOnDocumentCreated\",\"script\":" + J(javaScript) + "}");
  if (engine_) engine_->AddScript(FromWide(javaScript));
  if (handler) {
    auto keep = ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>::Share(handler);
    const ustring id = u"script-" + vantrel::Utf8ToUtf16(std::to_string(++scriptIds_));
    Post([keep, id] { keep->Invoke(S_OK, vantrel::ToWide(id)); });
  }
  return S_OK;
}

HRESULT FakeWebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
  Record("{\"call\":\"RemoveScriptToExecuteOnDocumentCreated\",\"id\":" + J(id) + "}");
  return S_OK;
}

HRESULT FakeWebView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
  Record("{\"call\":\"ExecuteScript\",\"script\":" + J(javaScript) + "}");
  if (engine_) {
    auto keep = ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>::Share(handler);
    engine_->Execute(FromWide(javaScript), [keep](HRESULT hr, const ustring& result) {
      if (keep) keep->Invoke(hr, vantrel::ToWide(result));
    });
    return S_OK;
  }
  const std::string script = vantrel::Utf16ToUtf8(FromWide(javaScript));
  for (const auto& [expected, message] : Settings().scriptMessages) {
    if (expected != script) continue;
    const ustring json = vantrel::Utf8ToUtf16(message);
    Post([json] { PagePostMessageJson(json); });
  }
  if (handler) {
    auto keep = ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>::Share(handler);
    const ustring result = vantrel::Utf8ToUtf16(Settings().scriptResult);
    Post([keep, result] { keep->Invoke(S_OK, vantrel::ToWide(result)); });
  }
  return S_OK;
}

HRESULT FakeWebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT format, IStream* stream,
                                    ICoreWebView2CapturePreviewCompletedHandler* handler) {
  if (!stream) return E_POINTER;
  Record("{\"call\":\"CapturePreview\",\"format\":" + std::to_string(format) + "}");
  if (engine_) {
    auto target = ComPtr<IStream>::Share(stream);
    auto keep = ComPtr<ICoreWebView2CapturePreviewCompletedHandler>::Share(handler);
    engine_->Capture([target, keep](HRESULT hr, const std::string& png) {
      ULONG written = 0;
      if (SUCCEEDED(hr)) hr = target->Write(png.data(), static_cast<ULONG>(png.size()), &written);
      if (keep) keep->Invoke(hr);
    });
    return S_OK;
  }
  static const char kImage[] = "\x89PNG\r\n\x1a\nfake-preview";
  ULONG written = 0;
  stream->Write(kImage, sizeof kImage - 1, &written);
  if (handler) {
    auto keep = ComPtr<ICoreWebView2CapturePreviewCompletedHandler>::Share(handler);
    Post([keep] { keep->Invoke(S_OK); });
  }
  return S_OK;
}

HRESULT FakeWebView::Reload() {
  Record("{\"call\":\"Reload\"}");
  if (engine_) engine_->Reload();
  return S_OK;
}

HRESULT FakeWebView::PostWebMessageAsJson(LPCWSTR json) {
  Record("{\"call\":\"PostWebMessageAsJson\",\"json\":" + J(json) + "}");
  if (engine_) engine_->PostJson(FromWide(json));
  return S_OK;
}

HRESULT FakeWebView::PostWebMessageAsString(LPCWSTR text) {
  Record("{\"call\":\"PostWebMessageAsString\",\"text\":" + J(text) + "}");
  if (engine_) engine_->PostString(FromWide(text));
  return S_OK;
}

HRESULT FakeWebView::get_BrowserProcessId(UINT32* value) { return PutValue<UINT32>(value, Settings().browserProcessId); }

HRESULT FakeWebView::GoBack() {
  Record("{\"call\":\"GoBack\"}");
  return S_OK;
}
HRESULT FakeWebView::GoForward() {
  Record("{\"call\":\"GoForward\"}");
  return S_OK;
}
HRESULT FakeWebView::Stop() {
  Record("{\"call\":\"Stop\"}");
  if (engine_) engine_->Stop();
  return S_OK;
}

HRESULT FakeWebView::GetDevToolsProtocolEventReceiver(LPCWSTR eventName,
                                                      ICoreWebView2DevToolsProtocolEventReceiver** receiver) {
  if (!receiver) return E_POINTER;
  auto& slot = receivers_[FromWide(eventName)];
  if (!slot) slot = ComPtr<FakeDevToolsReceiver>::Attach(new FakeDevToolsReceiver);
  *receiver = ComPtr<FakeDevToolsReceiver>(slot).Detach();
  return S_OK;
}

int FakeWebView::DevToolsRegistrations(const ustring& name) {
  const auto it = receivers_.find(name);
  return it == receivers_.end() ? 0 : it->second->DevToolsProtocolEventReceived.Count();
}

HRESULT FakeWebView::AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
  filters_.emplace_back(FromWide(uri), context);
  Record("{\"call\":\"AddWebResourceRequestedFilter\",\"uri\":" + J(uri) + ",\"context\":" + std::to_string(context) +
         "}");
  return S_OK;
}

HRESULT FakeWebView::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (riid == IidOf<ICoreWebView2>()) {
    *object = static_cast<ICoreWebView2*>(this);
  } else if (riid == IidOf<ICoreWebView2_22>() && !Settings().offersWebView22) {
    return E_NOINTERFACE;
  } else {
    return FakeObject<ICoreWebView2_22>::QueryInterface(riid, object);
  }
  AddRef();
  return S_OK;
}

HRESULT FakeWebView::AddWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) {
  if (kinds == COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE) return E_INVALIDARG;
  filters_.emplace_back(FromWide(uri), context);
  Record("{\"call\":\"AddWebResourceRequestedFilterWithRequestSourceKinds\",\"uri\":" + J(uri) +
         ",\"context\":" + std::to_string(context) + ",\"kinds\":" + std::to_string(static_cast<uint32_t>(kinds)) +
         "}");
  return S_OK;
}

HRESULT FakeWebView::RemoveWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS) {
  return RemoveWebResourceRequestedFilter(uri, context);
}

HRESULT FakeWebView::RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
  for (auto it = filters_.begin(); it != filters_.end(); ++it) {
    if (it->first == FromWide(uri) && it->second == context) {
      filters_.erase(it);
      break;
    }
  }
  Record("{\"call\":\"RemoveWebResourceRequestedFilter\",\"uri\":" + J(uri) + "}");
  return S_OK;
}

// --- Controller ------------------------------------------------------------

FakeController::FakeController() { SetCurrentController(this); }

FakeController::~FakeController() {
  if (CurrentController() == this) SetCurrentController(nullptr);
}

HRESULT FakeController::put_IsVisible(BOOL visible) {
  visible_ = visible;
  Record("{\"call\":\"put_IsVisible\",\"value\":" + std::string(visible ? "true" : "false") + "}");
  PlaceEngine();
  return S_OK;
}

HRESULT FakeController::put_Bounds(RECT bounds) {
  bounds_ = bounds;
  Record("{\"call\":\"put_Bounds\",\"bounds\":" + RectJson(bounds) + "}");
  PlaceEngine();
  return S_OK;
}

HRESULT FakeController::put_ZoomFactor(double zoom) {
  zoom_ = zoom;
  Record("{\"call\":\"put_ZoomFactor\",\"value\":" + std::to_string(zoom) + "}");
  ZoomFactorChanged.Raise(static_cast<ICoreWebView2Controller*>(this), static_cast<IUnknown*>(nullptr));
  return S_OK;
}

HRESULT FakeController::SetBoundsAndZoomFactor(RECT bounds, double zoom) {
  bounds_ = bounds;
  zoom_ = zoom;
  PlaceEngine();
  return S_OK;
}

void FakeController::PlaceEngine() {
  if (PageEngine* engine = webView_->Engine()) engine->Place(parent_, bounds_, visible_ != FALSE);
}

HRESULT FakeController::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  Record("{\"call\":\"MoveFocus\",\"reason\":" + std::to_string(reason) + "}");
  if (PageEngine* engine = webView_->Engine()) engine->Focus();
  return S_OK;
}

HRESULT FakeController::Close() {
  Record("{\"call\":\"Close\"}");
  webView_->MarkClosed();
  if (PageEngine* engine = webView_->Engine()) engine->Close();
  return S_OK;
}

HRESULT FakeController::get_CoreWebView2(ICoreWebView2** webView) {
  if (!webView) return E_POINTER;
  *webView = nullptr;
  if (FAILED(Settings().coreWebView2Result)) return Settings().coreWebView2Result;
  *webView = ComPtr<FakeWebView>(webView_).Detach();
  return S_OK;
}

// --- Environment -----------------------------------------------------------

HRESULT FakeEnvironment::CreateCoreWebView2Controller(HWND parent,
                                                      ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  Record("{\"call\":\"CreateCoreWebView2Controller\",\"parent\":" + std::string(parent ? "true" : "false") + "}");
  if (FAILED(Settings().controllerCallResult)) return Settings().controllerCallResult;
  if (!handler) return E_POINTER;
  auto keep = ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>::Share(handler);
  const HRESULT result = Settings().controllerResult;
  auto engine = std::move(engine_);
  Post([keep, result, parent, engine] {
    if (FAILED(result)) {
      keep->Invoke(result, nullptr);
      return;
    }
    auto controller = ComPtr<FakeController>::Attach(new FakeController);
    controller->WebView()->AttachEngine(engine);
    controller->SetParent(parent);
    keep->Invoke(S_OK, controller.Get());
  });
  return S_OK;
}

HRESULT FakeEnvironment::CreateWebResourceResponse(IStream* content, int status, LPCWSTR reason, LPCWSTR headers,
                                                   ICoreWebView2WebResourceResponse** response) {
  if (!response) return E_POINTER;
  *response = new FakeResponse(content, status, FromWide(reason), FromWide(headers));
  return S_OK;
}

HRESULT FakeEnvironment::get_BrowserVersionString(LPWSTR* version) {
  return PutString(version, vantrel::Utf8ToUtf16(version_.empty() ? Settings().browserVersion : version_));
}

}  // namespace fake_webview2
