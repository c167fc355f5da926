#pragma once
// Writes a package: a ZIP archive whose entries are all encrypted with the
// traditional PKWARE method under one password. Files are streamed through
// bounded buffers, never held whole.
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
  // Deflate every entry (true), store every entry (false), or by type:
  // text-like files deflated, already compressed ones stored.
  std::optional<bool> deflate;
  // Called with the bytes read so far and the total.
  std::function<void(uint64_t done, uint64_t total)> onProgress;
};

// What was written for each entry, to check the archive's directory against.
struct WrittenEntry {
  std::string name;
  uint32_t crc = 0;
  uint64_t size = 0;
  bool deflated = false;
};

// True for names whose content compresses (html, css, js, json, svg, wasm, ...).
bool IsCompressibleName(const std::string& name);

// Writes the package at the end of the existing file `zipPath` (empty for a
// plain archive, or a program the package is appended to); its offsets count
// from the package's first byte. Throws vantrel::EVantrelError on any
// failure; the file may then be partial.
std::vector<WrittenEntry> WritePackage(const std::string& zipPath, const std::vector<PackageEntry>& entries,
                                       const PackageWriteOptions& options);

}  // namespace vantrel::pack
