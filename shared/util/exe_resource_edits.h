#pragma once
// The icon and version edits of TExeResources, made on a program file's
// bytes without the Windows resource functions (the packer uses them on
// Linux).
#include <cstdint>
#include <vector>

#include "shared/util/exe_resources.h"

namespace vantrel {

// Replaces the icon group MAINICON and its images by the icon file's images
// (ids 1..n and the group in language 1033, reserved and type of the old
// group kept). Raises EIconError or EResourceError with the messages of
// ChangeExeIcon; `exe` is unchanged then.
void ChangeIconInImage(std::vector<uint8_t>& exe, const std::vector<uint8_t>& icon);

// Writes the texts into the value slots of every translation of the version
// block and stores it as version resource 1, language 0 (the block itself,
// as long as its length field says). False, with `exe` unchanged, when there
// is no version block or a text does not fit its slot.
bool UpdateVersionInImage(std::vector<uint8_t>& exe, const TExeVersionTexts& texts);

}  // namespace vantrel
