#include "tools/pack/inspect.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "platform/errors.h"
#include "platform/mapped_file.h"
#include "runtime/startup_values.h"
#include "shared/util/package_bounds.h"
#include "shared/util/pe_image.h"
#include "shared/util/pe_resources.h"
#include "shared/util/text_file.h"
#include "shared/util/zip_archive.h"

namespace vantrel::pack {

namespace {
constexpr uint16_t kGroupIcon = 14;
constexpr uint16_t kVersion = 16;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  return line;
}

void AppendIcon(const std::vector<TPeResource>& resources, std::string& out) {
  for (const auto& r : resources) {
    if (r.typeId != kGroupIcon || r.name != u"MAINICON") continue;
    const size_t count = r.data.size() >= 6 ? (r.data[4] | (r.data[5] << 8)) : 0;
    out += Format("Icon MAINICON (language %u):", r.language);
    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= r.data.size(); ++i) {
      const uint8_t* e = r.data.data() + 6 + 14 * i;
      out += Format(" %ux%u/%u-bit", e[0] ? e[0] : 256, e[1] ? e[1] : 256, e[6] | (e[7] << 8));
    }
    out += "\n";
    return;
  }
  out += "Icon: no MAINICON\n";
}

void AppendVersionTexts(const TVersionNode& node, std::string& out) {
  if (node.type == 1 && node.children.empty()) {
    std::u16string text = node.Text();
    text = text.substr(0, text.find(u'\0'));
    text.erase(text.find_last_not_of(u' ') + 1);  // blank-filled slots
    out += "  " + Utf16ToUtf8(node.key) + "=" + Utf16ToUtf8(text) + "\n";
  }
  for (const auto& child : node.children) AppendVersionTexts(child, out);
}

void AppendVersions(const std::vector<TPeResource>& resources, std::string& out) {
  bool any = false;
  for (const auto& r : resources) {
    if (r.typeId != kVersion) continue;
    any = true;
    out += Format("Version texts (language %u):\n", r.language);
    try {
      AppendVersionTexts(ParseVersionBlock(r.data), out);
    } catch (const EVantrelError& error) {
      out += std::string("  (unreadable: ") + error.what() + ")\n";
    }
  }
  if (!any) out += "Version texts: none\n";
}
}  // namespace

std::string InspectProgram(const std::string& path) {
  // Mapped, as the program reads itself: a large package is not copied.
  const auto mapped = TMappedFile::Open(Utf8ToUtf16(path));
  const uint8_t* file = mapped->Data();
  const size_t size = static_cast<size_t>(mapped->Size());
  const auto imageEnd = PeImageEnd(file, size);
  if (!imageEnd) throw EVantrelError("\"" + path + "\" is not a Windows program (no PE headers)");
  const auto signature = PeCertificateTable(file, size);
  const uint64_t packageEnd = PackageEndInFile(file, size, *imageEnd);
  if (packageEnd <= *imageEnd) throw EVantrelError("\"" + path + "\" carries no package");

  std::string out = Format("Program: %s, %llu bytes\n", path.c_str(), static_cast<unsigned long long>(size));
  out += Format("Image end: %" PRIu32 "\n", *imageEnd);
  out += Format("Package: %" PRIu64 " bytes at offset %" PRIu32 "\n", packageEnd - *imageEnd, *imageEnd);
  if (signature) {
    out += Format("Signature: certificate table of %" PRIu32 " bytes at offset %" PRIu32 "\n", signature->size,
                  signature->offset);
  } else {
    out += "Signature: none\n";
  }

  TZipArchive archive;
  archive.SetPassword(kPackagePassword);
  archive.Open(TByteView{mapped, file + *imageEnd, static_cast<size_t>(packageEnd - *imageEnd)});
  const auto entries = archive.EntryInfos();
  out += Format("Entries: %llu\n  %-8s %12s %12s  %s\n", static_cast<unsigned long long>(entries.size()), "method", "size", "in package", "name");
  for (const auto& entry : entries) {
    out += Format("  %-8s %12" PRIu64 " %12" PRIu64 "  %s\n", entry.deflated ? "deflated" : "stored", entry.size,
                  entry.compressedSize, entry.name.c_str());
  }
  TMemoryStream ini;
  if (archive.Extract(std::string("vtl.ini"), ini)) {
    out += "vtl.ini:\n";
    for (const ustring& line : SplitLines(DecodeTextWithBom(ini.Data(), ini.Size()))) {
      out += "  " + Utf16ToUtf8(line) + "\n";
    }
  } else {
    out += "vtl.ini: missing\n";
  }

  try {
    // The resources lie inside the image: the package need not be read.
    const std::vector<TPeResource> resources = ReadPeResources(std::vector<uint8_t>(file, file + *imageEnd));
    AppendIcon(resources, out);
    AppendVersions(resources, out);
  } catch (const EVantrelError& error) {
    out += std::string("Resources: unreadable (") + error.what() + ")\n";
  }
  return out;
}

}  // namespace vantrel::pack
