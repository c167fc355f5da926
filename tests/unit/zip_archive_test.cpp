#include "shared/util/zip_archive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "runtime/startup_values.h"
#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

std::string ToString(const TMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

std::shared_ptr<TMemoryStream> StreamOf(const std::vector<uint8_t>& bytes) {
  auto stream = std::make_shared<TMemoryStream>();
  stream->Write(bytes.data(), bytes.size());
  stream->SetPosition(0);
  return stream;
}

const std::map<std::string, std::string> kEntries = {
    {"vtl.ini", "[App]\r\nID=demo\r\n"},
    {"app/index.html", "<html><body>Hello</body></html>"},
    {"app/Css/Site.CSS", std::string(20000, 'c')},
};

class ZipArchiveTest : public ::testing::TestWithParam<bool> {};

TEST_P(ZipArchiveTest, ExtractsEncryptedEntriesIgnoringLetterCase) {
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(StreamOf(test::MakePackage(kEntries, kPackagePassword, GetParam())));

  for (const auto& [name, content] : kEntries) {
    TMemoryStream out;
    ASSERT_TRUE(zip.Extract(name, out)) << name;
    EXPECT_EQ(ToString(out), content);
  }
  TMemoryStream upper;
  ASSERT_TRUE(zip.Extract(std::string("VTL.INI"), upper));
  EXPECT_EQ(ToString(upper), kEntries.at("vtl.ini"));
  TMemoryStream mixed;
  ASSERT_TRUE(zip.Extract(u"APP/css/site.css", mixed));
  EXPECT_EQ(mixed.Size(), 20000u);
  EXPECT_TRUE(zip.Exists(u"App/Index.HTML"));
}

INSTANTIATE_TEST_SUITE_P(StoredAndDeflated, ZipArchiveTest, ::testing::Bool());

TEST(ZipArchive, MissingEntryWritesNothingAndReportsNoError) {
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(StreamOf(test::MakePackage(kEntries, kPackagePassword)));
  TMemoryStream out;
  EXPECT_FALSE(zip.Extract(std::string("nope.txt"), out));
  EXPECT_FALSE(zip.Exists(u"app/index.htm"));
  EXPECT_EQ(out.Size(), 0u);
}

TEST(ZipArchive, PasswordMaySetAfterOpening) {
  TZipArchive zip;
  zip.Open(StreamOf(test::MakePackage(kEntries, kPackagePassword)));
  zip.SetPassword(kPackagePassword);
  TMemoryStream out;
  EXPECT_TRUE(zip.Extract(std::string("vtl.ini"), out));
}

TEST(ZipArchive, WrongPasswordIsAnErrorNotGarbage) {
  TZipArchive zip;
  zip.SetPassword("not-the-password");
  zip.Open(StreamOf(test::MakePackage(kEntries, kPackagePassword)));
  for (const auto& [name, content] : kEntries) {
    TMemoryStream out;
    EXPECT_THROW(zip.Extract(name, out), EZipError) << name;
    EXPECT_EQ(out.Size(), 0u);
  }
}

// Sets the uncompressed size of every entry, in its local header and in the
// central directory, as a damaged or hostile package would declare it.
void DeclareSize(std::vector<uint8_t>& zip, uint32_t size) {
  for (size_t i = 0; i + 46 <= zip.size(); ++i) {
    const bool local = zip[i] == 'P' && zip[i + 1] == 'K' && zip[i + 2] == 3 && zip[i + 3] == 4;
    const bool central = zip[i] == 'P' && zip[i + 1] == 'K' && zip[i + 2] == 1 && zip[i + 3] == 2;
    if (!local && !central) continue;
    const size_t field = i + (local ? 22 : 24);
    for (int b = 0; b < 4; ++b) zip[field + b] = static_cast<uint8_t>(size >> (8 * b));
  }
}

TEST(ZipArchive, AnEntryStopsAtItsDeclaredSizeAndTheTargetStaysAsItWas) {
  const std::string big(200000, 'a');
  for (bool deflate : {false, true}) {
    auto bytes = test::MakePackage({{"big.txt", big}}, kPackagePassword, deflate);
    DeclareSize(bytes, 16);
    TZipArchive zip;
    zip.SetPassword(kPackagePassword);
    zip.Open(StreamOf(bytes));
    TMemoryStream target;
    target.Write("keep", 4);
    EXPECT_THROW(zip.Extract(std::string("big.txt"), target), EZipError) << deflate;
    EXPECT_EQ(std::string(target.Bytes().begin(), target.Bytes().end()), "keep") << deflate;
  }
}

TEST(ZipArchive, AnEntryLargerThanTheCallersLimitIsRefused) {
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(StreamOf(test::MakePackage({{"vtl.ini", std::string(5000, ';')}}, kPackagePassword, true)));
  TMemoryStream target;
  EXPECT_THROW(zip.Extract(std::string("vtl.ini"), target, 4999), EZipError);
  EXPECT_EQ(target.Size(), 0u);
  EXPECT_TRUE(zip.Extract(std::string("vtl.ini"), target, 5000));
  EXPECT_EQ(target.Size(), 5000u);
}

TEST(ZipArchive, BytesThatAreNotAnArchiveFailToOpen) {
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{}, std::vector<uint8_t>{0x50}, std::vector<uint8_t>(1000, 0x41)}) {
    TZipArchive zip;
    zip.SetPassword(kPackagePassword);
    EXPECT_THROW(zip.Open(StreamOf(bytes)), EZipError);
    EXPECT_FALSE(zip.IsOpen());
  }
}

