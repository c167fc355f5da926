#pragma once
// Makes a packaged application: the runtime program with the package appended.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/pack/code_signing.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/resource_edits.h"

namespace vantrel::pack {

struct PackJob {
  std::string runtimePath;    // VantrelRuntime.exe as built
  std::string appDir;         // the web application's folder
  std::string iniPath;        // vtl.ini
  std::string loaderPath;     // WebView2LoaderWin64.dll, required unless noLoader
  bool noLoader = false;      // the program relies on a loader already beside it
  std::string installerPath;  // optional WebView2Installer.exe
  std::vector<std::pair<std::string, std::string>> extraFiles;  // (stored name, file)
  std::string dirName;        // folder in the package; default: DirName of vtl.ini (which it then replaces)
  bool followOutsideLinks = false;  // pack links that lead outside the app folder
  std::string outputPath;
  std::optional<bool> deflate;  // all deflated, all stored, or (unset) by type
  ResourceEdits resourceEdits;  // applied to the runtime copy before the package
  SigningKeys signing;          // when given, the finished program is signed
  std::function<void(const std::string& phase, uint64_t done, uint64_t total)> onProgress;
  std::function<void(const std::string& text)> onWarning;  // things worth a look that do not stop packing
};

// The entries a job puts into the package, in order. Checks first that the
// program made of them can start (vtl.ini's required keys and identifier, a
// loader, the start page) and throws EVantrelError naming the file at fault.
std::vector<PackageEntry> CollectEntries(const PackJob& job);

struct PackResult {
  uint64_t contentSize = 0;  // the files' bytes
  uint64_t packageSize = 0;  // the package appended to the program
};

// Writes the output through temporary files in the output's folder and
// renames it into place only when everything worked and the package's
// directory reads back as written; throws EVantrelError with a clear message
// otherwise and leaves no output behind.
PackResult RunPackJob(const PackJob& job);

}  // namespace vantrel::pack
