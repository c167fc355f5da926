#include "shared/util/zip_archive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "platform/mapped_file.h"
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

std::string RandomText(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text(size, '\0');
  for (auto& c : text) c = static_cast<char>(random());
  return text;
}

// Any range of an entry reads as the same bytes of the whole entry, before
// and after the entry was read once, stored or deflated.
TEST(ZipArchive, RangesReadAsTheSameBytesAsTheWholeEntry) {
  const size_t size = 3 * TZipArchive::kCheckpointInterval + 12345;
  const std::string content = RandomText(size, 3);
  const uint64_t mib = TZipArchive::kCheckpointInterval;
  const struct {
    uint64_t offset, length;
  } ranges[] = {{0, 100}, {mib - 3, 10}, {2 * mib, mib}, {size - 10, 100}, {size - 1, 1}, {1, 0},
                {size, 5},  {size + 7, 5}, {mib + 5, 2 * mib}, {0, size}};
  for (bool deflate : {false, true}) {
    for (bool readFirst : {false, true}) {
      TZipArchive zip;
      zip.SetPassword(kPackagePassword);
      zip.Open(StreamOf(test::MakePackage({{"media/clip.bin", content}}, kPackagePassword, deflate)));
      EXPECT_EQ(zip.EntrySize("MEDIA/CLIP.BIN"), std::optional<uint64_t>(size));
      if (readFirst) {
        TMemoryStream whole;
        ASSERT_TRUE(zip.Extract(std::string("media/clip.bin"), whole));
        ASSERT_EQ(ToString(whole), content);
      }
      for (const auto& r : ranges) {
        TMemoryStream part;
        ASSERT_TRUE(zip.ExtractRange("media/clip.bin", r.offset, r.length, part));
        const std::string expected = r.offset < size ? content.substr(r.offset, r.length) : std::string();
        EXPECT_TRUE(ToString(part) == expected)
            << "deflate " << deflate << " readFirst " << readFirst << " offset " << r.offset << " length " << r.length;
      }
      TMemoryStream none;
      EXPECT_FALSE(zip.ExtractRange("media/missing.bin", 0, 1, none));
    }
  }
}

// A flipped byte in an entry's data is found by its CRC, in either method.
TEST(ZipArchive, DamagedDataIsFoundByItsCrc) {
  const std::string content = RandomText(50000, 9);
  for (bool deflate : {false, true}) {
    auto bytes = test::MakePackage({{"a.bin", content}}, kPackagePassword, deflate);
    bytes[30 + 5 + 12 + 1000] ^= 0x40;  // inside the data, after the local header and encryption header
    TZipArchive zip;
    zip.SetPassword(kPackagePassword);
    zip.Open(StreamOf(bytes));
    TMemoryStream target;
    EXPECT_THROW(zip.Extract(std::string("a.bin"), target), EZipError) << deflate;
    EXPECT_EQ(target.Size(), 0u);
  }
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
  const std::string text = "[App]\nID=x\n" + std::string(3000, ';');
  // Stored and deflated, encrypted (Info-ZIP's check byte comes from the
  // time, as its sizes follow the data) and not.
  for (const std::string& options : {"-0 -P " + std::string(kPackagePassword), "-9 -P " + std::string(kPackagePassword),
                                    std::string("-0"), std::string("-9")}) {
    test::TempDir dir;
    test::WriteText(dir.File("vtl.ini"), text);
    const std::string cmd = "cd '" + dir.Path() + "' && zip -q " + options + " p.zip vtl.ini";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    TZipArchive zip;
    zip.SetPassword(kPackagePassword);
    zip.Open(StreamOf(test::ReadBytes(dir.File("p.zip"))));
    TMemoryStream out;
    ASSERT_TRUE(zip.Extract(std::string("VTL.ini"), out)) << options;
    EXPECT_EQ(ToString(out), text) << options;
    TMemoryStream part;
    ASSERT_TRUE(zip.ExtractRange("vtl.ini", 6, 5, part));
    EXPECT_EQ(ToString(part), "ID=x\n") << options;
  }
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
    // Every other one over a mapped file, as the program reads its package.
    test::TempDir dir;
    for (size_t i = 0; i < damaged.size(); ++i) {
      const auto& bytes = damaged[i];
      TZipArchive zip;
      zip.SetPassword(kPackagePassword);
      try {
        if (i % 2 && !bytes.empty()) {
          const std::string path = dir.File("p" + std::to_string(i) + ".zip");
          test::WriteBytes(path, bytes);
          const auto file = TMappedFile::Open(Utf8ToUtf16(path));
          zip.Open(TByteView{file, file->Data(), static_cast<size_t>(file->Size())});
        } else {
          zip.Open(StreamOf(bytes));
        }
      } catch (const EZipError&) {
        continue;
      }
      for (const auto& name : zip.EntryNames()) {
        TMemoryStream out;
        try {
          zip.Extract(name, out);
          zip.ExtractRange(name, 10, 100, out);
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
