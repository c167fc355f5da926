#pragma once
// Answers the browser's file:/// requests from the package in memory, from
// the folder beside the program, or from the literal path.
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
};

struct TResourceAnswer {
  ustring ContentType;
  TMemoryStream Body;  // rewound
};

// The answer for a request URI, or none (the browser then handles it).
// Throws when an entry or file exists but cannot be read.
std::optional<TResourceAnswer> ResolvePackageResource(const ustring& uri, const TResourceServerInputs& inputs);

// The header line of every answer.
ustring ContentTypeHeader(const ustring& contentType);

// Handler of the control's OnWebResourceRequested event: answers with status
// 200 "OK", the one header line and the body; gives no answer when nothing
// matches, and none either when the resource cannot be read (the browser
// shows its error and later requests are still served).
void EdgeBrowserWebResourceRequested(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args,
                                     const TResourceServerInputs& inputs);

}  // namespace vantrel
