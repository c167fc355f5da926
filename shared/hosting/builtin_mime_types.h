#pragma once
#include <cstddef>

namespace vantrel {

struct TBuiltinMimeType {
  const char* extension;  // with its leading dot
  const char* type;
};

constexpr size_t kBuiltinMimeTypeCount = 384;
extern const TBuiltinMimeType kBuiltinMimeTypes[kBuiltinMimeTypeCount];

// Rows for what today's pages use and the table above lacks; they follow it,
// so they only fill its gaps (and registrations still override them).
constexpr size_t kModernMimeTypeCount = 14;
extern const TBuiltinMimeType kModernMimeTypes[kModernMimeTypeCount];

}  // namespace vantrel
