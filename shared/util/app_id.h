#pragma once
// The application identifier names a folder under the user's local
// application-data folder and a kernel mutex, so it must be one plain,
// harmless file-name component.
#include <string>

#include "platform/ustring.h"

namespace vantrel {

// Why `id` cannot serve as an application identifier, or empty when it can.
std::string AppIdProblem(ustring_view id);

}  // namespace vantrel
