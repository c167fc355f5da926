#pragma once
// Small fixtures shared by the unit tests: temporary folders, synthetic PE
// images and packages.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/program_image.h"

namespace vantrel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct FakeSection {
  uint32_t pointerToRawData;
  uint32_t sizeOfRawData;
};

// Headers of a PE32+ image with the given sections, padded to `fileSize`
// (at least the headers' size).
std::vector<uint8_t> MakePeImage(const std::vector<FakeSection>& sections, size_t fileSize = 0);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::vector<uint8_t> ReadBytes(const std::string& path);

// A package (encrypted ZIP) with these entries, as bytes.
std::vector<uint8_t> MakePackage(const std::map<std::string, std::string>& entries,
                                 const std::string& password, bool deflate = false);

// An icon file whose images are `imageSizes` bytes long (image i filled
// with 0x40 + i): the edits copy image bytes, they do not decode them.
std::vector<uint8_t> IconFile(const std::vector<size_t>& imageSizes);

// A running program whose file is `path` and whose image ends at `imageEnd`.
class FakeProgramImage : public IProgramImage {
 public:
  FakeProgramImage(std::string path, uint32_t imageEnd) : path_(std::move(path)), imageEnd_(imageEnd) {}
  ustring ExePath() const override;
  uint32_t ImageEnd() const override { return imageEnd_; }
  std::optional<uint32_t> CertificateTableOffset() const override { return certificateTable; }
  void ShowPlainErrorBox(const ustring& text, const ustring& title) const override;

  std::optional<uint32_t> certificateTable;  // where a signature begins, if signed
  mutable std::vector<std::pair<ustring, ustring>> errorBoxes;

 private:
  std::string path_;
  uint32_t imageEnd_;
};

// A program file: a fake PE image of `imageSize` bytes followed by `package`.
std::string MakeProgramFile(const TempDir& dir, const std::vector<uint8_t>& package, uint32_t imageSize = 4096);

}  // namespace vantrel::test
