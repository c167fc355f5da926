#pragma once
// Event-argument objects of the double.
#include "engines/webview2/fake_objects.h"

namespace fake_webview2 {

using vantrel::MakeCoTaskString;

inline HRESULT PutString(LPWSTR* out, const ustring& value) {
  if (!out) return E_POINTER;
  *out = MakeCoTaskString(value);
  return S_OK;
}
template <typename T>
HRESULT PutValue(T* out, T value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

class FakeNavigationStartingArgs final : public FakeObject<ICoreWebView2NavigationStartingEventArgs> {
 public:
  FakeNavigationStartingArgs(ustring uri, UINT64 id) : uri_(std::move(uri)), id_(id) {}
  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return PutString(uri, uri_); }
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* v) override { return PutValue<BOOL>(v, TRUE); }
  HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* v) override { return PutValue<BOOL>(v, FALSE); }
  HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) override {
    if (!headers) return E_POINTER;
    *headers = new FakeRequestHeaders;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override { return PutValue<BOOL>(cancel, cancel_); }
  HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override {
    cancel_ = cancel;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override { return PutValue<UINT64>(id, id_); }
  bool Cancelled() const { return cancel_ != FALSE; }

 private:
  ustring uri_;
  UINT64 id_;
  BOOL cancel_ = FALSE;
};

class FakeNavigationCompletedArgs final : public FakeObject<ICoreWebView2NavigationCompletedEventArgs> {
 public:
  FakeNavigationCompletedArgs(bool success, UINT64 id, COREWEBVIEW2_WEB_ERROR_STATUS status)
      : success_(success), id_(id), status_(status) {}
  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* v) override { return PutValue<BOOL>(v, success_); }
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* v) override { return PutValue(v, status_); }
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* v) override { return PutValue<UINT64>(v, id_); }

 private:
  bool success_;
  UINT64 id_;
  COREWEBVIEW2_WEB_ERROR_STATUS status_;
};

class FakeSourceChangedArgs final : public FakeObject<ICoreWebView2SourceChangedEventArgs> {
 public:
  HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* v) override { return PutValue<BOOL>(v, TRUE); }
};

class FakeContentLoadingArgs final : public FakeObject<ICoreWebView2ContentLoadingEventArgs> {
 public:
  FakeContentLoadingArgs(bool errorPage, UINT64 id) : errorPage_(errorPage), id_(id) {}
  HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* v) override { return PutValue<BOOL>(v, errorPage_); }
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* v) override { return PutValue<UINT64>(v, id_); }

 private:
  bool errorPage_;
  UINT64 id_;
};

class FakeWebMessageArgs final : public FakeObject<ICoreWebView2WebMessageReceivedEventArgs> {
 public:
  FakeWebMessageArgs(ustring source, ustring json, bool isString, ustring text)
      : source_(std::move(source)), json_(std::move(json)), isString_(isString), text_(std::move(text)) {}
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* source) override { return PutString(source, source_); }
  HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* json) override { return PutString(json, json_); }
  HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    if (!isString_) return E_INVALIDARG;  // as WebView2 does for non-string messages
    *text = MakeCoTaskString(text_);
    return S_OK;
  }

 private:
  ustring source_, json_;
  bool isString_;
  ustring text_;
};

