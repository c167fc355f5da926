// Requests, responses and their headers.
#include <cstdio>

#include "platform/json_quote.h"
#include "engines/webview2/fake_objects.h"

namespace fake_webview2 {

using vantrel::FromWide;
using vantrel::MakeCoTaskString;

namespace {
HRESULT FindHeader(const std::vector<std::pair<ustring, ustring>>& headers, LPCWSTR name, LPWSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  for (const auto& [n, v] : headers) {
    if (vantrel::SameTextIgnoringCase(n, FromWide(name))) {
      *value = MakeCoTaskString(v);
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

HRESULT ContainsHeader(const std::vector<std::pair<ustring, ustring>>& headers, LPCWSTR name, BOOL* contains) {
  if (!contains) return E_POINTER;
  *contains = FALSE;
  for (const auto& header : headers) {
    if (vantrel::SameTextIgnoringCase(header.first, FromWide(name))) *contains = TRUE;
  }
  return S_OK;
}

HRESULT IteratorOf(std::vector<std::pair<ustring, ustring>> headers, const WCHAR* onlyName,
                   ICoreWebView2HttpHeadersCollectionIterator** iterator) {
  if (!iterator) return E_POINTER;
  if (onlyName) {
    std::vector<std::pair<ustring, ustring>> matching;
    for (auto& h : headers) {
      if (vantrel::SameTextIgnoringCase(h.first, FromWide(onlyName))) matching.push_back(h);
    }
    headers = std::move(matching);
  }
  *iterator = new FakeHeaderIterator(std::move(headers));
  return S_OK;
}

uint64_t Fnv1a64(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}
}  // namespace

HRESULT FakeHeaderIterator::GetCurrentHeader(LPWSTR* name, LPWSTR* value) {
  if (!name || !value) return E_POINTER;
  if (position_ >= headers_.size()) return E_FAIL;
  *name = MakeCoTaskString(headers_[position_].first);
  *value = MakeCoTaskString(headers_[position_].second);
  return S_OK;
}
HRESULT FakeHeaderIterator::get_HasCurrentHeader(BOOL* hasCurrent) {
  if (!hasCurrent) return E_POINTER;
  *hasCurrent = position_ < headers_.size();
  return S_OK;
}
HRESULT FakeHeaderIterator::MoveNext(BOOL* hasNext) {
  if (!hasNext) return E_POINTER;
  if (position_ < headers_.size()) ++position_;
  *hasNext = position_ < headers_.size();
  return S_OK;
}

HRESULT FakeRequestHeaders::GetHeader(LPCWSTR name, LPWSTR* value) { return FindHeader(headers, name, value); }
HRESULT FakeRequestHeaders::GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) {
  return IteratorOf(headers, name, iterator);
}
HRESULT FakeRequestHeaders::Contains(LPCWSTR name, BOOL* contains) { return ContainsHeader(headers, name, contains); }
HRESULT FakeRequestHeaders::SetHeader(LPCWSTR name, LPCWSTR value) {
  RemoveHeader(name);
  headers.emplace_back(FromWide(name), FromWide(value));
  return S_OK;
}
HRESULT FakeRequestHeaders::RemoveHeader(LPCWSTR name) {
  for (auto it = headers.begin(); it != headers.end();) {
    it = vantrel::SameTextIgnoringCase(it->first, FromWide(name)) ? headers.erase(it) : it + 1;
  }
  return S_OK;
}
HRESULT FakeRequestHeaders::GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) {
  return IteratorOf(headers, nullptr, iterator);
}

HRESULT FakeResponseHeaders::AppendHeader(LPCWSTR name, LPCWSTR value) {
  headers.emplace_back(FromWide(name), FromWide(value));
  return S_OK;
}
HRESULT FakeResponseHeaders::Contains(LPCWSTR name, BOOL* contains) { return ContainsHeader(headers, name, contains); }
HRESULT FakeResponseHeaders::GetHeader(LPCWSTR name, LPWSTR* value) { return FindHeader(headers, name, value); }
HRESULT FakeResponseHeaders::GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) {
  return IteratorOf(headers, name, iterator);
}
HRESULT FakeResponseHeaders::GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) {
  return IteratorOf(headers, nullptr, iterator);
}

