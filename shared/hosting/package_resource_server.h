#pragma once
// Answers the browser's requests for the app's own files (file:/// and, with
// the secure origin, https://app.localhost/) from the package in memory, from
// the folder beside the program, or (file:/// only) from the literal path.
#include <functional>
#include <optional>

#include "platform/ustring.h"
#include "shared/edge/edge_browser.h"
#include "shared/util/memory_stream.h"
#include "shared/util/zip_archive.h"

namespace vantrel {

// What the host form offers the server at each request.
struct TResourceServerInputs {
  bool HandleRequests = true;
  TZipArchive* ExeZip = nullptr;  // may be absent
  ustring AppDirName;             // the web application's folder in the package
  ustring AppDirPath;             // folder searched on disk, ending with a separator
  bool SecureOrigin = false;      // the app's pages live at https://app.localhost/
};

struct TResourceAnswer {
  int StatusCode = 200;
  ustring ReasonPhrase = u"OK";
  ustring ContentType;
  ustring ContentRange;  // "bytes 0-99/1000" of a partial answer, "bytes */1000" of a refused range
  TMemoryStream Body;    // rewound
};

// The answer for a request URI (with the value of its Range header, if any),
// or none (the browser then handles it). Throws when an entry or file exists
// but cannot be read.
std::optional<TResourceAnswer> ResolvePackageResource(const ustring& uri, const TResourceServerInputs& inputs,
                                                      const ustring& range = {});

// The content type a browser requires for a file name where a registration
// could break the page (scripts, style sheets, WebAssembly), else `looked`.
ustring BrowserContentType(const ustring& fileName, const ustring& looked);

// The Content-Type line: the type and "; charset=utf-8", except for
// application/wasm, which browsers refuse with a parameter.
ustring ContentTypeHeader(const ustring& contentType);
// Every header line of an answer, CR LF between lines.
ustring ResponseHeaders(const TResourceAnswer& answer);

// Handler of the control's OnWebResourceRequested event: answers with the
// status, reason, headers and body of ResolvePackageResource; gives no
// answer when nothing matches, and none either when the resource cannot be
// read (the browser shows its error and later requests are still served).
void EdgeBrowserWebResourceRequested(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args,
                                     const TResourceServerInputs& inputs);

}  // namespace vantrel
