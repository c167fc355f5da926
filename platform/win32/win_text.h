#pragma once
// Bridges between the program's UTF-16 strings and the Win32 wide-char API
// (wchar_t is 16 bits wide on Windows).
#include <windows.h>

#include <string>

#include "platform/ustring.h"

namespace vantrel::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* W(const ustring& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline ustring FromW(const wchar_t* s) { return s ? ustring(reinterpret_cast<const char16_t*>(s)) : ustring(); }
inline ustring FromW(const wchar_t* s, size_t n) { return ustring(reinterpret_cast<const char16_t*>(s), n); }

// The system's text for an error code, without the trailing line break.
std::string SystemErrorMessage(DWORD code);

}  // namespace vantrel::win32
