#include "shared/util/pe_image.h"

namespace vantrel {

namespace {
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr size_t kPeOffsetField = 0x3C;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;

// Offset of the file header, after checking the DOS and PE signatures.
std::optional<size_t> FileHeaderOffset(const uint8_t* data, size_t size) {
  if (!data || size < kPeOffsetField + 4 || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
  const uint64_t pe = Read32(data + kPeOffsetField);
  if (pe + 4 + kFileHeaderSize > size) return std::nullopt;
  if (data[pe] != 'P' || data[pe + 1] != 'E' || data[pe + 2] != 0 || data[pe + 3] != 0) return std::nullopt;
  return static_cast<size_t>(pe + 4);
}
}  // namespace

std::optional<uint32_t> PeImageEnd(const uint8_t* data, size_t size) {
  const auto fileHeader = FileHeaderOffset(data, size);
  if (!fileHeader) return std::nullopt;
  const uint16_t sections = Read16(data + *fileHeader + 2);
  const uint16_t optionalHeaderSize = Read16(data + *fileHeader + 16);
  const uint64_t table = *fileHeader + kFileHeaderSize + optionalHeaderSize;
  if (table + static_cast<uint64_t>(sections) * kSectionHeaderSize > size) return std::nullopt;
  uint32_t end = 0;
  for (uint16_t i = 0; i < sections; ++i) {
    const uint8_t* section = data + table + i * kSectionHeaderSize;
    const uint32_t sectionEnd = Read32(section + 20) + Read32(section + 16);  // wraps as 32-bit
    if (sectionEnd > end) end = sectionEnd;
  }
  return end;
}

std::optional<uint32_t> PeSizeOfHeaders(const uint8_t* data, size_t size) {
  const auto fileHeader = FileHeaderOffset(data, size);
  if (!fileHeader) return std::nullopt;
  // SizeOfHeaders sits at offset 60 of the optional header in PE32 and PE32+.
  const uint16_t optionalHeaderSize = Read16(data + *fileHeader + 16);
  const size_t field = *fileHeader + kFileHeaderSize + 60;
  if (optionalHeaderSize < 64 || field + 4 > size) return std::nullopt;
  return Read32(data + field);
}

std::optional<TPeCertificateTable> PeCertificateTable(const uint8_t* data, size_t size) {
  const auto fileHeader = FileHeaderOffset(data, size);
  if (!fileHeader) return std::nullopt;
  const uint16_t optionalHeaderSize = Read16(data + *fileHeader + 16);
  const size_t optional = *fileHeader + kFileHeaderSize;
  if (optionalHeaderSize < 2 || optional + 2 > size) return std::nullopt;
  // The data directories follow the fixed fields: 96 bytes in PE32, 112 in PE32+.
  const uint16_t magic = Read16(data + optional);
  const size_t fixed = magic == 0x20B ? 112 : magic == 0x10B ? 96 : 0;
  constexpr size_t kSecurityIndex = 4;
  if (fixed == 0) return std::nullopt;
  const size_t entry = optional + fixed + kSecurityIndex * 8;
  if (entry + 8 > optional + optionalHeaderSize || entry + 8 > size) return std::nullopt;
  if (Read32(data + optional + fixed - 4) <= kSecurityIndex) return std::nullopt;  // NumberOfRvaAndSizes
  const TPeCertificateTable table{Read32(data + entry), Read32(data + entry + 4)};
  if (table.offset == 0 || table.size == 0) return std::nullopt;
  return table;
}

}  // namespace vantrel
