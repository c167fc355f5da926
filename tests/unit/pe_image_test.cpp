#include "shared/util/pe_image.h"

#include <gtest/gtest.h>

#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

using test::MakePeImage;

TEST(PeImageEnd, IsTheLargestRawDataEndOverAllSections) {
  const auto image = MakePeImage({{0x400, 0x1000}, {0x3000, 0x200}, {0x1400, 0x1000}});
  EXPECT_EQ(PeImageEnd(image.data(), image.size()), 0x3200u);
}

TEST(PeImageEnd, NoSectionsGiveZero) {
  const auto image = MakePeImage({});
  EXPECT_EQ(PeImageEnd(image.data(), image.size()), 0u);
}

TEST(PeImageEnd, SumsWrapAsUnsigned32Bit) {
  // 0xFFFFFF00 + 0x200 wraps to 0x100, so the other section's end wins.
  const auto image = MakePeImage({{0xFFFFFF00u, 0x200}, {0x400, 0x400}});
  EXPECT_EQ(PeImageEnd(image.data(), image.size()), 0x800u);
}

TEST(PeImageEnd, RejectsBytesThatAreNotPeHeaders) {
  auto image = MakePeImage({{0x400, 0x200}});
  const std::vector<uint8_t> tooShort(image.begin(), image.begin() + 40);
  EXPECT_FALSE(PeImageEnd(tooShort.data(), tooShort.size()));

  auto noMz = image;
  noMz[0] = 'X';
  EXPECT_FALSE(PeImageEnd(noMz.data(), noMz.size()));

  auto noPe = image;
  noPe[0x80] = 'X';
  EXPECT_FALSE(PeImageEnd(noPe.data(), noPe.size()));

  // The section table would lie past the bytes given.
  EXPECT_FALSE(PeImageEnd(image.data(), image.size() - 1));

  auto farPe = image;
  farPe[0x3C] = 0xFF, farPe[0x3D] = 0xFF, farPe[0x3E] = 0xFF, farPe[0x3F] = 0xFF;
  EXPECT_FALSE(PeImageEnd(farPe.data(), farPe.size()));
  EXPECT_FALSE(PeImageEnd(nullptr, 0));
}

TEST(PeImageEnd, SizeOfHeadersIsRead) {
  const auto image = MakePeImage({{0x400, 0x200}, {0x600, 0x200}});
  EXPECT_EQ(PeSizeOfHeaders(image.data(), image.size()), image.size());
}

}  // namespace
}  // namespace vantrel
