#pragma once
// Which package path a request address names: file:/// addresses, and
// https://app.localhost/ ones when the app lives at its secure origin.
// Addresses are read as browsers send them: a query or fragment is no part
// of the name, and percent-escapes are decoded as UTF-8.
#include <optional>

#include "platform/ustring.h"

namespace vantrel {

struct TResourcePath {
  ustring path;         // relative to the app's folder, "/" between folders
  bool secure = false;  // from the secure origin: no literal disk paths
};

std::optional<TResourcePath> ResourcePathOf(const ustring& uri, bool secureOrigin);

}  // namespace vantrel
