#include "platform/win32/win_text.h"

namespace vantrel::win32 {

std::string SystemErrorMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  ustring text = length ? FromW(buffer, length) : U("System error " + std::to_string(code));
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return Utf16ToUtf8(text);
}

}  // namespace vantrel::win32
