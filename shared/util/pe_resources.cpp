#include "shared/util/pe_resources.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "shared/util/pe_image.h"

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

// A sound program's resources do not overlap and are far fewer; a damaged
// tree whose entries all point at the same large data or tables must not
// make us copy gigabytes.
constexpr size_t kMaxResources = 65536;

struct Reader {
  const std::vector<uint8_t>& file;
  std::vector<Section> sections;
  uint32_t rsrcOffset = 0;  // file offset of the resource directory
  size_t copiedBytes = 0;
  size_t visitedEntries = 0;

  size_t OffsetOfRva(uint32_t rva) const {
    for (const auto& s : sections)
      if (rva >= s.rva && rva - s.rva < std::max(s.virtualSize, s.rawSize)) return s.rawOffset + (rva - s.rva);
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
  void Walk(uint32_t offset, int level, TPeResource current, std::vector<TPeResource>& out) {
    const size_t at = rsrcOffset + offset;
    const size_t count = static_cast<size_t>(U16(file, at + 12)) + U16(file, at + 14);
    visitedEntries += count;
    if (visitedEntries > 16 * kMaxResources) throw EVantrelError("the resource tree has too many entries");
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
        copiedBytes += size;
        if (out.size() >= kMaxResources || copiedBytes > file.size()) {
          throw EVantrelError("the resource tree lists more data than the file holds");
        }
        next.data.assign(file.begin() + dataAt, file.begin() + dataAt + size);
        next.codePage = U32(file, leaf + 8);
        out.push_back(next);
      }
    }
  }
};

// Where the parts of a PE file's headers lie.
struct PeHeaders {
  size_t pe, optional, directories, table;
  uint16_t sectionCount;
  size_t Section(size_t i) const { return table + 40 * i; }
  size_t Directory(size_t i) const { return directories + 8 * i; }
};

// The data directories read or written here: up to base relocations (5).
constexpr size_t kDirectoriesUsed = 6;

PeHeaders ReadHeaders(const std::vector<uint8_t>& file) {
  if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') throw EVantrelError("not an MZ file");
  PeHeaders h;
  h.pe = U32(file, 0x3C);
  if (U32(file, h.pe) != 0x4550) throw EVantrelError("no PE signature");
  h.sectionCount = U16(file, h.pe + 6);
  h.optional = h.pe + 24;
  const uint16_t magic = U16(file, h.optional);
  if (magic != 0x20B && magic != 0x10B) throw EVantrelError("unknown optional header");
  h.directories = h.optional + (magic == 0x20B ? 112 : 96);
  h.table = h.optional + U16(file, h.pe + 20);
  // The fields patched later must lie inside the optional header, before
  // the section table.
  if (h.table < h.directories + 8 * kDirectoriesUsed || U32(file, h.directories - 4) < kDirectoriesUsed) {
    throw EVantrelError("the optional header is too short");
  }
  if (h.Section(h.sectionCount) > file.size()) throw EVantrelError("the section table lies past the end");
  return h;
}

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
  node.valueOffset = p;
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
  const PeHeaders h = ReadHeaders(file);
  const uint32_t resourceRva = U32(file, h.Directory(2));
  Reader reader{file, {}, 0};
  for (uint16_t i = 0; i < h.sectionCount; ++i) {
    const size_t s = h.Section(i);
    reader.sections.push_back({U32(file, s + 12), U32(file, s + 8), U32(file, s + 20), U32(file, s + 16)});
  }
  // The system loader refuses sections out of order or overlapping; here an
  // address could then mean two places (and a rewrite move data between them).
  for (size_t i = 1; i < reader.sections.size(); ++i) {
    const Section& before = reader.sections[i - 1];
    if (reader.sections[i].rva < uint64_t{before.rva} + std::max(before.virtualSize, before.rawSize))
      throw EVantrelError("the program's sections overlap");
  }
  std::vector<TPeResource> out;
  if (!resourceRva) return out;
  reader.rsrcOffset = static_cast<uint32_t>(reader.OffsetOfRva(resourceRva));
  reader.Walk(0, 0, TPeResource{}, out);
  return out;
}

std::u16string TVersionNode::Text() const {
  std::u16string text;
  for (size_t i = 0; i + 1 < value.size(); i += 2) text.push_back(static_cast<char16_t>(value[i] | (value[i + 1] << 8)));
  return text;
}

TVersionNode ParseVersionBlock(const std::vector<uint8_t>& data) { return ParseNode(data, 0, data.size()); }

namespace {
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v), b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16); }
// Rounds up; refuses a result that no longer fits the 32-bit fields.
uint32_t AlignTo(uint64_t n, uint32_t alignment) {
  const uint64_t aligned = alignment ? (n + alignment - 1) / alignment * alignment : n;
  if (aligned > 0xFFFFFFFFu) throw EVantrelError("the image would grow past 4 GiB");
  return static_cast<uint32_t>(aligned);
}

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

