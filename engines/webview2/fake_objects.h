#pragma once
// The double's COM objects. Internal to the double; tests use fake_webview2.h.
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/com_object.h"
#include "platform/com_text.h"
#include "engines/webview2/fake_webview2.h"

namespace fake_webview2 {

using vantrel::ComPtr;
using vantrel::ustring;

void Record(const std::string& jsonObject);
std::string J(const ustring& text);
std::string J(const WCHAR* text);
std::string Hex(HRESULT hr);
// Whether `json` is a JSON string; its value in `text` if so.
bool JsonStringValue(const ustring& json, ustring& text);
void AddLive(int delta);

// Counts itself among the live objects.
template <typename... Interfaces>
class FakeObject : public vantrel::TComObject<Interfaces...> {
 public:
  FakeObject() { AddLive(1); }

 protected:
  ~FakeObject() override { AddLive(-1); }
};

int64_t NextToken();

template <typename Handler>
class EventList {
 public:
  HRESULT Add(Handler* handler, EventRegistrationToken* token) {
    if (!handler || !token) return E_POINTER;
    token->value = NextToken();
    entries_.emplace_back(token->value, ComPtr<Handler>::Share(handler));
    return S_OK;
  }
  HRESULT Remove(EventRegistrationToken token) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->first == token.value) {
        entries_.erase(it);
        return S_OK;
      }
    }
    return S_OK;
  }
  template <typename... Args>
  void Raise(Args... args) {
    const auto copy = entries_;  // handlers may register or remove meanwhile
    for (const auto& entry : copy) entry.second->Invoke(args...);
  }
  int Count() const { return static_cast<int>(entries_.size()); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::pair<int64_t, ComPtr<Handler>>> entries_;
};

#define FAKE_EVENT(Name, Handler)                                                                \
  EventList<Handler> Name;                                                                       \
  HRESULT STDMETHODCALLTYPE add_##Name(Handler* handler, EventRegistrationToken* token) override { \
    return Name.Add(handler, token);                                                             \
  }                                                                                              \
  HRESULT STDMETHODCALLTYPE remove_##Name(EventRegistrationToken token) override { return Name.Remove(token); }

#define FAKE_NOT_IMPLEMENTED(Signature) \
  HRESULT STDMETHODCALLTYPE Signature override { return E_NOTIMPL; }

class FakeDeferral final : public FakeObject<ICoreWebView2Deferral> {
 public:
  HRESULT STDMETHODCALLTYPE Complete() override { return S_OK; }
};

class FakeHeaderIterator final : public FakeObject<ICoreWebView2HttpHeadersCollectionIterator> {
 public:
  explicit FakeHeaderIterator(std::vector<std::pair<ustring, ustring>> headers) : headers_(std::move(headers)) {}
  HRESULT STDMETHODCALLTYPE GetCurrentHeader(LPWSTR* name, LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_HasCurrentHeader(BOOL* hasCurrent) override;
  HRESULT STDMETHODCALLTYPE MoveNext(BOOL* hasNext) override;

 private:
  std::vector<std::pair<ustring, ustring>> headers_;
  size_t position_ = 0;
};

class FakeRequestHeaders final : public FakeObject<ICoreWebView2HttpRequestHeaders> {
 public:
  HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) override;
  HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* contains) override;
  HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) override;
  std::vector<std::pair<ustring, ustring>> headers;
};

class FakeResponseHeaders final : public FakeObject<ICoreWebView2HttpResponseHeaders> {
 public:
  HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* contains) override;
  HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) override;
  HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) override;
  std::vector<std::pair<ustring, ustring>> headers;
};

class FakeRequest final : public FakeObject<ICoreWebView2WebResourceRequest> {
 public:
  explicit FakeRequest(ustring uri) : uri_(std::move(uri)) {}
  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
  HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
  HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
  HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
  HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;
  FakeRequestHeaders& Headers() { return *headers_.Get(); }

 private:
  ustring uri_;
  ustring method_ = u"GET";
  ComPtr<IStream> content_;
  ComPtr<FakeRequestHeaders> headers_ = ComPtr<FakeRequestHeaders>::Attach(new FakeRequestHeaders);
};

class FakeResponse final : public FakeObject<ICoreWebView2WebResourceResponse> {
 public:
  FakeResponse(IStream* content, int status, ustring reason, const ustring& headerText);
  HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
  HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
  HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
  HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) override;
  HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) override;
  HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) override;
  HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) override;
  // The body, read from the content stream (consumes it).
  std::string ReadBody();
  int Status() const { return status_; }
  const ustring& Reason() const { return reason_; }
  const std::vector<std::pair<ustring, ustring>>& HeaderList() const { return headers_->headers; }
  // The answer as a transcript object (status, reason, headers, body).
  std::string Describe(const std::string& body) const;

 private:
  ComPtr<IStream> content_;
  int status_;
  ustring reason_;
  ustring rawHeaders_;
  ComPtr<FakeResponseHeaders> headers_ = ComPtr<FakeResponseHeaders>::Attach(new FakeResponseHeaders);
};

}  // namespace fake_webview2
