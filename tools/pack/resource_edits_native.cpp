// Off Windows the packer edits the runtime copy's bytes itself, with the
// same rules and messages as the Windows resource functions.
#include <filesystem>

#include "shared/util/exe_resource_edits.h"
#include "shared/util/icon_file.h"
#include "tools/pack/file_bytes.h"
#include "tools/pack/resource_edits.h"

namespace fs = std::filesystem;

namespace vantrel::pack {

void ApplyResourceEdits(const std::string& exePath, const ResourceEdits& edits) {
  if (edits.version) ValidateVersionTexts(*edits.version);
  std::vector<uint8_t> exe = ReadFileBytes(exePath);
  if (!edits.iconPath.empty()) {
    std::error_code ec;
    if (!fs::is_regular_file(edits.iconPath, ec)) throw EVantrelError("Icon file not found: \"" + edits.iconPath + "\"");
    // Refused before reading: the file may be far larger than any icon.
    if (fs::file_size(edits.iconPath, ec) > kMaxIconFileSize) throw EResourceError("Icon file is too large");
    ChangeIconInImage(exe, ReadFileBytes(edits.iconPath));
  }
  if (edits.version && !UpdateVersionInImage(exe, *edits.version))
    throw EVantrelError("The version texts could not be written into \"" + exePath + "\"");
  WriteFileBytes(exePath, exe);
}

}  // namespace vantrel::pack
