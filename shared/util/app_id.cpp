#include "shared/util/app_id.h"

#include <array>

namespace vantrel {

namespace {
constexpr size_t kMaxLength = 255;  // longest file-name component

// Device names Windows reserves in every folder, also with an extension.
bool IsReservedDeviceName(ustring_view id) {
  ustring_view stem = id.substr(0, id.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  const ustring folded = FoldCase(stem);
  for (const char16_t* name : {u"con", u"prn", u"aux", u"nul", u"conin$", u"conout$"}) {
    if (folded == name) return true;
  }
  if (folded.size() == 4 && (folded.compare(0, 3, u"com") == 0 || folded.compare(0, 3, u"lpt") == 0)) {
    const char16_t digit = folded[3];
    return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
  }
  return false;
}
}  // namespace

std::string AppIdProblem(ustring_view id) {
  if (id.empty()) return "it is empty";
  if (id == u"." || id == u"..") return "it names a folder itself, not a folder of its own";
  if (id.size() > kMaxLength) return "it is longer than 255 characters";
  for (const char16_t c : id) {
    if (c < 0x20 || c == 0x7F) return "it contains a control character";
    if (ustring_view(u"\\/:*?\"<>|").find(c) != ustring_view::npos) {
      return "it contains the character '" + Utf16ToUtf8(ustring(1, c)) + "', which file names cannot hold";
    }
  }
  if (id.back() == u'.' || id.back() == u' ') return "it ends with a dot or a space";
  if (IsReservedDeviceName(id)) return "it is a device name that Windows reserves";
  return {};
}

}  // namespace vantrel
