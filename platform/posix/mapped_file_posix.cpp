#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"

namespace vantrel {

std::shared_ptr<const TMappedFile> TMappedFile::Open(const ustring& path) {
  const std::string name = Utf16ToUtf8(path);
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError("Cannot open file \"" + name + "\". " + std::strerror(errno));
  struct stat st {};
  std::shared_ptr<TMappedFile> file(new TMappedFile);
  if (fstat(fd, &st) != 0) {
    const int error = errno;
    close(fd);
    throw EFileError("Cannot read file \"" + name + "\". " + std::strerror(error));
  }
  file->size_ = static_cast<uint64_t>(st.st_size);
  if (file->size_ > 0) {
    void* view = mmap(nullptr, file->size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      const int error = errno;
      close(fd);
      throw EFileError("Cannot map file \"" + name + "\". " + std::strerror(error));
    }
    file->data_ = static_cast<const uint8_t*>(view);
  }
  close(fd);  // the mapping keeps the file
  return file;
}

TMappedFile::~TMappedFile() {
  if (data_) munmap(const_cast<uint8_t*>(data_), size_);
}

}  // namespace vantrel