// A level's key: names sort before ids, names by their upper-case text (the
// loader searches both halves of a directory in this order).
struct Key {
  std::u16string name;
  uint16_t id = 0;
  bool operator<(const Key& other) const {
    if (name.empty() != other.name.empty()) return !name.empty();
    if (!name.empty()) return Upper(name) < Upper(other.name);
    return id < other.id;
  }
  static std::u16string Upper(std::u16string text) {
    for (auto& c : text)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
  }
};

using LanguageMap = std::map<uint16_t, const TPeResource*>;
using NameMap = std::map<Key, LanguageMap>;
using TypeMap = std::map<Key, NameMap>;

size_t DirectorySize(size_t entries) { return 16 + 8 * entries; }

// The section's bytes, its tables laid out as: directories (root, types,
// names), data entries, name strings, then the data, each 8-byte aligned.
std::vector<uint8_t> BuildResourceSection(const std::vector<TPeResource>& resources, uint32_t sectionRva) {
  TypeMap tree;
  for (const auto& r : resources) {
    // Names compare without letter case, as the loader finds them: two that
    // meet here would leave one of them unreachable.
    const TPeResource*& slot = tree[{r.typeName, r.typeId}][{r.name, r.nameId}][r.language];
    if (slot) throw EVantrelError("the program lists the same resource twice");
    slot = &r;
  }

  size_t directories = DirectorySize(tree.size()), leaves = 0, strings = 0;
  for (const auto& [type, names] : tree) {
    directories += DirectorySize(names.size());
    strings += type.name.empty() ? 0 : 2 + 2 * type.name.size();
    for (const auto& [name, languages] : names) {
      directories += DirectorySize(languages.size());
      strings += name.name.empty() ? 0 : 2 + 2 * name.name.size();
      leaves += languages.size();
    }
  }
  size_t stringAt = directories + 16 * leaves;
  size_t dataAt = (stringAt + strings + 7) & ~size_t{7};
  size_t total = dataAt;
  bool anyEmpty = false;
  for (const auto& r : resources) {
    total = ((total + 7) & ~size_t{7}) + r.data.size();
    anyEmpty = anyEmpty || r.data.empty();
  }
  // An empty resource's address must still lie inside the section, also
  // when it is placed last.
  std::vector<uint8_t> out(((total + 7) & ~size_t{7}) + (anyEmpty ? 8 : 0), 0);

  size_t nextDirectory = 0, nextLeaf = directories;
  const auto directory = [&](size_t named, size_t ids) {
    const size_t at = nextDirectory;
    nextDirectory += DirectorySize(named + ids);
    Put16(out, at + 12, static_cast<uint32_t>(named));
    Put16(out, at + 14, static_cast<uint32_t>(ids));
    return at;
  };
  const auto nameField = [&](const Key& key) -> uint32_t {
    if (key.name.empty()) return key.id;
    const size_t at = stringAt;
    Put16(out, at, static_cast<uint32_t>(key.name.size()));
    for (size_t i = 0; i < key.name.size(); ++i) Put16(out, at + 2 + 2 * i, key.name[i]);
    stringAt += 2 + 2 * key.name.size();
    return 0x80000000u | static_cast<uint32_t>(at);
  };
  const auto counts = [](const auto& map) {
    size_t named = 0;
    for (const auto& entry : map) named += entry.first.name.empty() ? 0 : 1;
    return std::make_pair(named, map.size() - named);
  };

  // Breadth-first: every table of a level before the next level's tables.
  const auto [namedTypes, idTypes] = counts(tree);
  const size_t root = directory(namedTypes, idTypes);
  std::vector<std::pair<size_t, const NameMap*>> typeTables;
  size_t slot = 0;
  for (const auto& [type, names] : tree) {
    const auto [named, ids] = counts(names);
    const size_t table = directory(named, ids);
    Put32(out, root + 16 + 8 * slot, nameField(type));
    Put32(out, root + 20 + 8 * slot++, 0x80000000u | static_cast<uint32_t>(table));
    typeTables.emplace_back(table, &names);
  }
  std::vector<std::pair<size_t, const LanguageMap*>> nameTables;
  for (const auto& [typeTable, names] : typeTables) {
    slot = 0;
    for (const auto& [name, languages] : *names) {
      const size_t table = directory(0, languages.size());
      Put32(out, typeTable + 16 + 8 * slot, nameField(name));
      Put32(out, typeTable + 20 + 8 * slot++, 0x80000000u | static_cast<uint32_t>(table));
      nameTables.emplace_back(table, &languages);
    }
  }
  for (const auto& [nameTable, languages] : nameTables) {
    slot = 0;
    for (const auto& [language, resource] : *languages) {
      const size_t leaf = nextLeaf;
      nextLeaf += 16;
      Put32(out, nameTable + 16 + 8 * slot, language);
      Put32(out, nameTable + 20 + 8 * slot++, static_cast<uint32_t>(leaf));
      dataAt = (dataAt + 7) & ~size_t{7};
      std::copy(resource->data.begin(), resource->data.end(), out.begin() + static_cast<std::ptrdiff_t>(dataAt));
      Put32(out, leaf, sectionRva + static_cast<uint32_t>(dataAt));
      Put32(out, leaf + 4, static_cast<uint32_t>(resource->data.size()));
      Put32(out, leaf + 8, resource->codePage);
      dataAt += resource->data.size();
    }
  }
  return out;
}

