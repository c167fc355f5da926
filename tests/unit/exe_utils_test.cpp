#include "shared/util/exe_utils.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/errors.h"
#include "shared/util/package_bounds.h"
#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

using test::FakeProgramImage;
using test::TempDir;

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

TEST(ExeUtils, FileExactlyAsLongAsItsImageHasNoPackage) {
  TempDir dir;
  const std::string path = test::MakeProgramFile(dir, {});
  FakeProgramImage program(path, 4096);
  TExeUtils utils(program);
  EXPECT_FALSE(utils.ExeHasAttachedStub());
}

TEST(ExeUtils, OneByteCountsAsAPackage) {
  TempDir dir;
  FakeProgramImage program(test::MakeProgramFile(dir, {0x50}), 4096);
  TExeUtils utils(program);
  EXPECT_TRUE(utils.ExeHasAttachedStub());
  TMemoryStream stream;
  utils.GetZipFromExe(stream);
  EXPECT_EQ(stream.Bytes(), std::vector<uint8_t>{0x50});
}

TEST(ExeUtils, ASignatureAfterThePackageIsNotPartOfIt) {
  TempDir dir;
  const std::vector<uint8_t> package = Pattern(5000);
  std::vector<uint8_t> signedTail = package;
  signedTail.resize(package.size() + 1024, 0x30);  // the certificate table
  FakeProgramImage program(test::MakeProgramFile(dir, signedTail), 4096);
  program.certificateTable = 4096 + 5000;
  TExeUtils utils(program);
  TMemoryStream stream;
  utils.GetZipFromExe(stream);
  EXPECT_EQ(stream.Bytes(), package);

  // A signed program without a package has none.
  program.certificateTable = 4096;
  EXPECT_FALSE(utils.ExeHasAttachedStub());
}

// Signing tools align the certificate table to 8 bytes with zeros after the
// package; the archive's end record tells where the package really ends.
TEST(SignaturePadding, IsFoundFromTheArchivesEndRecord) {
  const std::vector<uint8_t> package = test::MakePackage({{"a.txt", "hello"}}, "pw");
  for (size_t padding = 0; padding <= 7; ++padding) {
    std::vector<uint8_t> tail = package;
    tail.resize(package.size() + padding, 0);
    EXPECT_EQ(SignaturePadding(tail.data(), tail.size()), padding);
  }
  std::vector<uint8_t> notZero = package;
  notZero.push_back(0x41);
  EXPECT_EQ(SignaturePadding(notZero.data(), notZero.size()), 0u);
  std::vector<uint8_t> tooMuch = package;
  tooMuch.resize(package.size() + 8, 0);
  EXPECT_EQ(SignaturePadding(tooMuch.data(), tooMuch.size()), 0u);
  const uint8_t tiny[3] = {0, 0, 0};
  EXPECT_EQ(SignaturePadding(tiny, sizeof tiny), 0u);
}

TEST(ExeUtils, ThePackageIsMappedWhereItLies) {
  TempDir dir;
  const std::vector<uint8_t> package = Pattern(70000);
  FakeProgramImage program(test::MakeProgramFile(dir, package), 4096);
  TExeUtils utils(program);
  const TByteView view = utils.MapZipFromExe();
  ASSERT_EQ(view.size, package.size());
  EXPECT_TRUE(std::equal(package.begin(), package.end(), view.data));

  // A file shorter than its own image: an error, not a read past its end.
  FakeProgramImage cut(test::MakeProgramFile(dir, {}), 8192);
  TExeUtils cutUtils(cut);
  EXPECT_THROW(cutUtils.MapZipFromExe(), EVantrelError);
}

TEST(ExeUtils, MissingProgramFileHasNoPackage) {
  FakeProgramImage program("/nonexistent/program.exe", 4096);
  TExeUtils utils(program);
  EXPECT_FALSE(utils.ExeHasAttachedStub());
}

