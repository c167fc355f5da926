#pragma once
// Bytes in memory (a buffer or a mapped file) that stay valid as long as
// their owner lives.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vantrel {

struct TByteView {
  std::shared_ptr<const void> owner;
  const uint8_t* data = nullptr;
  size_t size = 0;
};

}  // namespace vantrel
