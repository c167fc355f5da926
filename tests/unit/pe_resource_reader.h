#pragma once
// Reads the resources of a PE file from its bytes (tests only): the leaf
// entries of the resource tree, and version blocks as a tree.
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::test {

struct PeResource {
  std::u16string typeName, name;  // empty when the level is an id
  uint16_t typeId = 0, nameId = 0;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// Throws std::runtime_error when the file is not a PE image with a sound
// resource tree.
std::vector<PeResource> ReadPeResources(const std::vector<uint8_t>& file);

// One node of a version block: its key, the value (text for type 1), children.
struct VersionNode {
  std::u16string key;
  uint16_t valueLength = 0;  // as stored: characters for text, bytes otherwise
  uint16_t type = 0;
  std::vector<uint8_t> value;
  std::vector<VersionNode> children;
  uint16_t length = 0;  // the node's own length field
};

VersionNode ParseVersionBlock(const std::vector<uint8_t>& data);

}  // namespace vantrel::test
