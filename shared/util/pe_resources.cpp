#include "shared/util/pe_resources.h"

namespace vantrel {

namespace {
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  if (at + 2 > b.size()) throw EVantrelError("read past the end");
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | (static_cast<uint32_t>(U16(b, at + 2)) << 16); }

struct Section {
  uint32_t rva, virtualSize, rawOffset, rawSize;
};

struct Reader {
  const std::vector<uint8_t>& file;
  std::vector<Section> sections;
  uint32_t rsrcOffset = 0;  // file offset of the resource directory

  size_t OffsetOfRva(uint32_t rva) const {
    for (const auto& s : sections)
      if (rva >= s.rva && rva < s.rva + std::max(s.virtualSize, s.rawSize)) return s.rawOffset + (rva - s.rva);
    throw EVantrelError("address outside the sections");
  }
  std::u16string NameAt(uint32_t offset) const {
    const size_t at = rsrcOffset + offset;
    const uint16_t length = U16(file, at);
    std::u16string name;
    for (uint16_t i = 0; i < length; ++i) name.push_back(static_cast<char16_t>(U16(file, at + 2 + 2 * i)));
    return name;
  }
  // Entries of the directory at `offset`: (is name, id, name, target offset, is directory).
  void Walk(uint32_t offset, int level, TPeResource current, std::vector<TPeResource>& out) const {
    const size_t at = rsrcOffset + offset;
    const size_t count = static_cast<size_t>(U16(file, at + 12)) + U16(file, at + 14);
    for (size_t i = 0; i < count; ++i) {
      const size_t entry = at + 16 + 8 * i;
      const uint32_t nameField = U32(file, entry), target = U32(file, entry + 4);
      TPeResource next = current;
      const bool named = nameField & 0x80000000u;
      const std::u16string name = named ? NameAt(nameField & 0x7FFFFFFFu) : u"";
      const uint16_t id = named ? 0 : static_cast<uint16_t>(nameField);
      if (level == 0) next.typeName = name, next.typeId = id;
      if (level == 1) next.name = name, next.nameId = id;
      if (level == 2) next.language = id;
      if (target & 0x80000000u) {
        if (level >= 2) throw EVantrelError("resource tree deeper than three levels");
        Walk(target & 0x7FFFFFFFu, level + 1, next, out);
      } else {
        const size_t leaf = rsrcOffset + target;
        const uint32_t dataRva = U32(file, leaf), size = U32(file, leaf + 4);
        const size_t dataAt = OffsetOfRva(dataRva);
        if (dataAt + size > file.size()) throw EVantrelError("resource data past the end");
        next.data.assign(file.begin() + dataAt, file.begin() + dataAt + size);
        out.push_back(next);
      }
    }
  }
};

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

TVersionNode ParseNode(const std::vector<uint8_t>& b, size_t at, size_t end) {
  TVersionNode node;
  node.length = U16(b, at);
  node.valueLength = U16(b, at + 2);
  node.type = U16(b, at + 4);
  const size_t nodeEnd = at + node.length;
  if (nodeEnd > end || node.length < 6) throw EVantrelError("version node past its parent");
  size_t p = at + 6;
  for (;;) {
    const uint16_t c = U16(b, p);
    p += 2;
    if (!c) break;
    node.key.push_back(static_cast<char16_t>(c));
  }
  p = Align4(p);
  const size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
  if (p + valueBytes > nodeEnd) throw EVantrelError("version value past its node");
  node.value.assign(b.begin() + p, b.begin() + p + valueBytes);
  p = Align4(p + valueBytes);
  while (p + 6 <= nodeEnd) {
    node.children.push_back(ParseNode(b, p, nodeEnd));
    p = Align4(p + node.children.back().length);
  }
  return node;
}
}  // namespace

std::vector<TPeResource> ReadPeResources(const std::vector<uint8_t>& file) {
  if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') throw EVantrelError("not an MZ file");
  const uint32_t pe = U32(file, 0x3C);
  if (U32(file, pe) != 0x4550) throw EVantrelError("no PE signature");
  const uint16_t sectionCount = U16(file, pe + 6);
  const uint16_t optionalSize = U16(file, pe + 20);
  const size_t optional = pe + 24;
  const bool pe32plus = U16(file, optional) == 0x20B;
  const size_t directories = optional + (pe32plus ? 112 : 96);
  const uint32_t resourceRva = U32(file, directories + 8 * 2);
  Reader reader{file, {}, 0};
  const size_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t s = table + 40 * i;
    reader.sections.push_back({U32(file, s + 12), U32(file, s + 8), U32(file, s + 20), U32(file, s + 16)});
  }
  std::vector<TPeResource> out;
  if (!resourceRva) return out;
  reader.rsrcOffset = static_cast<uint32_t>(reader.OffsetOfRva(resourceRva));
  reader.Walk(0, 0, TPeResource{}, out);
  return out;
}

TVersionNode ParseVersionBlock(const std::vector<uint8_t>& data) { return ParseNode(data, 0, data.size()); }

}  // namespace vantrel
