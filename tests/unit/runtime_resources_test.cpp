// The resources of the built Windows program, read back from its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "shared/util/exe_resource_edits.h"
#include "shared/util/pe_image.h"
#include "shared/util/pe_resources.h"
#include "tests/unit/test_support.h"

namespace vantrel {
namespace {


constexpr uint16_t kIcon = 3, kRcData = 10, kGroupIcon = 14, kVersion = 16, kEnglishUs = 0x0409;

class RuntimeResources : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(VANTREL_RUNTIME_EXE, std::ios::binary);
    if (!in) GTEST_SKIP() << "the Windows build is not there: " << VANTREL_RUNTIME_EXE;
    file.assign(std::istreambuf_iterator<char>(in), {});
    resources = ReadPeResources(file);
  }
  const TPeResource* Find(uint16_t type, const std::u16string& name, uint16_t id = 0) const {
    for (const auto& r : resources)
      if (r.typeId == type && r.name == name && r.nameId == id) return &r;
    return nullptr;
  }
  std::vector<uint8_t> file;
  std::vector<TPeResource> resources;
};

bool SameResources(const std::vector<TPeResource>& a, const std::vector<TPeResource>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].typeId != b[i].typeId || a[i].typeName != b[i].typeName || a[i].nameId != b[i].nameId ||
        a[i].name != b[i].name || a[i].language != b[i].language || a[i].data != b[i].data)
      return false;
  }
  return true;
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST_F(RuntimeResources, MainIconGroupListsItsImages) {
  const TPeResource* group = Find(kGroupIcon, u"MAINICON");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->language, kEnglishUs);
  ASSERT_GE(group->data.size(), 6u);
  const size_t count = group->data[4] | (group->data[5] << 8);
  EXPECT_GE(count, 4u) << "several sizes";
  ASSERT_EQ(group->data.size(), 6 + 14 * count);
  for (size_t i = 0; i < count; ++i) {
    const uint16_t id = group->data[6 + 14 * i + 12] | (group->data[6 + 14 * i + 13] << 8);
    const TPeResource* image = Find(kIcon, u"", id);
    ASSERT_NE(image, nullptr) << "icon " << id;
    EXPECT_EQ(image->data.size(), U32At(group->data, 6 + 14 * i + 8));
  }
}

TEST_F(RuntimeResources, VersionInformationHasTheSlotLayout) {
  const TPeResource* version = Find(kVersion, u"", 1);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->language, kEnglishUs);
  const TVersionNode root = ParseVersionBlock(version->data);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52u);
  const uint32_t expected[] = {0xFEEF04BD, 0x00010000, 0x00010000, 0, 0x00010000, 0, 0x3F, 0, 4, 1, 0, 0, 0};
  for (size_t i = 0; i < 13; ++i) EXPECT_EQ(U32At(root.value, 4 * i), expected[i]) << "fixed field " << i;

  ASSERT_EQ(root.children.size(), 2u);
  const TVersionNode& strings = root.children[0];
  EXPECT_EQ(strings.key, u"StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  const TVersionNode& table = strings.children[0];
  EXPECT_EQ(table.key, u"040904E4");
  const std::u16string keys[] = {u"CompanyName",    u"FileDescription",  u"FileVersion", u"InternalName",
                                 u"LegalCopyright", u"LegalTrademarks",  u"OriginalFilename", u"ProgramID",
                                 u"ProductName",    u"ProductVersion",   u"Comments"};
  ASSERT_EQ(table.children.size(), 11u);
  for (size_t i = 0; i < 11; ++i) {
    const TVersionNode& value = table.children[i];
    EXPECT_EQ(value.key, keys[i]);
    EXPECT_EQ(value.type, 1);
    const bool number = keys[i] == u"FileVersion" || keys[i] == u"ProductVersion";
    const std::u16string slot = number ? std::u16string(u"1.0.0.0") + u'\0' : std::u16string(255, u' ') + u'\0';
    EXPECT_EQ(value.valueLength, slot.size()) << value.key.size();
    EXPECT_EQ(value.Text(), slot);
  }
  const TVersionNode& variables = root.children[1];
  EXPECT_EQ(variables.key, u"VarFileInfo");
  ASSERT_EQ(variables.children.size(), 1u);
  EXPECT_EQ(variables.children[0].key, u"Translation");
  EXPECT_EQ(variables.children[0].value, (std::vector<uint8_t>{0x09, 0x04, 0xE4, 0x04}));
}

