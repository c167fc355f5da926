#pragma once
// A file opened for plain byte I/O, closed by its destructor.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/ustring.h"

namespace vantrel {

class BinaryFile {
 public:
  enum class Mode {
    Read,            // existing file, read-only
    WriteExisting,   // existing file, write-only, positioned at 0
    CreateTruncate,  // new file, or an existing one emptied; write-only
  };

  // Throws EFileError naming the file and the system's reason.
  BinaryFile(const ustring& path, Mode mode);
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // Reads up to `size` bytes; returns how many were read (0 at end of file).
  size_t Read(void* buffer, size_t size);
  // Writes all bytes or throws EFileError.
  void Write(const void* buffer, size_t size);
  void Seek(uint64_t position);
  uint64_t Size();
  void Flush();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Size of the file at `path` in bytes, found with a directory search that
// accepts any attribute; -1 when there is no such file.
int64_t FileSizeOf(const ustring& path);

bool FileExists(const ustring& path);
bool DirectoryExists(const ustring& path);
// Creates the folder and any missing parents; throws EFileError on failure.
void ForceDirectories(const ustring& path);
// Replaces `to` by `from` (both on the same volume); throws EFileError.
void RenameFile(const ustring& from, const ustring& to);
void DeleteFileIfPresent(const ustring& path);

// The system's ANSI code page, for text files without a byte-order mark.
ustring DecodeAnsi(const uint8_t* data, size_t size);

}  // namespace vantrel
