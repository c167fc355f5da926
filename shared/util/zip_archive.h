#pragma once
// Read-only ZIP archive over a memory buffer, with one password for every
// encrypted entry (traditional PKWARE) and entry lookup that ignores letter case.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/errors.h"
#include "platform/ustring.h"
#include "shared/util/memory_stream.h"

struct zip;

namespace vantrel {

class EZipError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

struct TZipEntryInfo {
  std::string name;  // as stored
  bool deflated = false;
  bool encrypted = false;
  uint64_t compressedSize = 0;
  uint64_t size = 0;
};

class TZipArchive {
 public:
  TZipArchive();  // no archive attached
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  // Applies to every encrypted entry; may be set before or after Open.
  void SetPassword(const std::string& password);

  // Attaches a whole archive; the reader keeps the stream alive and reads it
  // on demand. Throws EZipError when the bytes are not a readable ZIP archive.
  void Open(std::shared_ptr<const TMemoryStream> stream);
  bool IsOpen() const { return archive_ != nullptr; }

  // Writes the entry's decrypted, decompressed bytes into `target` at its
  // position and returns true; returns false and writes nothing when there
  // is no such entry. Throws EZipError, with `target` as it was, when the
  // entry exists but cannot be read (wrong password, damaged data, more bytes
  // than its declared size) or would be larger than `limit`.
  bool Extract(ustring_view name, TMemoryStream& target, uint64_t limit = kNoLimit);
  bool Extract(const std::string& utf8Name, TMemoryStream& target, uint64_t limit = kNoLimit);
  static constexpr uint64_t kNoLimit = ~uint64_t{0};
  bool Exists(ustring_view name) const;
  bool Exists(const std::string& utf8Name) const;

  // Stored names, in the archive's order.
  std::vector<std::string> EntryNames() const;
  // What the central directory says of each entry, in the archive's order.
  std::vector<TZipEntryInfo> EntryInfos() const;

 private:
  // Index of the first entry whose stored name matches, letter case ignored.
  long long Find(const std::string& utf8Name) const;

  std::shared_ptr<const TMemoryStream> stream_;
  zip* archive_ = nullptr;
  std::string password_;
  std::unordered_map<std::string, unsigned long long> index_;
};

}  // namespace vantrel
