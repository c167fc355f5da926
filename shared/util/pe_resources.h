#pragma once
// The resources of a PE file as bytes: the leaf entries of the resource
// tree, version blocks as a tree, and a new resource section written in
// place of the old one.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace vantrel {

struct TPeResource {
  std::u16string typeName, name;  // empty when the level is an id
  uint16_t typeId = 0, nameId = 0;
  uint16_t language = 0;
  std::vector<uint8_t> data;
  uint32_t codePage = 0;
};

// Throws EVantrelError when the file is not a PE image with a sound
// resource tree.
std::vector<TPeResource> ReadPeResources(const std::vector<uint8_t>& file);

// One node of a version block: its key, the value (text for type 1), children.
struct TVersionNode {
  std::u16string key;
  uint16_t valueLength = 0;  // as stored: characters for text, bytes otherwise
  uint16_t type = 0;
  std::vector<uint8_t> value;
  std::vector<TVersionNode> children;
  uint16_t length = 0;  // the node's own length field
  size_t valueOffset = 0;  // where the value starts in the parsed bytes

  // The value as UTF-16 text, every character of the slot (zeros included).
  std::u16string Text() const;
};

TVersionNode ParseVersionBlock(const std::vector<uint8_t>& data);

// Writes `resources` as the file's resource section in place of the old one.
// The resource section must be the last one but for base relocations (which
// are moved behind it), and nothing may follow the image in the file; raises
// EVantrelError otherwise. The checksum is computed anew.
void ReplacePeResources(std::vector<uint8_t>& file, const std::vector<TPeResource>& resources);

}  // namespace vantrel
