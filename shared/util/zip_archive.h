#pragma once
// Read-only ZIP archive over bytes in memory (a buffer or a mapped file),
// with one password for every encrypted entry (traditional PKWARE) and entry
// lookup that ignores letter case. libzip reads the directory; entries are
// decrypted, inflated and checked here in large blocks, straight into their
// target, and stored entries can be read from any offset.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/errors.h"
#include "platform/ustring.h"
#include "shared/util/byte_view.h"
#include "shared/util/memory_stream.h"
#include "shared/util/pkware_cipher.h"
#include "shared/util/zip_directory.h"

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
  uint32_t crc = 0;
};

class TZipArchive {
 public:
  static constexpr uint64_t kNoLimit = ~uint64_t{0};

  TZipArchive();  // no archive attached
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  // Applies to every encrypted entry; may be set before or after Open.
  void SetPassword(const std::string& password);

  // Attaches a whole archive; the reader keeps the bytes alive and reads
  // them on demand. Throws EZipError when they are not a readable ZIP archive.
  void Open(TByteView bytes);
  void Open(std::shared_ptr<const TMemoryStream> stream);
  bool IsOpen() const { return archive_ != nullptr; }

  // Writes the entry's decrypted, decompressed bytes into `target` at its
  // position and returns true; returns false and writes nothing when there
  // is no such entry. Throws EZipError, with `target` as it was, when the
  // entry exists but cannot be read (wrong password, damaged data, more bytes
  // than its declared size, a wrong CRC) or would be larger than `limit`.
  bool Extract(ustring_view name, TMemoryStream& target, uint64_t limit = kNoLimit);
  bool Extract(const std::string& utf8Name, TMemoryStream& target, uint64_t limit = kNoLimit);

  // Writes `length` bytes of the entry from `offset` on (fewer at its end)
  // into `target`, as Extract does. A stored entry is decrypted from the
  // nearest saved cipher state (one each MiB, kept once an entry was read),
  // so a range costs about its own length; its CRC covers the whole entry
  // and is not checked here. Other entries are extracted whole (up to
  // `limit`) and cut.
  bool ExtractRange(const std::string& utf8Name, uint64_t offset, uint64_t length, TMemoryStream& target,
                    uint64_t limit = kNoLimit);
  // The entry's size, if there is such an entry.
  std::optional<uint64_t> EntrySize(const std::string& utf8Name) const;

  bool Exists(ustring_view name) const;
  bool Exists(const std::string& utf8Name) const;

  // Stored names, in the archive's order.
  std::vector<std::string> EntryNames() const;
  // What the central directory says of each entry, in the archive's order.
  std::vector<TZipEntryInfo> EntryInfos() const;

  static constexpr uint64_t kCheckpointInterval = 1u << 20;

 private:
  struct Located;
  // Index of the first entry whose stored name matches, letter case ignored.
  long long Find(const std::string& utf8Name) const;
  // Where an entry's data lies, checked; throws EZipError when it cannot be
  // read here.
  Located Locate(unsigned long long index, const std::string& utf8Name) const;
  void ExtractDirect(const Located& entry, const std::string& utf8Name, TMemoryStream& target);
  void ExtractWithLibzip(unsigned long long index, const std::string& utf8Name, uint64_t declaredSize,
                         TMemoryStream& target);
  // The cipher positioned after the entry's header (password checked).
  TPkwareCipher StartCipher(const Located& entry, const std::string& utf8Name) const;

  TByteView bytes_;
  zip* archive_ = nullptr;
  std::string password_;
  std::unordered_map<std::string, unsigned long long> index_;
  std::vector<TZipDirectoryEntry> directory_;  // in libzip's order; empty when unread
  // Cipher states of stored entries at every kCheckpointInterval of their data.
  std::unordered_map<unsigned long long, std::vector<TPkwareCipher::TState>> checkpoints_;
};

}  // namespace vantrel
