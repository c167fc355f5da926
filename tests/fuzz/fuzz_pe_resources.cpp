// The PE resource reader and rewriter: any bytes as a program. What reads
// must rewrite into a program that reads back with the same resources, and
// the rewrite must stay near the size of what it holds.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "shared/util/exe_resource_edits.h"
#include "shared/util/pe_image.h"
#include "shared/util/pe_resources.h"

namespace {
using namespace vantrel;

// The rewriter writes each directory sorted, as the system's loader expects;
// a damaged file may list them in any order.
void SortResources(std::vector<TPeResource>& list) {
  std::stable_sort(list.begin(), list.end(), [](const TPeResource& a, const TPeResource& b) {
    const auto key = [](const TPeResource& r) {
      return std::make_tuple(r.typeName.empty(), r.typeName, r.typeId, r.name.empty(), r.name, r.nameId, r.language);
    };
    return key(a) < key(b);
  });
}

bool SameResources(std::vector<TPeResource> a, std::vector<TPeResource> b) {
  SortResources(a);
  SortResources(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].typeId != b[i].typeId || a[i].typeName != b[i].typeName || a[i].nameId != b[i].nameId ||
        a[i].name != b[i].name || a[i].language != b[i].language || a[i].data != b[i].data) {
      return false;
    }
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  PeImageEnd(data, size);
  PeSizeOfHeaders(data, size);
  PeCertificateTable(data, size);
  std::vector<TPeResource> resources;
  try {
    resources = ReadPeResources(file);
  } catch (const EVantrelError&) {
    return 0;
  }
  for (const auto& r : resources) {
    if (r.typeId != 16) continue;
    try {
      ParseVersionBlock(r.data);
    } catch (const EVantrelError&) {
    }
  }
  size_t held = 0;
  for (const auto& r : resources) held += r.data.size() + 64;
  std::vector<uint8_t> rewritten = file;
  try {
    ReplacePeResources(rewritten, resources);
  } catch (const EVantrelError&) {
    return 0;
  }
  // Alignment may add up to 64 KiB for each of the two moved sections.
  if (rewritten.size() > file.size() + held + (256u << 10)) std::abort();
  if (!SameResources(ReadPeResources(rewritten), resources)) std::abort();

  TExeVersionTexts texts;
  texts.CompanyName = u"Fuzz";
  texts.FileVersion = texts.ProductVersion = u"1.2.3.4";
  try {
    UpdateVersionInImage(rewritten, texts);
  } catch (const EVantrelError&) {
  }
  return 0;
}
