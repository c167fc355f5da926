#pragma once
// Whole files as bytes, for the packer's inputs and outputs.
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::pack {

// Throws EFileError when the file cannot be opened or read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Creates or replaces the file; throws EFileError when it cannot be written.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vantrel::pack