// The image checksum, over a file whose checksum field is zero.
uint32_t PeChecksum(const std::vector<uint8_t>& file) {
  uint32_t sum = 0;
  for (size_t i = 0; i < file.size(); i += 2) {
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return sum + static_cast<uint32_t>(file.size());
}
}  // namespace

void ReplacePeResources(std::vector<uint8_t>& file, const std::vector<TPeResource>& resources) {
  const PeHeaders h = ReadHeaders(file);
  const uint16_t sectionCount = h.sectionCount;
  const size_t optional = h.optional;
  const uint32_t sectionAlignment = U32(file, optional + 32), fileAlignment = U32(file, optional + 36);
  // What the system loader accepts; anything else would drive our sizes.
  if (!IsPowerOfTwo(fileAlignment) || fileAlignment < 512 || fileAlignment > 65536 ||
      !IsPowerOfTwo(sectionAlignment) || sectionAlignment < fileAlignment) {
    throw EVantrelError("the program's section or file alignment is invalid");
  }
  if (U32(file, h.pe + 12) != 0) throw EVantrelError("the program carries a symbol table");
  if (U32(file, h.Directory(4)) != 0) throw EVantrelError("the program is signed");
  const uint32_t resourceRva = U32(file, h.Directory(2));

  size_t rsrc = sectionCount;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t s = h.Section(i);
    const uint32_t va = U32(file, s + 12), size = std::max(U32(file, s + 8), U32(file, s + 16));
    if (resourceRva >= va && resourceRva - va < size) rsrc = i;
  }
  if (rsrc == sectionCount || resourceRva != U32(file, h.Section(rsrc) + 12))
    throw EVantrelError("the program has no resource section of its own");
  const auto imageEnd = PeImageEnd(file.data(), file.size());
  if (!imageEnd || *imageEnd != file.size()) throw EVantrelError("data follows the program's image");
  for (size_t i = rsrc + 1; i < sectionCount; ++i) {
    if (std::string(reinterpret_cast<const char*>(&file[h.Section(i)]), 6) != ".reloc")
      throw EVantrelError("a section other than .reloc follows the resources");
  }

  const size_t header = h.Section(rsrc);
  const uint32_t rawAt = U32(file, header + 20), oldRaw = U32(file, header + 16);
  if (rawAt > file.size() || rawAt < h.Section(sectionCount)) throw EVantrelError("the resource section is misplaced");
  const std::vector<uint8_t> section = BuildResourceSection(resources, resourceRva);
  const uint32_t newRaw = AlignTo(section.size(), fileAlignment);
  std::vector<uint8_t> rebuilt(file.begin(), file.begin() + rawAt);
  rebuilt.insert(rebuilt.end(), section.begin(), section.end());
  rebuilt.resize(rawAt + newRaw, 0);
  Put32(rebuilt, header + 8, static_cast<uint32_t>(section.size()));
  Put32(rebuilt, header + 16, newRaw);
  Put32(rebuilt, h.Directory(2) + 4, static_cast<uint32_t>(section.size()));

  // The sections behind (base relocations) move with the new size.
  uint32_t nextVa = AlignTo(uint64_t{resourceRva} + section.size(), sectionAlignment);
  uint32_t lastEnd = nextVa;
  for (size_t i = rsrc + 1; i < sectionCount; ++i) {
    const size_t s = h.Section(i);
    const uint32_t oldVa = U32(file, s + 12), raw = U32(file, s + 16), oldAt = U32(file, s + 20);
    if (static_cast<uint64_t>(oldAt) + raw > file.size()) throw EVantrelError("a section lies past the end of the file");
    Put32(rebuilt, s + 12, nextVa);
    Put32(rebuilt, s + 20, static_cast<uint32_t>(rebuilt.size()));
    rebuilt.insert(rebuilt.end(), file.begin() + oldAt, file.begin() + oldAt + raw);
    const uint32_t relocRva = U32(file, h.Directory(5));
    if (relocRva >= oldVa && relocRva < oldVa + std::max(raw, U32(file, s + 8)))
      Put32(rebuilt, h.Directory(5), nextVa + (relocRva - oldVa));
    lastEnd = AlignTo(uint64_t{nextVa} + std::max(U32(file, s + 8), raw), 1);
    nextVa = AlignTo(lastEnd, sectionAlignment);
  }
  Put32(rebuilt, optional + 56, AlignTo(lastEnd, sectionAlignment));  // SizeOfImage
  Put32(rebuilt, optional + 8, U32(file, optional + 8) - oldRaw + newRaw);  // SizeOfInitializedData
  Put32(rebuilt, optional + 64, 0);
  Put32(rebuilt, optional + 64, PeChecksum(rebuilt));
  file = std::move(rebuilt);
}

}  // namespace vantrel
