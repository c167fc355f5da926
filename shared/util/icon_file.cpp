#include "shared/util/icon_file.h"

#include <cstring>

namespace vantrel {

namespace {
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
[[noreturn]] void Invalid() { throw EIconError("Icon file is invalid"); }
}  // namespace

std::vector<TIconImageEntry> ParseIconFile(const std::vector<uint8_t>& file) {
  if (file.size() < 6) Invalid();
  if (file[0] == 'M' && file[1] == 'Z') Invalid();
  const size_t count = U16(&file[4]);
  if (file.size() < 6 + 16 * count) Invalid();
  std::vector<TIconImageEntry> entries(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = &file[6 + 16 * i];
    std::memcpy(entries[i].Header, entry, 12);
    entries[i].BytesInImage = U32(entry + 8);
    entries[i].ImageOffset = U32(entry + 12);
    const uint64_t end = static_cast<uint64_t>(entries[i].ImageOffset) + entries[i].BytesInImage;
    if (end > 0xFFFFFFFFull || end > file.size()) Invalid();
  }
  return entries;
}

std::vector<uint8_t> BuildIconGroup(uint16_t reserved, uint16_t type, const std::vector<TIconImageEntry>& entries) {
  std::vector<uint8_t> group;
  group.reserve(6 + 14 * entries.size());
  Put16(group, reserved);
  Put16(group, type);
  Put16(group, static_cast<uint16_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    group.insert(group.end(), entries[i].Header, entries[i].Header + 12);
    Put16(group, static_cast<uint16_t>(i + 1));
  }
  return group;
}

TIconGroup ParseIconGroup(const uint8_t* data, size_t size) {
  TIconGroup group;
  if (!data || size < 6) return group;
  group.Reserved = U16(data);
  group.Type = U16(data + 2);
  const size_t count = U16(data + 4);
  for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= size; ++i) group.IconIds.push_back(U16(data + 6 + 14 * i + 12));
  return group;
}

}  // namespace vantrel
