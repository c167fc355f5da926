#pragma once
// The icon and version texts the packer gives a copy of the runtime before
// the package is appended.
#include <optional>
#include <string>

#include "shared/util/exe_resources.h"

namespace vantrel::pack {

struct ResourceEdits {
  std::string iconPath;                      // an .ico file, or empty
  std::optional<TExeVersionTexts> version;   // all eleven texts, or none
  bool Empty() const { return iconPath.empty() && !version; }
};

// Raises EVantrelError naming the text that cannot be stored: longer than
// its slot in the runtime's version information (7 characters for the two
// version numbers, 255 for the others) or holding a line break.
void ValidateVersionTexts(const TExeVersionTexts& texts);

// The edits as UTF-8 lines "Key=Value" (Icon and the eleven version keys),
// and back; how a caller hands them to the Windows packer's
// --edit-resources step.
std::string SerializeResourceEdits(const ResourceEdits& edits);
ResourceEdits ParseResourceEdits(const std::string& text);

// Applies the edits to the program file at `exePath` (on Windows with the
// resource functions; elsewhere by rewriting its resource section).
void ApplyResourceEdits(const std::string& exePath, const ResourceEdits& edits);

}  // namespace vantrel::pack
