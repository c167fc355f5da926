#include "shared/hosting/resource_address.h"

#include <string>

#include "shared/hosting/app_origin.h"
#include "shared/util/str_utils.h"

namespace vantrel {

namespace {
constexpr char16_t kFileScheme[] = u"file:///";

ustring WithoutQueryAndFragment(ustring_view text) {
  return ustring(text.substr(0, text.find_first_of(u"?#")));
}

// A path that climbs out of the app's folder ("..") is no resource of it.
bool ClimbsOut(const ustring& path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"/\\", start);
    if (end == ustring::npos) end = path.size();
    if (path.compare(start, end - start, u"..") == 0) return true;
    start = end + 1;
  }
  return false;
}
}  // namespace

std::optional<TResourcePath> ResourcePathOf(const ustring& uri, bool secureOrigin) {
  if (uri.size() >= 8 && SameTextIgnoringCase(ustring_view(uri).substr(0, 8), kFileScheme)) {
    // Every "file:///" is taken out, as the server always did.
    return TResourcePath{PercentDecodeUtf8(WithoutQueryAndFragment(ReplaceAll(uri, kFileScheme, u""))),
                         false};
  }
  if (!secureOrigin) return std::nullopt;
  const auto origin = ParseOrigin(uri);
  if (!origin || !(*origin == *ParseOrigin(kSecureAppOrigin))) return std::nullopt;
  // The path begins after "https://" and the authority.
  const size_t authority = uri.find(u"//") + 2;
  size_t path = uri.find_first_of(u"/\\?#", authority);
  if (path == ustring::npos || uri[path] == u'?' || uri[path] == u'#') return TResourcePath{u"", true};
  ustring decoded = PercentDecodeUtf8(WithoutQueryAndFragment(ustring_view(uri).substr(path + 1)));
  for (auto& c : decoded) {
    if (c == u'\\') c = u'/';
  }
  if (ClimbsOut(decoded)) return std::nullopt;
  return TResourcePath{decoded, true};
}

}  // namespace vantrel
