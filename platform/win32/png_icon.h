#pragma once
#include <windows.h>

namespace vantrel::win32 {

// Owns an icon handle.
class UniqueIcon {
 public:
  UniqueIcon() = default;
  explicit UniqueIcon(HICON icon) : icon_(icon) {}
  ~UniqueIcon() {
    if (icon_) DestroyIcon(icon_);
  }
  UniqueIcon(const UniqueIcon&) = delete;
  UniqueIcon& operator=(const UniqueIcon&) = delete;
  HICON Get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// Decodes the PNG stored as the RCDATA resource `name` of the program and
// scales it to `size` x `size` pixels with high-quality interpolation.
// Null when the resource is missing or cannot be decoded.
HICON LoadPngResourceIcon(const wchar_t* name, int size);

// True from Windows 8 (6.2) on, by the system's real version.
bool IsWindows8OrLater();

}  // namespace vantrel::win32
