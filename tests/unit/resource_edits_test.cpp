#include "tools/pack/resource_edits.h"

#include <gtest/gtest.h>

namespace vantrel::pack {
namespace {

TEST(ResourceEdits, TravelAsTextToTheWindowsPacker) {
  ResourceEdits edits;
  edits.iconPath = "Z:\\work\\app icon.ico";
  edits.version.emplace();
  edits.version->CompanyName = u"\u00dcn\u00efcode = Tools";
  edits.version->FileVersion = u"2.1.0.7";
  edits.version->Comments = u"100% offline";
  const ResourceEdits back = ParseResourceEdits(SerializeResourceEdits(edits));
  EXPECT_EQ(back.iconPath, edits.iconPath);
  ASSERT_TRUE(back.version);
  EXPECT_EQ(back.version->CompanyName, edits.version->CompanyName);
  EXPECT_EQ(back.version->FileVersion, u"2.1.0.7");
  EXPECT_EQ(back.version->Comments, u"100% offline");
  EXPECT_EQ(back.version->ProductName, u"");

  EXPECT_TRUE(ParseResourceEdits("").Empty());
  const ResourceEdits iconOnly = ParseResourceEdits("Icon=a.ico\r\nUnknown=1\n");
  EXPECT_EQ(iconOnly.iconPath, "a.ico");
  EXPECT_FALSE(iconOnly.version);
}

TEST(ResourceEdits, TextsMustFitTheirSlots) {
  TExeVersionTexts texts;
  texts.FileVersion = u"1.0.0.10";
  EXPECT_THROW(ValidateVersionTexts(texts), EVantrelError);
  texts.FileVersion = u"1.0.0.1";
  texts.ProductName = ustring(255, u'x');
  EXPECT_NO_THROW(ValidateVersionTexts(texts));
  texts.ProductName += u'x';
  try {
    ValidateVersionTexts(texts);
    FAIL() << "a 256-character name passed";
  } catch (const EVantrelError& e) {
    EXPECT_NE(std::string(e.what()).find("ProductName is longer than 255 characters"), std::string::npos);
  }
  texts.ProductName = u"two\nlines";
  EXPECT_THROW(ValidateVersionTexts(texts), EVantrelError);
}

}  // namespace
}  // namespace vantrel::pack
