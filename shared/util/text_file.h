#pragma once
// Decoding of text files: the byte-order mark picks UTF-8, UTF-16 LE or
// UTF-16 BE; without a mark the text is in the system's ANSI code page.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

ustring DecodeTextWithBom(const uint8_t* data, size_t size);

// Splits at CR LF, LF or CR. A final line break does not start another line.
std::vector<ustring> SplitLines(ustring_view text);

// Removes leading and trailing characters with codes up to 32.
ustring_view TrimControls(ustring_view text);
ustring_view TrimLeftControls(ustring_view text);
ustring_view TrimRightControls(ustring_view text);

}  // namespace vantrel