TEST(ExeUtils, ProgressIsReportedPerChunkOf10240Bytes) {
  TempDir dir;
  const auto package = Pattern(25000);
  FakeProgramImage program(test::MakeProgramFile(dir, package), 4096);
  TExeUtils utils(program);
  std::vector<int64_t> maxima, positions;
  utils.SetOnProgressMax([&](TExeUtils* sender, int64_t max) {
    EXPECT_EQ(sender, &utils);
    maxima.push_back(max);
  });
  utils.SetOnProgressPos([&](TExeUtils*, int64_t pos) { positions.push_back(pos); });

  TMemoryStream stream;
  stream.Write("stale content that must not survive", 35);
  utils.GetZipFromExe(stream);

  EXPECT_EQ(maxima, std::vector<int64_t>{25000});
  EXPECT_EQ(positions, (std::vector<int64_t>{10240, 20480, 25000}));
  EXPECT_EQ(stream.Bytes(), package);
}

TEST(ExeUtils, ExtractWritesThePackageToAFile) {
  TempDir dir;
  const auto package = Pattern(30000);
  FakeProgramImage program(test::MakeProgramFile(dir, package), 4096);
  TExeUtils utils(program);
  const std::string zipPath = dir.File("out.zip");
  test::WriteText(zipPath, std::string(50000, 'x'));  // truncated if present
  utils.ExtractZipFromExe(Utf8ToUtf16(zipPath));
  EXPECT_EQ(test::ReadBytes(zipPath), package);
}

TEST(ExeUtils, AppendedPackageReadsBackUnchanged) {
  TempDir dir;
  const std::string exe = test::MakeProgramFile(dir, {});
  const auto package = Pattern(12345);
  test::WriteBytes(dir.File("p.zip"), package);

  FakeProgramImage program(exe, 4096);
  TExeUtils utils(program);
  std::vector<int64_t> positions;
  utils.SetOnProgressPos([&](TExeUtils*, int64_t pos) { positions.push_back(pos); });
  utils.AppendZipToExe(Utf8ToUtf16(dir.File("p.zip")), Utf8ToUtf16(exe));
  EXPECT_EQ(positions, (std::vector<int64_t>{10240, 12345}));

  TMemoryStream stream;
  utils.GetZipFromExe(stream);
  EXPECT_EQ(stream.Bytes(), package);
}

TEST(ExeUtils, NoPackageShowsTheFixedErrorAndEndsQuietly) {
  TempDir dir;
  FakeProgramImage program(test::MakeProgramFile(dir, {}), 4096);
  TExeUtils utils(program);
  TMemoryStream stream;
  try {
    utils.GetZipFromExe(stream);
    FAIL() << "expected the process to end";
  } catch (const EProcessExit& exit) {
    EXPECT_EQ(exit.exitCode, 0);
  }
  ASSERT_EQ(program.errorBoxes.size(), 1u);
  EXPECT_EQ(program.errorBoxes[0].first, u"This is not a valid Windows application");
  EXPECT_EQ(program.errorBoxes[0].second, u"Error");
}

// A program file that is cut short between measuring and reading it.
class ShrinkingProgram : public FakeProgramImage {
 public:
  using FakeProgramImage::FakeProgramImage;
  ustring ExePath() const override {
    if (++calls_ == 2) std::filesystem::resize_file(Utf16ToUtf8(FakeProgramImage::ExePath()), 4096 + 15000);
    return FakeProgramImage::ExePath();
  }

 private:
  mutable int calls_ = 0;
};

TEST(ExeUtils, TruncatedSourceEndsTheCopyWithAnError) {
  TempDir dir;
  ShrinkingProgram program(test::MakeProgramFile(dir, Pattern(40000)), 4096);
  TExeUtils utils(program);
  TMemoryStream stream;
  EXPECT_THROW(utils.GetZipFromExe(stream), EFileError);
}

TEST(ExeUtils, AppendToMissingExecutableFails) {
  TempDir dir;
  test::WriteBytes(dir.File("p.zip"), Pattern(10));
  FakeProgramImage program(dir.File("none.exe"), 0);
  TExeUtils utils(program);
  EXPECT_THROW(utils.AppendZipToExe(Utf8ToUtf16(dir.File("p.zip")), Utf8ToUtf16(dir.File("none.exe"))),
               EFileError);
}

}  // namespace
}  // namespace vantrel