TEST_F(RuntimeResources, ScriptAndPicturesAreRawData) {
  const TPeResource* script = Find(kRcData, u"VTL_EXTERNAL_JAVASCRIPT");
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->language, kEnglishUs);
  std::ifstream in(VANTREL_SOURCE_DIR "/resources/vtl_external.js", std::ios::binary);
  const std::vector<uint8_t> source((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(script->data, source);
  for (const auto* name : {u"MSG_ERROR", u"MSG_INFO", u"MSG_WARNING"}) {
    const TPeResource* picture = Find(kRcData, name);
    ASSERT_NE(picture, nullptr);
    ASSERT_GE(picture->data.size(), 8u);
    EXPECT_EQ(picture->data[1], 'P');  // a PNG file
  }
}

TEST_F(RuntimeResources, RewrittenSectionReadsBackAndKeepsTheImageSound) {
  std::vector<uint8_t> copy = file;
  ReplacePeResources(copy, resources);
  EXPECT_TRUE(SameResources(ReadPeResources(copy), resources));
  const auto imageEnd = PeImageEnd(copy.data(), copy.size());
  ASSERT_TRUE(imageEnd);
  EXPECT_EQ(*imageEnd, copy.size()) << "nothing may follow the image: the package goes there";

  TPeResource big;
  big.typeId = kRcData;
  big.name = u"EXTRA";
  big.language = kEnglishUs;
  big.data.assign(300000, 0x5A);
  std::vector<TPeResource> more = resources;
  more.push_back(big);
  ReplacePeResources(copy, more);
  const auto back = ReadPeResources(copy);
  ASSERT_EQ(back.size(), more.size());
  EXPECT_NE(std::find_if(back.begin(), back.end(), [&](const TPeResource& r) { return r.name == u"EXTRA" && r.data == big.data; }),
            back.end());
  EXPECT_EQ(*PeImageEnd(copy.data(), copy.size()), copy.size());

  std::vector<uint8_t> appended = file;
  appended.push_back(0);
  EXPECT_THROW(ReplacePeResources(appended, resources), EVantrelError);
}

// Damaged headers and resource tables are refused with an error, never read
// past the file (the sanitizer run checks the "never").
TEST_F(RuntimeResources, DamagedProgramsAreRefusedNotOverrun) {
  std::mt19937 random(5);
  const uint32_t pe = file[0x3C] | (file[0x3D] << 8);
  const size_t rsrc = file.size() - 0x2800;  // around the resource and relocation sections
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> damaged = file;
    for (int flips = 0; flips < 3; ++flips) {
      const size_t at = round % 2 ? pe + random() % 0x200 : rsrc + random() % 0x1800;
      damaged[at] ^= static_cast<uint8_t>(1u << (random() % 8));
    }
    try {
      const auto read = ReadPeResources(damaged);
      ReplacePeResources(damaged, read);
    } catch (const EVantrelError&) {
    }
  }
}

TEST_F(RuntimeResources, IconEditReplacesTheGroupAndItsImages) {
  std::vector<uint8_t> copy = file;
  ChangeIconInImage(copy, test::IconFile({10, 300, 7}));
  std::vector<uint16_t> icons;
  for (const auto& r : ReadPeResources(copy)) {
    if (r.typeId == kIcon) {
      icons.push_back(r.nameId);
      EXPECT_EQ(r.language, kEnglishUs);
    }
    if (r.typeId == kGroupIcon) {
      EXPECT_EQ(r.data.size(), 6u + 3 * 14);
      EXPECT_EQ(r.data[2], 1) << "type kept from the old group";
    }
  }
  EXPECT_EQ(icons, (std::vector<uint16_t>{1, 2, 3}));

  struct Case {
    std::vector<uint8_t> icon;
    const char* message;
  } failures[] = {
      {std::vector<uint8_t>(5, 0), "Icon file is invalid"},
      {{'M', 'Z', 0, 0, 0, 0}, "Icon file is invalid"},
      {std::vector<uint8_t>(1048577, 0), "Icon file is too large"},
  };
  for (const auto& c : failures) {
    std::vector<uint8_t> untouched = file;
    try {
      ChangeIconInImage(untouched, c.icon);
      ADD_FAILURE() << c.message;
    } catch (const EVantrelError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(untouched, file);
  }
  std::vector<TPeResource> noIcon;
  for (const auto& r : resources)
    if (r.typeId != kGroupIcon) noIcon.push_back(r);
  std::vector<uint8_t> plain = file;
  ReplacePeResources(plain, noIcon);
  const std::vector<uint8_t> before = plain;
  try {
    ChangeIconInImage(plain, test::IconFile({4}));
    ADD_FAILURE() << "no MAINICON";
  } catch (const EVantrelError& e) {
    EXPECT_STREQ(e.what(), "FindResource failed (1)");
  }
  EXPECT_EQ(plain, before);
}

TEST_F(RuntimeResources, VersionEditFillsTheSlotsOfANeutralCopy) {
  std::vector<uint8_t> copy = file;
  TExeVersionTexts texts;
  texts.FileVersion = u"2.0.0.1";
  texts.ProductName = ustring(255, u'p');
  ASSERT_TRUE(UpdateVersionInImage(copy, texts));
  std::vector<uint16_t> languages;
  for (const auto& r : ReadPeResources(copy)) {
    if (r.typeId != kVersion) continue;
    languages.push_back(r.language);
    const TVersionNode root = ParseVersionBlock(r.data);
    const TVersionNode& table = root.children.at(0).children.at(0);
    const std::u16string fileVersion = table.children.at(2).Text();
    EXPECT_EQ(fileVersion, r.language == 0 ? std::u16string(u"2.0.0.1") + u'\0' : std::u16string(u"1.0.0.0") + u'\0');
    if (r.language == 0) {
      EXPECT_EQ(table.children.at(0).Text(), std::u16string(256, u'\0'));
      EXPECT_EQ(table.children.at(8).Text(), std::u16string(255, u'p') + u'\0');
    }
  }
  EXPECT_EQ(languages, (std::vector<uint16_t>{0, kEnglishUs}));

  std::vector<uint8_t> untouched = file;
  texts.ProductVersion = u"12.34.56";
  EXPECT_FALSE(UpdateVersionInImage(untouched, texts));
  EXPECT_EQ(untouched, file);
}

}  // namespace
}  // namespace vantrel
