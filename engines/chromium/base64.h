#pragma once
// Base64 as the helper's protocol carries bodies and pictures.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel::chromium {

inline std::string Base64Encode(std::string_view bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const uint32_t n = (uint8_t(bytes[i]) << 16) | (two ? uint8_t(bytes[i + 1]) << 8 : 0);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += two ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// Skips anything outside the alphabet (line breaks); stops at padding.
inline std::string Base64Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    int value;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    else if (c >= '0' && c <= '9') value = c - '0' + 52;
    else if (c == '+') value = 62;
    else if (c == '/') value = 63;
    else if (c == '=') break;
    else continue;
    bits = (bits << 6) | uint32_t(value);
    if (++count == 4) {
      out += char(bits >> 16);
      out += char((bits >> 8) & 255);
      out += char(bits & 255);
      bits = 0;
      count = 0;
    }
  }
  if (count == 2) out += char(bits >> 4);
  if (count == 3) {
    out += char(bits >> 10);
    out += char((bits >> 2) & 255);
  }
  return out;
}

}  // namespace vantrel::chromium
