#pragma once
// The central directory of a ZIP archive held in memory, read far enough to
// find each entry's data: where it starts, how it is stored and checked.
// libzip reads the same directory for names and lookup; this adds what it
// does not hand out (the data's offset), so entries can be decrypted and
// inflated in place, in large blocks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

struct TZipDirectoryEntry {
  std::string name;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t dosTime = 0;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;
  uint64_t localHeaderOffset = 0;
};

// The entries in directory order; empty when the archive's end records
// cannot be read (the caller then keeps to libzip alone).
std::vector<TZipDirectoryEntry> ReadZipDirectory(const uint8_t* data, size_t size);

// Offset of the entry's data (after its local header), or 0 when the local
// header does not fit the archive or names another entry.
uint64_t ZipEntryDataOffset(const uint8_t* data, size_t size, const TZipDirectoryEntry& entry);

}  // namespace vantrel
