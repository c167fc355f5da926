#pragma once
// Where a Windows executable's image ends in its file: everything after that
// offset is data appended to the file (the package).
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vantrel {

// Reads the section table from the image's headers, given as bytes (the start
// of the file, or the image as the system loader mapped it). The result is the
// largest PointerToRawData + SizeOfRawData, each sum taken as an unsigned
// 32-bit number; 0 when there are no sections. Empty when the bytes are not
// the headers of a PE image or the section table lies beyond `size`.
std::optional<uint32_t> PeImageEnd(const uint8_t* headers, size_t size);

// Number of header bytes the image declares (SizeOfHeaders), or empty.
std::optional<uint32_t> PeSizeOfHeaders(const uint8_t* headers, size_t size);

// The Authenticode certificate table (the security data directory). Its
// address is a file offset; it lies after the image, and a signature added to
// a packaged program follows the package. Empty when the program is unsigned.
struct TPeCertificateTable {
  uint32_t offset = 0;
  uint32_t size = 0;
};
std::optional<TPeCertificateTable> PeCertificateTable(const uint8_t* headers, size_t size);

}  // namespace vantrel
