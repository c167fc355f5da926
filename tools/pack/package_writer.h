#pragma once
// Writes a package: a ZIP archive whose entries are all encrypted with the
// traditional PKWARE method under one password.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::pack {

struct PackageEntry {
  std::string name;        // stored name, "/" between folders
  std::string sourcePath;  // file to take the bytes from
  std::optional<std::vector<uint8_t>> contents{};  // the bytes themselves, instead of a file
};

struct PackageWriteOptions {
  std::string password;
  bool deflate = false;  // entries are stored (method 0) unless asked otherwise
  // Called with the bytes written so far and the total.
  std::function<void(uint64_t done, uint64_t total)> onProgress;
};

// Throws vantrel::EVantrelError on any failure; the file may then be partial.
void WritePackage(const std::string& zipPath, const std::vector<PackageEntry>& entries,
                  const PackageWriteOptions& options);

}  // namespace vantrel::pack
