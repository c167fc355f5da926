#include "platform/mapped_file.h"

#include <windows.h>

#include "platform/errors.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"

namespace vantrel {

std::shared_ptr<const TMappedFile> TMappedFile::Open(const ustring& path) {
  const win32::UniqueHandle file(CreateFileW(win32::W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const auto fail = [&](const char* what) {
    return EFileError(std::string(what) + " \"" + Utf16ToUtf8(path) + "\". " +
                      win32::SystemErrorMessage(GetLastError()));
  };
  if (!file) throw fail("Cannot open file");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) throw fail("Cannot read file");
  std::shared_ptr<TMappedFile> mapped(new TMappedFile);
  mapped->size_ = static_cast<uint64_t>(size.QuadPart);
  if (mapped->size_ == 0) return mapped;  // nothing to map
  win32::UniqueHandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) throw fail("Cannot map file");
  const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) throw fail("Cannot map file");
  mapped->data_ = static_cast<const uint8_t*>(view);
  mapped->handle_ = mapping.Release();
  return mapped;
}

TMappedFile::~TMappedFile() {
  if (data_) UnmapViewOfFile(data_);
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

}  // namespace vantrel
