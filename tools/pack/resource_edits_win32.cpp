// On Windows the packer edits the runtime copy with the resource functions.
#include "tools/pack/resource_edits.h"

namespace vantrel::pack {

void ApplyResourceEdits(const std::string& exePath, const ResourceEdits& edits) {
  const ustring exe = Utf8ToUtf16(exePath);
  if (!edits.iconPath.empty()) TExeResources::ChangeExeIcon(exe, Utf8ToUtf16(edits.iconPath));
  if (edits.version) {
    ValidateVersionTexts(*edits.version);
    if (!TExeResources::UpdateExeInfo(exe, *edits.version))
      throw EVantrelError("The version texts could not be written into \"" + exePath + "\"");
  }
}

}  // namespace vantrel::pack
