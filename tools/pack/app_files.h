#pragma once
// The files of a web application folder as package entries: links inside the
// folder are followed and packed under their own names, links that leave it
// are refused (unless asked), broken links and cycles are errors, and the
// packer's own output is never packed.
#include <string>
#include <vector>

#include "tools/pack/package_writer.h"

namespace vantrel::pack {

struct AppFolderOptions {
  std::string folder;              // the web application's folder
  std::string entryPrefix;         // "DirName/"
  bool followOutsideLinks = false;
  std::vector<std::string> excluded;  // files never packed (output, temporary files)
};

// Entries sorted by name; throws EVantrelError naming the link or folder at fault.
std::vector<PackageEntry> CollectAppFiles(const AppFolderOptions& options);

}  // namespace vantrel::pack
