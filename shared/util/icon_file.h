#pragma once
// Windows icon files and icon-group resources, as bytes: validation of an
// icon file's directory and the group that lists its images.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/errors.h"

namespace vantrel {

inline constexpr size_t kMaxIconFileSize = 1048576;

class EIconError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

struct TIconImageEntry {
  uint8_t Header[12];  // width, height, colours, reserved, planes, bits, bytes in image
  uint32_t BytesInImage;
  uint32_t ImageOffset;
};

// The image entries of an icon file; raises EIconError "Icon file is
// invalid" when it is shorter than its header or directory, begins with
// "MZ", or an image runs past the end of the file (or past 32 bits).
std::vector<TIconImageEntry> ParseIconFile(const std::vector<uint8_t>& file);

// A group resource: the header (reserved, type, n) and per image its first
// 12 directory bytes and the identifier i + 1.
std::vector<uint8_t> BuildIconGroup(uint16_t reserved, uint16_t type, const std::vector<TIconImageEntry>& entries);

struct TIconGroup {
  uint16_t Reserved = 0;
  uint16_t Type = 0;
  std::vector<uint16_t> IconIds;
};

// Reads a group resource; entries that would lie past its end are not read.
TIconGroup ParseIconGroup(const uint8_t* data, size_t size);

}  // namespace vantrel
