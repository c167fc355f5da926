#pragma once
// Environment, controller, browser and settings of the double.
#include <memory>

#include "engines/webview2/fake_args.h"
#include "engines/webview2/page_engine.h"

namespace fake_webview2 {

#define FAKE_SETTING(Name)                                                        \
 public:                                                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(BOOL* value) override { return PutValue<BOOL>(value, Name##_); } \
  HRESULT STDMETHODCALLTYPE put_##Name(BOOL value) override {                     \
    Name##_ = value;                                                              \
    Record("{\"call\":\"settings.put\",\"name\":\"" #Name "\",\"value\":" + std::string(value ? "true" : "false") + "}"); \
    return S_OK;                                                                  \
  }                                                                               \
                                                                                  \
 private:                                                                         \
  BOOL Name##_ = TRUE;

class FakeSettings final : public FakeObject<ICoreWebView2Settings> {
  FAKE_SETTING(IsScriptEnabled)
  FAKE_SETTING(IsWebMessageEnabled)
  FAKE_SETTING(AreDefaultScriptDialogsEnabled)
  FAKE_SETTING(IsStatusBarEnabled)
  FAKE_SETTING(AreDevToolsEnabled)
  FAKE_SETTING(AreDefaultContextMenusEnabled)
  FAKE_SETTING(AreHostObjectsAllowed)
  FAKE_SETTING(IsZoomControlEnabled)
  FAKE_SETTING(IsBuiltInErrorPageEnabled)
};

class FakeDevToolsReceiver final : public FakeObject<ICoreWebView2DevToolsProtocolEventReceiver> {
 public:
  FAKE_EVENT(DevToolsProtocolEventReceived, ICoreWebView2DevToolsProtocolEventReceivedEventHandler)
};

class FakeController;

#define FAKE_RESERVED_SLOT(n) \
  HRESULT STDMETHODCALLTYPE ReservedSlot##n() override { return E_NOTIMPL; }

class FakeWebView final : public FakeObject<ICoreWebView2_22> {
 public:
  FakeWebView();
  ~FakeWebView() override;

  // ICoreWebView2 always; ICoreWebView2_22 when the configuration offers it.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  VANTREL_FOR_EACH_RESERVED_SLOT(FAKE_RESERVED_SLOT)
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) override;

  HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override { return PutString(uri, source_); }
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override;
  FAKE_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler)
  FAKE_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
  FAKE_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler)
  FAKE_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
  FAKE_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
  FAKE_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
  FAKE_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
  FAKE_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
  FAKE_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
  FAKE_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler)
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT format, IStream* stream,
                                           ICoreWebView2CapturePreviewCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR json) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR text) override;
  FAKE_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
  FAKE_NOT_IMPLEMENTED(CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*))
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* value) override { return PutValue<BOOL>(value, history_ > 1); }
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* value) override { return PutValue<BOOL>(value, FALSE); }
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR eventName,
                                                             ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  FAKE_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler)
  FAKE_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler)
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override { return PutString(title, title_); }
  FAKE_NOT_IMPLEMENTED(AddHostObjectToScript(LPCWSTR, VARIANT*))
  FAKE_NOT_IMPLEMENTED(RemoveHostObjectFromScript(LPCWSTR))
  FAKE_NOT_IMPLEMENTED(OpenDevToolsWindow())
  FAKE_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* value) override {
    return PutValue<BOOL>(value, fullScreen_);
  }
  FAKE_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(LPCWSTR uri,
                                                             COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;
  FAKE_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler)

  // The engine that runs the pages (none: the scripted engine).
  void AttachEngine(std::shared_ptr<PageEngine> engine) {
    engine_ = std::move(engine);
    if (engine_) engine_->Bind(this);
  }
  PageEngine* Engine() const { return engine_.get(); }

  // What the page did, raised to the host's handlers.
  bool RaiseNavigationStarting(const ustring& uri);  // false: the host cancelled it
  void RaiseSourceChanged(const ustring& uri);
  void RaiseContentLoading(bool errorPage);
  void RaiseNavigationCompleted(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  // A request as the page makes it: the host's answer, if it gave one.
  struct HostAnswer {
    bool answered = false;
    int status = 0;
    ustring reason;
    std::vector<std::pair<ustring, ustring>> headers;
    std::string body;
  };
  HostAnswer RaiseResourceRequested(const ustring& uri, const ustring& method,
                                    const std::vector<std::pair<ustring, ustring>>& headers);
  void RaiseWebMessage(const ustring& source, const ustring& json);
  bool RaiseNewWindow(const ustring& uri);  // true: the host handled it
  void RaiseCloseRequested();
  void RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind);

  // Scripted page behaviour.
  void PlayNavigation(const ustring& uri, bool success);
  // A request as the page makes it, with a Range header when `range` is not empty.
  void RequestResource(const ustring& uri, const ustring& range = {});
  void SetTitle(const ustring& title);
  void SetFullScreen(bool value);
  int DevToolsRegistrations(const ustring& name);
  bool Closed() const { return closed_; }
  void MarkClosed() { closed_ = true; }
  std::vector<ustring> scripts;

 private:
  bool FilterMatches(const ustring& uri) const;

  ComPtr<FakeSettings> settings_ = ComPtr<FakeSettings>::Attach(new FakeSettings);
  std::map<ustring, ComPtr<FakeDevToolsReceiver>> receivers_;
  std::vector<std::pair<ustring, COREWEBVIEW2_WEB_RESOURCE_CONTEXT>> filters_;
  std::shared_ptr<PageEngine> engine_;
  ustring source_ = u"about:blank";
  ustring title_;
  BOOL fullScreen_ = FALSE;
  UINT64 navigationId_ = 0;
  int history_ = 0;
  int scriptIds_ = 0;
  bool closed_ = false;
};

