// The icon checks: any bytes as an icon file and as an icon-group resource.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "shared/util/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::vector<uint8_t> file(data, data + size);
  try {
    const auto entries = ParseIconFile(file);
    const auto group = BuildIconGroup(0, 1, entries);
    ParseIconGroup(group.data(), group.size());
  } catch (const EIconError&) {
  }
  ParseIconGroup(data, size);
  return 0;
}
