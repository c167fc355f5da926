#include "shared/util/icon_file.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

using test::IconFile;

bool Invalid(const std::vector<uint8_t>& file) {
  try {
    ParseIconFile(file);
    return false;
  } catch (const EIconError& e) {
    EXPECT_STREQ(e.what(), "Icon file is invalid");
    return true;
  }
}

TEST(IconFile, ValidFilesGiveTheirEntries) {
  const auto file = IconFile({10, 20, 5});
  const auto entries = ParseIconFile(file);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].BytesInImage, 20u);
  EXPECT_EQ(entries[1].ImageOffset, 6u + 48 + 10);
  EXPECT_EQ(entries[2].ImageOffset + entries[2].BytesInImage, file.size());
  EXPECT_TRUE(ParseIconFile(IconFile({})).empty());
}

TEST(IconFile, MalformedDirectoriesAreRefused) {
  auto shortDirectory = IconFile({4, 4});
  shortDirectory.resize(6 + 16 + 8);
  auto pastEnd = IconFile({4});
  pastEnd.pop_back();
  auto wraps = IconFile({4});
  wraps[18] = wraps[19] = wraps[20] = wraps[21] = 0xFF;  // offset near 4 GiB: offset + size wraps
  const std::vector<std::vector<uint8_t>> bad = {
      {}, {0, 0, 1, 0, 1}, {'M', 'Z', 0, 0, 0, 0}, {'M', 'Z', 0x90, 0, 3, 0, 0, 0}, shortDirectory, pastEnd, wraps,
  };
  for (const auto& file : bad) EXPECT_TRUE(Invalid(file)) << file.size();
}

// Random and truncated files: refused with the one message, or parsed into
// entries that lie inside the file; never a read past the end.
TEST(IconFile, FuzzedFilesAreRefusedOrStayInBounds) {
  std::mt19937 random(99);
  const auto valid = IconFile({40, 7, 300});
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> file = valid;
    if (round % 3 == 0) {
      file.resize(random() % (valid.size() + 1));
    } else if (round % 3 == 1) {
      for (int flips = 0; flips < 4; ++flips) file[random() % file.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
    } else {
      file.resize(random() % 200);
      for (auto& b : file) b = static_cast<uint8_t>(random());
    }
    try {
      for (const auto& entry : ParseIconFile(file))
        ASSERT_LE(static_cast<uint64_t>(entry.ImageOffset) + entry.BytesInImage, file.size());
    } catch (const EIconError&) {
    }
  }
}

TEST(IconFile, GroupListsTheImagesWithTheOldHeader) {
  const auto entries = ParseIconFile(IconFile({10, 20}));
  const auto group = BuildIconGroup(0x1234, 0x0002, entries);
  ASSERT_EQ(group.size(), 6u + 28);
  EXPECT_EQ((std::vector<uint8_t>(group.begin(), group.begin() + 6)), (std::vector<uint8_t>{0x34, 0x12, 2, 0, 2, 0}));
  EXPECT_EQ(group[6 + 12], 1);
  EXPECT_EQ(group[6 + 14 + 12], 2);
  EXPECT_EQ(group[6 + 8], 10);  // bytes in image copied from the directory
  const TIconGroup parsed = ParseIconGroup(group.data(), group.size());
  EXPECT_EQ(parsed.Reserved, 0x1234);
  EXPECT_EQ(parsed.IconIds, (std::vector<uint16_t>{1, 2}));
  // A group that claims more entries than it holds is read only as far as it goes.
  EXPECT_EQ(ParseIconGroup(group.data(), group.size() - 1).IconIds, std::vector<uint16_t>{1});
  EXPECT_TRUE(ParseIconGroup(group.data(), 5).IconIds.empty());
}

}  // namespace
}  // namespace vantrel