HRESULT FakeRequest::get_Uri(LPWSTR* uri) {
  if (!uri) return E_POINTER;
  *uri = MakeCoTaskString(uri_);
  return S_OK;
}
HRESULT FakeRequest::put_Uri(LPCWSTR uri) {
  uri_ = FromWide(uri);
  return S_OK;
}
HRESULT FakeRequest::get_Method(LPWSTR* method) {
  if (!method) return E_POINTER;
  *method = MakeCoTaskString(method_);
  return S_OK;
}
HRESULT FakeRequest::put_Method(LPCWSTR method) {
  method_ = FromWide(method);
  return S_OK;
}
HRESULT FakeRequest::get_Content(IStream** content) {
  if (!content) return E_POINTER;
  *content = ComPtr<IStream>(content_).Detach();
  return S_OK;
}
HRESULT FakeRequest::put_Content(IStream* content) {
  content_ = ComPtr<IStream>::Share(content);
  return S_OK;
}
HRESULT FakeRequest::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
  if (!headers) return E_POINTER;
  *headers = ComPtr<FakeRequestHeaders>(headers_).Detach();
  return S_OK;
}

FakeResponse::FakeResponse(IStream* content, int status, ustring reason, const ustring& headerText)
    : content_(ComPtr<IStream>::Share(content)), status_(status), reason_(std::move(reason)) {
  // "Name: value" lines separated by CR LF.
  size_t start = 0;
  while (start < headerText.size()) {
    size_t end = headerText.find(u"\r\n", start);
    if (end == ustring::npos) end = headerText.size();
    const ustring line = headerText.substr(start, end - start);
    const size_t colon = line.find(u':');
    if (colon != ustring::npos) {
      size_t valueStart = colon + 1;
      while (valueStart < line.size() && line[valueStart] == u' ') ++valueStart;
      headers_->headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
    } else if (!line.empty()) {
      headers_->headers.emplace_back(line, u"");
    }
    start = end + 2;
  }
  rawHeaders_ = headerText;
}

HRESULT FakeResponse::get_Content(IStream** content) {
  if (!content) return E_POINTER;
  *content = ComPtr<IStream>(content_).Detach();
  return S_OK;
}
HRESULT FakeResponse::put_Content(IStream* content) {
  content_ = ComPtr<IStream>::Share(content);
  return S_OK;
}
HRESULT FakeResponse::get_Headers(ICoreWebView2HttpResponseHeaders** headers) {
  if (!headers) return E_POINTER;
  *headers = ComPtr<FakeResponseHeaders>(headers_).Detach();
  return S_OK;
}
HRESULT FakeResponse::get_StatusCode(int* statusCode) {
  if (!statusCode) return E_POINTER;
  *statusCode = status_;
  return S_OK;
}
HRESULT FakeResponse::put_StatusCode(int statusCode) {
  status_ = statusCode;
  return S_OK;
}
HRESULT FakeResponse::get_ReasonPhrase(LPWSTR* reasonPhrase) {
  if (!reasonPhrase) return E_POINTER;
  *reasonPhrase = MakeCoTaskString(reason_);
  return S_OK;
}
HRESULT FakeResponse::put_ReasonPhrase(LPCWSTR reasonPhrase) {
  reason_ = FromWide(reasonPhrase);
  return S_OK;
}

std::string FakeResponse::ReadBody() {
  std::string body;
  if (content_) {
    char chunk[4096];
    for (;;) {
      ULONG got = 0;
      const HRESULT hr = content_->Read(chunk, sizeof chunk, &got);
      body.append(chunk, got);
      if (FAILED(hr) || got == 0) break;
    }
  }
  return body;
}

std::string FakeResponse::Describe(const std::string& body) const {
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a64(body)));
  return "\"status\":" + std::to_string(status_) + ",\"reason\":" + J(reason_) + ",\"headers\":" + J(rawHeaders_) +
         ",\"bodyLength\":" + std::to_string(body.size()) + ",\"bodyFnv1a64\":\"" + hash + "\",\"bodyHead\":" +
         vantrel::JsonQuoteUtf8(vantrel::Utf16ToUtf8(vantrel::Utf8ToUtf16(body.substr(0, 64))));
}

}  // namespace fake_webview2
