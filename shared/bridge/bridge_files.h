#pragma once
// The file rules of the bridge commands: where a page's path points and what
// a written text file holds.
#include <string>

#include "platform/ustring.h"

namespace vantrel {

// A path given by a page: used unchanged when absolute ("X:..." or "\\..."),
// otherwise made relative to `appFolder` (which ends with a backslash) with
// every "/" turned into "\"; nothing else is normalised.
ustring ResolveBridgePath(const ustring& path, const ustring& appFolder);

// False for a path no file command may act on: one holding a NUL (which
// would cut it, or split it into several for the shell's operations) or a
// wildcard ("*" anywhere, "?" anywhere but in a leading "\\?\" prefix).
bool IsPlainPagePath(const ustring& path);

// The folder part of a file path (up to its last "\" or "/"), empty if none.
ustring FolderOfFilePath(const ustring& path);

// The bytes of a text file: the UTF-8 byte-order mark, then every line of
// `contents` (split at CR LF, CR and LF; a NUL ends the text) in UTF-8, each
// followed by CR LF.
std::string TextFileBytes(const ustring& contents);

}  // namespace vantrel