TEST(ZipArchive, ReadsArchivesMadeByTheZipTool) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "zip is not installed";
  test::TempDir dir;
  test::WriteText(dir.File("vtl.ini"), "[App]\nID=x\n");
  const std::string cmd = "cd '" + dir.Path() + "' && zip -q -0 -P " + kPackagePassword + " p.zip vtl.ini";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(StreamOf(test::ReadBytes(dir.File("p.zip"))));
  TMemoryStream out;
  ASSERT_TRUE(zip.Extract(std::string("VTL.ini"), out));
  EXPECT_EQ(ToString(out), "[App]\nID=x\n");
}

// Damaged packages must end in an error or in data, never in a crash or hang.
TEST(ZipArchive, SurvivesTruncatedAndBitFlippedPackages) {
  for (bool deflate : {false, true}) {
    const auto good = test::MakePackage(kEntries, kPackagePassword, deflate);
    std::mt19937 random(deflate ? 7 : 11);
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t cut = 0; cut < good.size(); cut += std::max<size_t>(1, good.size() / 150)) {
      damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
    }
    for (int i = 0; i < 400; ++i) {
      auto bytes = good;
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int f = 0; f < flips; ++f) bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
      damaged.push_back(std::move(bytes));
    }
    for (const auto& bytes : damaged) {
      TZipArchive zip;
      zip.SetPassword(kPackagePassword);
      try {
        zip.Open(StreamOf(bytes));
      } catch (const EZipError&) {
        continue;
      }
      for (const auto& name : zip.EntryNames()) {
        TMemoryStream out;
        try {
          zip.Extract(name, out);
        } catch (const EZipError&) {
        }
      }
    }
  }
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

// The packages we write must be ordinary encrypted ZIP files for other tools too.
TEST(PackageWriter, OutputPassesTheUnzipToolsPasswordCheck) {
  if (std::system("command -v unzip >/dev/null 2>&1") != 0) GTEST_SKIP() << "unzip is not installed";
  for (bool deflate : {false, true}) {
    test::TempDir dir;
    test::WriteBytes(dir.File("p.zip"), test::MakePackage(kEntries, kPackagePassword, deflate));
    const std::string cmd = "unzip -qq -t -P " + std::string(kPackagePassword) + " '" + dir.File("p.zip") + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << (deflate ? "deflated" : "stored");
  }
}

}  // namespace
}  // namespace vantrel
