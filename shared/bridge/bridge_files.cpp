#include "shared/bridge/bridge_files.h"

namespace vantrel {

ustring ResolveBridgePath(const ustring& path, const ustring& appFolder) {
  const bool drive = path.size() >= 2 && path[1] == u':';
  const bool network = path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\';
  if (drive || network) return path;
  ustring relative = path;
  for (auto& c : relative)
    if (c == u'/') c = u'\\';
  return appFolder + relative;
}

bool IsPlainPagePath(const ustring& path) {
  const size_t prefix = path.compare(0, 4, u"\\\\?\\") == 0 ? 4 : 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (c == u'\0' || c == u'*' || (c == u'?' && i >= prefix)) return false;
  }
  return true;
}

ustring FolderOfFilePath(const ustring& path) {
  const size_t last = path.find_last_of(u"\\/");
  return last == ustring::npos ? ustring() : path.substr(0, last);
}

std::string TextFileBytes(const ustring& contents) {
  const ustring text = contents.substr(0, contents.find(u'\0'));
  std::string bytes = "\xEF\xBB\xBF";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == ustring::npos) end = text.size();
    bytes += Utf16ToUtf8(ustring_view(text).substr(start, end - start));
    bytes += "\r\n";
    start = end;
    if (start < text.size() && text[start] == u'\r') ++start;
    if (start < text.size() && text[start] == u'\n' && (start == end || text[start - 1] == u'\r')) ++start;
  }
  return bytes;
}

}  // namespace vantrel
