// Prints the resources of a PE file, one line each ("type name language
// size hash"), and of its version blocks the block ("block LANG LENGTH
// hash") and the texts ("version LANG KEY=TEXT").
// Used by the Windows tests to look into packed programs.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/ustring.h"
#include "shared/util/pe_resources.h"

using namespace vantrel;

namespace {
std::string Name(const std::u16string& name, uint16_t id) { return name.empty() ? std::to_string(id) : Utf16ToUtf8(name); }

uint64_t Fnv1a64(const std::vector<uint8_t>& data, size_t length) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < length; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
  return hash;
}

void PrintValues(const TVersionNode& node, uint16_t language) {
  if (node.type == 1 && node.children.empty()) {
    std::u16string text = node.Text();
    text = text.substr(0, text.find(u'\0'));
    std::printf("version %u %s=%s\n", language, Utf16ToUtf8(node.key).c_str(), Utf16ToUtf8(text).c_str());
  }
  for (const auto& child : node.children) PrintValues(child, language);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PROGRAM.exe\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  try {
    for (const auto& r : ReadPeResources(file)) {
      std::printf("%s %s %u %zu %016llx\n", Name(r.typeName, r.typeId).c_str(), Name(r.name, r.nameId).c_str(),
                  r.language, r.data.size(), static_cast<unsigned long long>(Fnv1a64(r.data, r.data.size())));
      if (r.typeId == 16 && r.data.size() >= 2) {
        // The block as its own length field gives it (the platform may hand out more).
        const size_t length = std::min<size_t>(r.data.size(), r.data[0] | (r.data[1] << 8));
        std::printf("block %u %zu %016llx\n", r.language, length,
                    static_cast<unsigned long long>(Fnv1a64(r.data, length)));
        PrintValues(ParseVersionBlock(r.data), r.language);
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
