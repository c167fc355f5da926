#pragma once
// A whole file mapped read-only into memory: its bytes cost only the pages
// that are read, and stay valid as long as the object lives.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/ustring.h"

namespace vantrel {

class TMappedFile {
 public:
  // Throws EFileError naming the file and the system's reason.
  static std::shared_ptr<const TMappedFile> Open(const ustring& path);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  const uint8_t* Data() const { return data_; }
  uint64_t Size() const { return size_; }

 private:
  TMappedFile() = default;
  const uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
  [[maybe_unused]] void* handle_ = nullptr;  // the system's mapping object, where it has one
};

}  // namespace vantrel
