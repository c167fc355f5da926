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
};

TVersionNode ParseVersionBlock(const std::vector<uint8_t>& data);

}  // namespace vantrel
