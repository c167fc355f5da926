// Off Windows the packer edits the runtime copy's bytes itself, with the
// same rules and messages as the Windows resource functions.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "shared/util/exe_resource_edits.h"
#include "shared/util/icon_file.h"
#include "tools/pack/resource_edits.h"

namespace fs = std::filesystem;

namespace vantrel::pack {

namespace {
std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileError("Cannot open file \"" + path + "\"");
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}
}  // namespace

void ApplyResourceEdits(const std::string& exePath, const ResourceEdits& edits) {
  if (edits.version) ValidateVersionTexts(*edits.version);
  std::vector<uint8_t> exe = ReadAll(exePath);
  if (!edits.iconPath.empty()) {
    std::error_code ec;
    if (!fs::is_regular_file(edits.iconPath, ec)) throw EVantrelError("Icon file not found: \"" + edits.iconPath + "\"");
    if (fs::file_size(edits.iconPath, ec) > kMaxIconFileSize) throw EResourceError("Icon file is too large");
    ChangeIconInImage(exe, ReadAll(edits.iconPath));
  }
  if (edits.version && !UpdateVersionInImage(exe, *edits.version))
    throw EVantrelError("The version texts could not be written into \"" + exePath + "\"");
  std::ofstream out(exePath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(exe.data()), static_cast<std::streamsize>(exe.size()));
  if (!out) throw EFileError("Cannot write \"" + exePath + "\"");
}

}  // namespace vantrel::pack
