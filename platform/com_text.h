#pragma once
// Strings across the COM boundary: WCHAR is wchar_t on Windows and char16_t
// elsewhere, both UTF-16 code units.
#include <cstring>

#include "platform/ustring.h"
#include "platform/win_types.h"

namespace vantrel {

static_assert(sizeof(WCHAR) == sizeof(char16_t));

inline const WCHAR* ToWide(const ustring& text) { return reinterpret_cast<const WCHAR*>(text.c_str()); }
inline ustring FromWide(const WCHAR* text) {
  return text ? ustring(reinterpret_cast<const char16_t*>(text)) : ustring();
}

// Copies text handed out by WebView2 and frees it with CoTaskMemFree.
inline ustring TakeCoTaskString(LPWSTR text) {
  ustring copy = FromWide(text);
  if (text) CoTaskMemFree(text);
  return copy;
}

// A copy in CoTaskMemAlloc memory, as WebView2 hands text out.
inline LPWSTR MakeCoTaskString(const ustring& text) {
  auto* copy = static_cast<WCHAR*>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (copy) std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  return copy;
}

}  // namespace vantrel
