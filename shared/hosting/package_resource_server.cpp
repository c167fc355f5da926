#include "shared/hosting/package_resource_server.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/binary_file.h"
#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "shared/hosting/byte_range.h"
#include "shared/hosting/resource_address.h"
#include "shared/util/str_utils.h"

namespace vantrel {

namespace {
// The text after the last backslash or colon (a forward slash is no separator here).
ustring FileNamePart(const ustring& path) {
  const size_t cut = path.find_last_of(u"\\:");
  return cut == ustring::npos ? path : path.substr(cut + 1);
}

// A file's bytes, or those of the range.
TMemoryStream ReadFile(const ustring& path, const TByteRange& range) {
  BinaryFile file(path, BinaryFile::Mode::Read);
  TMemoryStream bytes;
  uint64_t left = range.kind == TByteRange::Kind::Part ? range.Length() : file.Size();
  if (range.kind == TByteRange::Kind::Part) file.Seek(range.first);
  bytes.Reserve(static_cast<size_t>(left));
  uint8_t chunk[65536];
  while (left > 0) {
    const size_t got = file.Read(chunk, static_cast<size_t>(std::min<uint64_t>(sizeof chunk, left)));
    if (got == 0) break;
    bytes.Write(chunk, got);
    left -= got;
  }
  bytes.SetPosition(0);
  return bytes;
}

bool IsJavaScriptType(const ustring& type) {
  for (const char16_t* known : {u"text/javascript", u"application/javascript", u"application/x-javascript",
                                u"application/ecmascript", u"application/x-ecmascript", u"text/ecmascript",
                                u"text/x-ecmascript", u"text/x-javascript", u"text/jscript", u"text/livescript"}) {
    if (SameTextIgnoringCase(type, known)) return true;
  }
  return false;
}

// The answer's status and range for a resource of `size` bytes.
void ApplyRange(TResourceAnswer& answer, const TByteRange& range, uint64_t size) {
  if (range.kind == TByteRange::Kind::Part) {
    answer.StatusCode = 206;
    answer.ReasonPhrase = u"Partial Content";
    answer.ContentRange = U("bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" +
                            std::to_string(size));
  } else if (range.kind == TByteRange::Kind::Unsatisfiable) {
    answer.StatusCode = 416;
    answer.ReasonPhrase = u"Range Not Satisfiable";
    answer.ContentRange = U("bytes */" + std::to_string(size));
  }
}
}  // namespace

ustring BrowserContentType(const ustring& fileName, const ustring& looked) {
  const size_t dot = fileName.rfind(u'.');
  const ustring extension = dot == ustring::npos ? ustring() : FoldCase(ustring_view(fileName).substr(dot));
  if (extension == u".js" || extension == u".mjs" || extension == u".cjs") {
    return IsJavaScriptType(looked) ? looked : u"text/javascript";
  }
  if (extension == u".css") return u"text/css";
  if (extension == u".wasm") return u"application/wasm";
  return looked;
}

ustring ContentTypeHeader(const ustring& contentType) {
  if (SameTextIgnoringCase(contentType, u"application/wasm")) return u"Content-Type: " + contentType;
  return u"Content-Type: " + contentType + u"; charset=utf-8";
}

ustring ResponseHeaders(const TResourceAnswer& answer) {
  ustring headers = ContentTypeHeader(answer.ContentType);
  if (!answer.ContentRange.empty()) headers += u"\r\nContent-Range: " + answer.ContentRange;
  if (answer.StatusCode == 206) headers += u"\r\nAccept-Ranges: bytes";
  return headers;
}

std::optional<TResourceAnswer> ResolvePackageResource(const ustring& uri, const TResourceServerInputs& inputs,
                                                      const ustring& rangeHeader) {
  if (!inputs.HandleRequests) return std::nullopt;
  const auto address = ResourcePathOf(uri, inputs.SecureOrigin);
  if (!address) return std::nullopt;
  const ustring& path = address->path;
  TResourceAnswer answer;
  const ustring fileName = FileNamePart(path);
  answer.ContentType = BrowserContentType(fileName, TStrUtils::GetFileMIMEType(fileName));

  if (!inputs.AppDirName.empty() && inputs.ExeZip) {
    const std::string entry = Utf16ToUtf8(inputs.AppDirName + u"/" + path);
    if (const auto size = inputs.ExeZip->EntrySize(entry)) {
      const TByteRange range = ParseByteRange(rangeHeader, *size);
      ApplyRange(answer, range, *size);
      if (range.kind == TByteRange::Kind::Part) {
        inputs.ExeZip->ExtractRange(entry, range.first, range.Length(), answer.Body);
      } else if (range.kind == TByteRange::Kind::Whole) {
        inputs.ExeZip->Extract(entry, answer.Body);
      }
      answer.Body.SetPosition(0);
      return answer;
    }
  }
  // The secure origin serves the app's files only: never a literal path.
  std::vector<ustring> candidates{inputs.AppDirPath + ReplaceAll(path, u"/", u"\\")};
  if (!address->secure) candidates.push_back(path);
  for (const ustring& candidate : candidates) {
    const int64_t size = FileSizeOf(candidate);
    if (size < 0) continue;
    const TByteRange range = ParseByteRange(rangeHeader, static_cast<uint64_t>(size));
    ApplyRange(answer, range, static_cast<uint64_t>(size));
    if (range.kind != TByteRange::Kind::Unsatisfiable) answer.Body = ReadFile(candidate, range);
    return answer;
  }
  return std::nullopt;
}

void EdgeBrowserWebResourceRequested(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args,
                                     const TResourceServerInputs& inputs) {
  if (!Sender || !Args || !Args->ArgsInterface() || !inputs.HandleRequests) return;
  ComPtr<ICoreWebView2WebResourceRequest> request;
  if (FAILED(Args->ArgsInterface()->get_Request(request.Put())) || !request) return;
  LPWSTR rawUri = nullptr;
  request->get_Uri(&rawUri);
  const ustring uri = TakeCoTaskString(rawUri);

  // Media asks for ranges; a missing header reads as none.
  ustring range;
  ComPtr<ICoreWebView2HttpRequestHeaders> headers;
  BOOL hasRange = FALSE;
  if (SUCCEEDED(request->get_Headers(headers.Put())) && headers &&
      SUCCEEDED(headers->Contains(ToWide(u"Range"), &hasRange)) && hasRange) {
    LPWSTR value = nullptr;
    if (SUCCEEDED(headers->GetHeader(ToWide(u"Range"), &value))) range = TakeCoTaskString(value);
  }

  std::optional<TResourceAnswer> answer;
  try {
    answer = ResolvePackageResource(uri, inputs, range);
  } catch (const std::exception&) {
    return;  // a damaged entry or a vanished file: the browser shows its error
  }
  ICoreWebView2Environment* environment = Sender->EnvironmentInterface();
  if (!answer || !environment) return;

  const ComPtr<IStream> body = TMemoryIStream::Owning(std::move(answer->Body));
  ComPtr<ICoreWebView2WebResourceResponse> response;
  const ustring header = ResponseHeaders(*answer);
  if (SUCCEEDED(environment->CreateWebResourceResponse(body.Get(), answer->StatusCode, ToWide(answer->ReasonPhrase),
                                                       ToWide(header), response.Put())) &&
      response) {
    Args->ArgsInterface()->put_Response(response.Get());
  }
}

}  // namespace vantrel
