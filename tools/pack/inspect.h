#pragma once
// `vantrel-pack inspect`: what a packaged program carries.
#include <string>

namespace vantrel::pack {

// The report: image end and package size, the signature, every entry, the
// vtl.ini text, the icon and the version texts. Throws EVantrelError when
// the file is not a program or carries no package.
std::string InspectProgram(const std::string& path);

}  // namespace vantrel::pack
