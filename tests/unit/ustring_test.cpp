#include "platform/ustring.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const ustring text = u"a\u00E9\u20AC\U0001F600z";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\u20AC"), "\xE2\x82\xAC");
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD");           // cut sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD");           // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFDx");     // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(ustring(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(FoldCase, MatchesCapitalsOfCommonScripts) {
  EXPECT_TRUE(SameTextIgnoringCase(u"WindowBorder", u"windowborder"));
  EXPECT_TRUE(SameTextIgnoringCase(u"ÉTÉ", u"été"));
  EXPECT_TRUE(SameTextIgnoringCase(u"ŁÓDŹ", u"łódź"));
  EXPECT_TRUE(SameTextIgnoringCase(u"ΑΒΓ", u"αβγ"));
  EXPECT_TRUE(SameTextIgnoringCase(u"ПРИВЕТ Ё", u"привет ё"));
  EXPECT_FALSE(SameTextIgnoringCase(u"abc", u"abd"));
  EXPECT_EQ(AsciiLower("App/Index.HTML"), "app/index.html");
}

}  // namespace
}  // namespace vantrel
