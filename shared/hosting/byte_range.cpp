#include "shared/hosting/byte_range.h"

#include <algorithm>
#include <optional>

#include "shared/util/text_file.h"

namespace vantrel {

namespace {
std::optional<uint64_t> Number(ustring_view text) {
  text = TrimControls(text);
  if (text.empty() || text.size() > 18) return std::nullopt;
  uint64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - u'0');
  }
  return value;
}
}  // namespace

TByteRange ParseByteRange(ustring_view header, uint64_t size) {
  TByteRange range;
  header = TrimControls(header);
  const size_t equals = header.find(u'=');
  if (equals == ustring_view::npos || !SameTextIgnoringCase(TrimControls(header.substr(0, equals)), u"bytes")) {
    return range;
  }
  const ustring_view spec = header.substr(equals + 1);
  if (spec.find(u',') != ustring_view::npos) return range;  // several ranges: the whole content
  const size_t dash = spec.find(u'-');
  if (dash == ustring_view::npos) return range;
  const auto first = Number(spec.substr(0, dash));
  const ustring_view lastText = TrimControls(spec.substr(dash + 1));
  const auto last = lastText.empty() ? std::optional<uint64_t>() : Number(lastText);
  if (!lastText.empty() && !last) return range;
  if (first) {
    if (last && *last < *first) return range;  // malformed
    if (*first >= size) {
      range.kind = TByteRange::Kind::Unsatisfiable;
      return range;
    }
    range.kind = TByteRange::Kind::Part;
    range.first = *first;
    range.last = last ? std::min(*last, size - 1) : size - 1;
    return range;
  }
  if (TrimControls(spec.substr(0, dash)).empty() && last) {  // the last n bytes
    if (*last == 0 || size == 0) {
      range.kind = TByteRange::Kind::Unsatisfiable;
      return range;
    }
    range.kind = TByteRange::Kind::Part;
    range.first = *last >= size ? 0 : size - *last;
    range.last = size - 1;
  }
  return range;
}

}  // namespace vantrel
