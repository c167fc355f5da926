#pragma once
// UTF-8 text as a JSON string literal: quotes and backslashes escaped,
// control characters as \u00XX, everything else as it is.
#include <cstdio>
#include <string>
#include <string_view>

namespace vantrel {

inline std::string JsonQuoteUtf8(std::string_view utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", c);
      out += escape;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

}  // namespace vantrel
