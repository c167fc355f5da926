#include "tests/unit/test_support.h"

#include <algorithm>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tools/pack/package_writer.h"

namespace vantrel::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "vantrel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

namespace {
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> MakePeImage(const std::vector<FakeSection>& sections, size_t fileSize) {
  constexpr size_t kPe = 0x80, kOptional = 240;
  const size_t tableStart = kPe + 4 + 20 + kOptional;
  const size_t headersSize = tableStart + sections.size() * 40;
  std::vector<uint8_t> b(std::max(headersSize, fileSize), 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, kPe);
  b[kPe] = 'P';
  b[kPe + 1] = 'E';
  Put16(b, kPe + 4, 0x8664);
  Put16(b, kPe + 6, static_cast<uint16_t>(sections.size()));
  Put16(b, kPe + 20, kOptional);
  Put16(b, kPe + 24, 0x20B);  // PE32+
  Put32(b, kPe + 24 + 60, static_cast<uint32_t>(headersSize));
  for (size_t i = 0; i < sections.size(); ++i) {
    const size_t s = tableStart + i * 40;
    b[s] = '.';
    Put32(b, s + 16, sections[i].sizeOfRawData);
    Put32(b, s + 20, sections[i].pointerToRawData);
  }
  return b;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> MakePackage(const std::map<std::string, std::string>& entries, const std::string& password,
                                 bool deflate) {
  TempDir dir;
  std::vector<pack::PackageEntry> list;
  int n = 0;
  for (const auto& [name, content] : entries) {
    const std::string source = dir.File("entry" + std::to_string(n++));
    WriteText(source, content);
    list.push_back({name, source});
  }
  pack::PackageWriteOptions options;
  options.password = password;
  options.deflate = deflate;
  pack::WritePackage(dir.File("package.zip"), list, options);
  return ReadBytes(dir.File("package.zip"));
}

ustring FakeProgramImage::ExePath() const { return Utf8ToUtf16(path_); }

void FakeProgramImage::ShowPlainErrorBox(const ustring& text, const ustring& title) const {
  errorBoxes.emplace_back(text, title);
}

std::string MakeProgramFile(const TempDir& dir, const std::vector<uint8_t>& package, uint32_t imageSize) {
  std::vector<uint8_t> bytes = MakePeImage({{1024, imageSize - 1024}}, imageSize);
  bytes.insert(bytes.end(), package.begin(), package.end());
  const std::string path = dir.File("program.exe");
  WriteBytes(path, bytes);
  return path;
}

std::vector<uint8_t> IconFile(const std::vector<size_t>& imageSizes) {
  size_t total = 6 + 16 * imageSizes.size();
  for (size_t size : imageSizes) total += size;
  std::vector<uint8_t> file(total, 0);
  Put16(file, 2, 1);
  Put16(file, 4, static_cast<uint16_t>(imageSizes.size()));
  size_t offset = 6 + 16 * imageSizes.size();
  for (size_t i = 0; i < imageSizes.size(); ++i) {
    const size_t entry = 6 + 16 * i;
    file[entry] = file[entry + 1] = 32;
    Put16(file, entry + 4, 1);
    Put16(file, entry + 6, 32);
    Put32(file, entry + 8, static_cast<uint32_t>(imageSizes[i]));
    Put32(file, entry + 12, static_cast<uint32_t>(offset));
    std::fill(file.begin() + offset, file.begin() + offset + imageSizes[i], static_cast<uint8_t>(0x40 + i));
    offset += imageSizes[i];
  }
  return file;
}

}  // namespace vantrel::test
