#include "tools/pack/file_bytes.h"

#include <fstream>
#include <iterator>

#include "platform/errors.h"

namespace vantrel::pack {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileError("Cannot open file \"" + path + "\"");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EFileError("Cannot read file \"" + path + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EFileError("Cannot write \"" + path + "\"");
}

}  // namespace vantrel::pack
