#pragma once
// The root of a Windows path: the part that names a drive, a share or a
// device, not a folder that could be created.
#include <cstddef>

#include "platform/ustring.h"

namespace vantrel {

// "C:\" 3, "C:" 2, "\" 1, "\\server\share\" (to after the share),
// "\\?\C:\" 7, "\\?\UNC\server\share\" (to after the share),
// "\\?\Volume{...}\" and "\\.\device\" (to after the name); 0 for a relative
// path. Either slash separates.
size_t WindowsPathRootLength(ustring_view path);

}  // namespace vantrel
