#pragma once
// The packer's reading of vtl.ini: the keys a program needs to start, checked
// before anything is written.
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::pack {

struct AppConfig {
  std::string path;       // the vtl.ini it was read from
  std::string id, name, dirName, indexHtml;
  bool secureOrigin = false;
  std::vector<std::string> unknownKeys;  // keys of [App] the program does not read
  std::vector<uint8_t> bytes;            // the file as it is
};

// Reads the file; throws EFileError when it cannot be read.
AppConfig ReadAppConfig(const std::string& iniPath);

// Throws EVantrelError naming the file when ID, Name or DirName is missing
// (blank counts as missing) or ID cannot name a folder and a mutex.
void CheckAppConfig(const AppConfig& config);

// The file's bytes with [App] DirName set to `dirName` (UTF-8 with a BOM,
// CR LF lines); the other lines are kept as they are.
std::vector<uint8_t> WithDirName(const AppConfig& config, const std::string& dirName);

}  // namespace vantrel::pack
