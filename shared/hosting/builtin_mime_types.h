#pragma once
#include <cstddef>

namespace vantrel {

struct TBuiltinMimeType {
  const char* extension;  // with its leading dot
  const char* type;
};

constexpr size_t kBuiltinMimeTypeCount = 384;
extern const TBuiltinMimeType kBuiltinMimeTypes[kBuiltinMimeTypeCount];

}  // namespace vantrel
