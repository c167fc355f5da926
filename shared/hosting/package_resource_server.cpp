#include "shared/hosting/package_resource_server.h"

#include "platform/binary_file.h"
#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "shared/util/str_utils.h"

namespace vantrel {

namespace {
constexpr char16_t kFileScheme[] = u"file:///";

// The text after the last backslash or colon (a forward slash is no separator here).
ustring FileNamePart(const ustring& path) {
  const size_t cut = path.find_last_of(u"\\:");
  return cut == ustring::npos ? path : path.substr(cut + 1);
}

std::optional<TMemoryStream> ReadWholeFile(const ustring& path) {
  if (!FileExists(path)) return std::nullopt;
  BinaryFile file(path, BinaryFile::Mode::Read);
  TMemoryStream bytes;
  bytes.Reserve(static_cast<size_t>(file.Size()));
  uint8_t chunk[65536];
  for (size_t got; (got = file.Read(chunk, sizeof chunk)) > 0;) bytes.Write(chunk, got);
  bytes.SetPosition(0);
  return bytes;
}
}  // namespace

ustring ContentTypeHeader(const ustring& contentType) { return u"Content-Type: " + contentType + u"; charset=utf-8"; }

std::optional<TResourceAnswer> ResolvePackageResource(const ustring& uri, const TResourceServerInputs& inputs) {
  if (!inputs.HandleRequests) return std::nullopt;
  if (uri.size() < 8 || !SameTextIgnoringCase(ustring_view(uri).substr(0, 8), kFileScheme)) return std::nullopt;
  const ustring path = ReplaceAll(uri, kFileScheme, u"");
  TResourceAnswer answer;
  answer.ContentType = TStrUtils::GetFileMIMEType(FileNamePart(path));

  if (!inputs.AppDirName.empty() && inputs.ExeZip) {
    const ustring entry = inputs.AppDirName + u"/" + path;
    if (inputs.ExeZip->Exists(entry)) {
      inputs.ExeZip->Extract(entry, answer.Body);
      answer.Body.SetPosition(0);
      return answer;
    }
  }
  for (const ustring& candidate : {inputs.AppDirPath + ReplaceAll(path, u"/", u"\\"), path}) {
    if (auto bytes = ReadWholeFile(candidate)) {
      answer.Body = std::move(*bytes);
      return answer;
    }
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

  std::optional<TResourceAnswer> answer;
  try {
    answer = ResolvePackageResource(uri, inputs);
  } catch (const std::exception&) {
    return;  // a damaged entry or a vanished file: the browser shows its error
  }
  ICoreWebView2Environment* environment = Sender->EnvironmentInterface();
  if (!answer || !environment) return;

  const ComPtr<IStream> body = TMemoryIStream::Owning(std::move(answer->Body));
  ComPtr<ICoreWebView2WebResourceResponse> response;
  const ustring header = ContentTypeHeader(answer->ContentType);
  if (SUCCEEDED(environment->CreateWebResourceResponse(body.Get(), 200, ToWide(u"OK"), ToWide(header),
                                                       response.Put())) &&
      response) {
    Args->ArgsInterface()->put_Response(response.Get());
  }
}

}  // namespace vantrel
