#pragma once
// Where the package ends when the program was signed after packing: signing
// tools align the certificate table to 8 bytes and fill the gap with zeros,
// which would otherwise read as part of the ZIP archive.
#include <cstddef>
#include <cstdint>

namespace vantrel {

// The longest tail SignaturePadding needs to see: an end-of-central-directory
// record with the longest comment, and the padding.
inline constexpr size_t kPackageTailToScan = 22 + 65535 + 7;

// `tail` holds the last `size` bytes before the certificate table. Returns
// the number of zero bytes after the archive's end record (0 to 7), or 0 when
// no end record ends there.
size_t SignaturePadding(const uint8_t* tail, size_t size);

// Where the package ends in a whole program file held as bytes: before the
// certificate table and its padding when signed, else at the file's end.
size_t PackageEndInFile(const uint8_t* file, size_t size, uint32_t imageEnd);

}  // namespace vantrel
