#include "shared/util/zip_directory.h"

#include <cstring>

namespace vantrel {

namespace {
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return U16(p) | (static_cast<uint32_t>(U16(p + 2)) << 16); }
uint64_t U64(const uint8_t* p) { return U32(p) | (static_cast<uint64_t>(U32(p + 4)) << 32); }

constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr uint32_t kZip64EndSignature = 0x06064B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;

// The end record: the last one whose comment reaches exactly to the end.
const uint8_t* FindEnd(const uint8_t* data, size_t size) {
  if (size < kEndSize) return nullptr;
  const size_t lowest = size > kEndSize + 65535 ? size - kEndSize - 65535 : 0;
  for (size_t at = size - kEndSize + 1; at-- > lowest;) {
    if (U32(data + at) == kEndSignature && at + kEndSize + U16(data + at + 20) == size) return data + at;
  }
  return nullptr;
}
}  // namespace

std::vector<TZipDirectoryEntry> ReadZipDirectory(const uint8_t* data, size_t size) {
  std::vector<TZipDirectoryEntry> entries;
  const uint8_t* end = FindEnd(data, size);
  if (!end) return entries;
  uint64_t count = U16(end + 10), directoryOffset = U32(end + 16);
  const size_t endAt = static_cast<size_t>(end - data);
  if (endAt >= 20 && U32(end - 20) == kZip64LocatorSignature) {
    const uint64_t zip64End = U64(end - 20 + 8);
    if (zip64End + 56 > size || U32(data + zip64End) != kZip64EndSignature) return entries;
    count = U64(data + zip64End + 32);
    directoryOffset = U64(data + zip64End + 48);
  }
  if (directoryOffset > size || count > (size - directoryOffset) / kCentralSize) return entries;
  size_t at = static_cast<size_t>(directoryOffset);
  for (uint64_t i = 0; i < count; ++i) {
    if (at + kCentralSize > size || U32(data + at) != kCentralSignature) return {};
    const uint8_t* h = data + at;
    TZipDirectoryEntry entry;
    entry.flags = U16(h + 8);
    entry.method = U16(h + 10);
    entry.dosTime = U16(h + 12);
    entry.crc = U32(h + 16);
    entry.compressedSize = U32(h + 20);
    entry.size = U32(h + 24);
    const size_t nameLength = U16(h + 28), extraLength = U16(h + 30), commentLength = U16(h + 32);
    entry.localHeaderOffset = U32(h + 42);
    if (at + kCentralSize + nameLength + extraLength + commentLength > size) return {};
    entry.name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameLength);
    // Values too large for their fields are in the zip64 extra field, in this order.
    const uint8_t* extra = h + kCentralSize + nameLength;
    for (size_t e = 0; e + 4 <= extraLength;) {
      const uint16_t id = U16(extra + e), length = U16(extra + e + 2);
      if (e + 4 + length > extraLength) break;
      if (id == 0x0001) {
        size_t field = e + 4;
        for (uint64_t* value : {&entry.size, &entry.compressedSize, &entry.localHeaderOffset}) {
          if (*value != 0xFFFFFFFFu) continue;
          if (field + 8 > e + 4 + length) return {};
          *value = U64(extra + field);
          field += 8;
        }
      }
      e += 4 + length;
    }
    entries.push_back(std::move(entry));
    at += kCentralSize + nameLength + extraLength + commentLength;
  }
  return entries;
}

uint64_t ZipEntryDataOffset(const uint8_t* data, size_t size, const TZipDirectoryEntry& entry) {
  const uint64_t at = entry.localHeaderOffset;
  if (at > size || size - at < kLocalSize || U32(data + at) != kLocalSignature) return 0;
  const uint8_t* h = data + at;
  const size_t nameLength = U16(h + 26), extraLength = U16(h + 28);
  const uint64_t dataAt = at + kLocalSize + nameLength + extraLength;
  if (dataAt > size || nameLength != entry.name.size() ||
      std::memcmp(h + kLocalSize, entry.name.data(), nameLength) != 0 || size - dataAt < entry.compressedSize) {
    return 0;
  }
  return dataAt;
}

}  // namespace vantrel