class FakeController final : public FakeObject<ICoreWebView2Controller> {
 public:
  FakeController();
  ~FakeController() override;
  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* visible) override { return PutValue<BOOL>(visible, visible_); }
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL visible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override { return PutValue(bounds, bounds_); }
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoom) override { return PutValue(zoom, zoom_); }
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoom) override;
  FAKE_EVENT(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler)
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoom) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
  FAKE_EVENT(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler)
  FAKE_EVENT(GotFocus, ICoreWebView2FocusChangedEventHandler)
  FAKE_EVENT(LostFocus, ICoreWebView2FocusChangedEventHandler)
  FAKE_EVENT(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler)
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parent) override { return PutValue(parent, parent_); }
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parent) override {
    parent_ = parent;
    PlaceEngine();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** webView) override;

  FakeWebView* WebView() const { return webView_.Get(); }
  void SetParent(HWND parent) { parent_ = parent; }

 private:
  void PlaceEngine();

  ComPtr<FakeWebView> webView_ = ComPtr<FakeWebView>::Attach(new FakeWebView);
  BOOL visible_ = TRUE;
  RECT bounds_{};
  double zoom_ = 1.0;
  HWND parent_ = nullptr;
};

class FakeEnvironment final : public FakeObject<ICoreWebView2Environment> {
 public:
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parent, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int status, LPCWSTR reason, LPCWSTR headers,
                                                      ICoreWebView2WebResourceResponse** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* version) override;
  FAKE_EVENT(NewBrowserVersionAvailable, ICoreWebView2NewBrowserVersionAvailableEventHandler)

  // The engine for the next controller's pages (none: scripted); one page
  // an engine.
  void GiveEngine(std::shared_ptr<PageEngine> engine, std::string version) {
    engine_ = std::move(engine);
    version_ = std::move(version);
  }

 private:
  std::shared_ptr<PageEngine> engine_;
  std::string version_;
};

// The controller made last (not owned: it goes when the host lets it go).
FakeController* CurrentController();
// A transcript line was recorded (on Windows the double shows the latest ones).
void PageViewRecorded(const std::string& line);
void SetCurrentController(FakeController* controller);
// Called by the browser after the host's navigation; starts the scenario.
void OnHostNavigated();

}  // namespace fake_webview2