class FakeResourceRequestedArgs final : public FakeObject<ICoreWebView2WebResourceRequestedEventArgs> {
 public:
  explicit FakeResourceRequestedArgs(const ustring& uri) : request_(ComPtr<FakeRequest>::Attach(new FakeRequest(uri))) {}
  FakeRequest& Request() { return *request_.Get(); }
  HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override {
    if (!request) return E_POINTER;
    *request = ComPtr<FakeRequest>(request_).Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override {
    if (!response) return E_POINTER;
    *response = ComPtr<ICoreWebView2WebResourceResponse>(response_).Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override {
    response_ = ComPtr<ICoreWebView2WebResourceResponse>::Share(response);
    ++responsesSet_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override {
    if (!deferral) return E_POINTER;
    *deferral = new FakeDeferral;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override {
    return PutValue(context, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT);
  }
  ICoreWebView2WebResourceResponse* Response() const { return response_.Get(); }
  int ResponsesSet() const { return responsesSet_; }

 private:
  ComPtr<FakeRequest> request_;
  ComPtr<ICoreWebView2WebResourceResponse> response_;
  int responsesSet_ = 0;
};

class FakeNewWindowArgs final : public FakeObject<ICoreWebView2NewWindowRequestedEventArgs> {
 public:
  explicit FakeNewWindowArgs(ustring uri) : uri_(std::move(uri)) {}
  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return PutString(uri, uri_); }
  HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** window) override { return PutValue<ICoreWebView2*>(window, nullptr); }
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
    handled_ = handled;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override { return PutValue<BOOL>(handled, handled_); }
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* v) override { return PutValue<BOOL>(v, TRUE); }
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override {
    if (!deferral) return E_POINTER;
    *deferral = new FakeDeferral;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** features) override {
    return PutValue<ICoreWebView2WindowFeatures*>(features, nullptr);
  }
  bool Handled() const { return handled_ != FALSE; }

 private:
  ustring uri_;
  BOOL handled_ = FALSE;
};

class FakePermissionArgs final : public FakeObject<ICoreWebView2PermissionRequestedEventArgs> {
 public:
  FakePermissionArgs(COREWEBVIEW2_PERMISSION_KIND kind, ustring uri) : kind_(kind), uri_(std::move(uri)) {}
  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return PutString(uri, uri_); }
  HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) override { return PutValue(kind, kind_); }
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* v) override { return PutValue<BOOL>(v, TRUE); }
  HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override { return PutValue(state, state_); }
  HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override {
    state_ = state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override {
    if (!deferral) return E_POINTER;
    *deferral = new FakeDeferral;
    return S_OK;
  }
  COREWEBVIEW2_PERMISSION_STATE State() const { return state_; }

 private:
  COREWEBVIEW2_PERMISSION_KIND kind_;
  ustring uri_;
  COREWEBVIEW2_PERMISSION_STATE state_ = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
};

class FakeProcessFailedArgs final : public FakeObject<ICoreWebView2ProcessFailedEventArgs> {
 public:
  explicit FakeProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind) : kind_(kind) {}
  HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) override {
    return PutValue(kind, kind_);
  }

 private:
  COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

class FakeMoveFocusArgs final : public FakeObject<ICoreWebView2MoveFocusRequestedEventArgs> {
 public:
  explicit FakeMoveFocusArgs(COREWEBVIEW2_MOVE_FOCUS_REASON reason) : reason_(reason) {}
  HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) override { return PutValue(reason, reason_); }
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* v) override { return PutValue<BOOL>(v, handled_); }
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL v) override {
    handled_ = v;
    return S_OK;
  }

 private:
  COREWEBVIEW2_MOVE_FOCUS_REASON reason_;
  BOOL handled_ = FALSE;
};

class FakeAcceleratorKeyArgs final : public FakeObject<ICoreWebView2AcceleratorKeyPressedEventArgs> {
 public:
  FakeAcceleratorKeyArgs(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT key, INT lParam) : kind_(kind), key_(key), lParam_(lParam) {}
  HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) override { return PutValue(kind, kind_); }
  HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* key) override { return PutValue(key, key_); }
  HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) override { return PutValue(lParam, lParam_); }
  HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) override {
    if (!status) return E_POINTER;
    *status = {};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* v) override { return PutValue<BOOL>(v, handled_); }
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL v) override {
    handled_ = v;
    return S_OK;
  }
  bool Handled() const { return handled_ != FALSE; }

 private:
  COREWEBVIEW2_KEY_EVENT_KIND kind_;
  UINT key_;
  INT lParam_;
  BOOL handled_ = FALSE;
};

class FakeDevToolsEventArgs final : public FakeObject<ICoreWebView2DevToolsProtocolEventReceivedEventArgs> {
 public:
  explicit FakeDevToolsEventArgs(ustring json) : json_(std::move(json)) {}
  HRESULT STDMETHODCALLTYPE get_ParameterObjectAsJson(LPWSTR* json) override { return PutString(json, json_); }

 private:
  ustring json_;
};

}  // namespace fake_webview2
