#include "platform/path_root.h"

namespace vantrel {

namespace {
bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDrive(ustring_view path, size_t at) {
  if (path.size() < at + 2 || path[at + 1] != u':') return false;
  const char16_t letter = path[at];
  return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
}

// After the component starting at `at` and the separator behind it, if any.
size_t PastComponent(ustring_view path, size_t at) {
  while (at < path.size() && !IsSeparator(path[at])) ++at;
  return at < path.size() ? at + 1 : at;
}
}  // namespace

size_t WindowsPathRootLength(ustring_view path) {
  const bool twoSeparators = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  if (twoSeparators && path.size() >= 4 && (path[2] == u'?' || path[2] == u'.') && IsSeparator(path[3])) {
    const size_t prefix = 4;
    if (path.size() >= prefix + 4 && SameTextIgnoringCase(path.substr(prefix, 3), u"UNC") &&
        IsSeparator(path[prefix + 3])) {
      return PastComponent(path, PastComponent(path, prefix + 4));  // server, share
    }
    if (IsDrive(path, prefix)) return prefix + 2 + (path.size() > prefix + 2 && IsSeparator(path[prefix + 2]) ? 1 : 0);
    return PastComponent(path, prefix);  // a volume or device name
  }
  if (twoSeparators) return PastComponent(path, PastComponent(path, 2));  // \\server\share\.
  if (IsDrive(path, 0)) return 2 + (path.size() > 2 && IsSeparator(path[2]) ? 1 : 0);
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace vantrel
