#include "shared/util/text_file.h"

#include <string_view>

#include "platform/binary_file.h"

namespace vantrel {

namespace {
ustring DecodeUtf16(const uint8_t* data, size_t size, bool bigEndian) {
  ustring out;
  out.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {  // an odd last byte is dropped
    out.push_back(bigEndian ? static_cast<char16_t>((data[i] << 8) | data[i + 1])
                            : static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  return out;
}
}  // namespace

ustring DecodeTextWithBom(const uint8_t* data, size_t size) {
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3));
  }
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
  return DecodeAnsi(data, size);
}

std::vector<ustring> SplitLines(ustring_view text) {
  std::vector<ustring> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

ustring_view TrimLeftControls(ustring_view text) {
  size_t begin = 0;
  while (begin < text.size() && text[begin] <= 32) ++begin;
  return text.substr(begin);
}

ustring_view TrimRightControls(ustring_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] <= 32) --end;
  return text.substr(0, end);
}

ustring_view TrimControls(ustring_view text) { return TrimRightControls(TrimLeftControls(text)); }

}  // namespace vantrel
