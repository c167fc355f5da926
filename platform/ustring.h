#pragma once
// Text inside the program is UTF-16, as on Windows; these helpers convert at
// the edges (file names for POSIX, libzip entry names, exception messages).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

using ustring = std::u16string;
using ustring_view = std::u16string_view;

// Invalid sequences become U+FFFD; a BOM, if any, is kept as a character.
ustring Utf8ToUtf16(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(ustring_view utf16);

// Shorthand for literals written as plain ASCII/UTF-8 in the code.
inline ustring U(std::string_view utf8) { return Utf8ToUtf16(utf8); }

// Simple case folding good for identifiers: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic capitals.
char16_t FoldCase(char16_t c);
ustring FoldCase(ustring_view text);
bool SameTextIgnoringCase(ustring_view a, ustring_view b);

// ASCII-only lower case for byte strings such as ZIP entry names.
std::string AsciiLower(std::string_view text);

}  // namespace vantrel
