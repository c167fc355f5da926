#include "shared/util/package_bounds.h"

#include <algorithm>

#include "shared/util/pe_image.h"

namespace vantrel {

size_t SignaturePadding(const uint8_t* tail, size_t size) {
  constexpr size_t kEndRecordSize = 22;
  for (size_t padding = 0; padding <= 7 && padding + kEndRecordSize <= size; ++padding) {
    if (padding > 0 && tail[size - padding] != 0) return 0;
    // The end record with a comment of n bytes ends exactly here: look for
    // one whose comment length fits.
    const size_t end = size - padding;
    for (size_t comment = 0; comment <= 65535 && comment + kEndRecordSize <= end; ++comment) {
      const uint8_t* record = tail + end - kEndRecordSize - comment;
      if (record[0] == 'P' && record[1] == 'K' && record[2] == 5 && record[3] == 6 &&
          static_cast<size_t>(record[20] | (record[21] << 8)) == comment) {
        return padding;
      }
    }
  }
  return 0;
}

size_t PackageEndInFile(const uint8_t* file, size_t size, uint32_t imageEnd) {
  const auto signature = PeCertificateTable(file, size);
  if (!signature || signature->offset < imageEnd || signature->offset > size) return size;
  const size_t tail = std::min<size_t>(signature->offset - imageEnd, kPackageTailToScan);
  return signature->offset - SignaturePadding(file + signature->offset - tail, tail);
}

}  // namespace vantrel
