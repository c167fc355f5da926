#include "shared/util/str_utils.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(StringToJsonString, EscapesAsSpecifiedPerCodeUnit) {
  struct Case {
    ustring in;
    const char16_t* out;
  } cases[] = {
      {u"plain", u"\"plain\""},
      {u"", u"\"\""},
      {u"a\"b", u"\"a\\\"b\""},
      {u"C:\\Temp\\", u"\"C:\\\\Temp\\\\\""},
      {u"a/b", u"\"a\\/b\""},
      {u"\b\t\n\f\r", u"\"\\b\\t\\n\\f\\r\""},
      {ustring(1, char16_t(0)) + u"\x01\x1F", u"\"\\u0000\\u0001\\u001F\""},
      {u"\x7F\u0080\u00E9\u20AB", u"\"\x7F\u0080\u00E9\u20AB\""},
      {u"\u20AC", u"\"\\u20AC\""},
      {u"\uFFFF", u"\"\\uFFFF\""},
      {u"\U0001F600", u"\"\\uD83D\\uDE00\""},
      {ustring(1, char16_t(0xDC00)), u"\"\\uDC00\""},
  };
  for (const auto& c : cases) EXPECT_EQ(TStrUtils::StringToJsonString(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(ExplodeStrings, OneElementMoreThanSeparators) {
  using V = TArrayStrings;
  EXPECT_EQ(TStrUtils::ExplodeStrings(u";", u""), V{u""});
  EXPECT_EQ(TStrUtils::ExplodeStrings(u";", u";"), (V{u"", u""}));
  EXPECT_EQ(TStrUtils::ExplodeStrings(u";", u"a;b;"), (V{u"a", u"b", u""}));
  EXPECT_EQ(TStrUtils::ExplodeStrings(u"", u"a;b"), V{u"a;b"});
  EXPECT_EQ(TStrUtils::ExplodeStrings(u"||", u"a||b|c"), (V{u"a", u"b|c"}));
  EXPECT_EQ(TStrUtils::ExplodeStrings(u"x", u"aXb"), V{u"aXb"});
  for (const ustring text : {u"", u";", u"a;b;", u";;x;"}) {
    EXPECT_EQ(TStrUtils::ImplodeStrings(u";", TStrUtils::ExplodeStrings(u";", text)), text);
  }
  EXPECT_EQ(TStrUtils::ImplodeStrings(u", ", {}), u"");
}

TEST(StrUtils, QuotingRoundTrips) {
  EXPECT_EQ(TStrUtils::QuoteArguments(u"'\":|"), u"\\x27\\x22\\x3a\\x7c");
  EXPECT_EQ(TStrUtils::UnquoteArguments(u"\\x27\\x22\\x3a\\x7c"), u"'\":|");
  EXPECT_EQ(TStrUtils::QuoteJavascript(u"a\\b\nc'"), u"a\\b\nc\\x27");
  EXPECT_EQ(TStrUtils::UnquoteJavascript(u"\\x27x\\x22"), u"'x\"");
}

TEST(StrUtils, JavascriptArrayFromLines) {
  EXPECT_EQ(TStrUtils::GetJavascriptArrayFromMultilineString(u"a\nb"), u"\"a\", \"b\"");
  EXPECT_EQ(TStrUtils::GetJavascriptArrayFromMultilineString(u"a\r\n\n  b'  \r\n"), u"\"a\", \"b\\x27\"");
  EXPECT_EQ(TStrUtils::GetJavascriptArrayFromMultilineString(u"   \nx"), u"\"\", \"x\"");
}

TEST(StrUtils, SmallOperations) {
  EXPECT_EQ(TStrUtils::Capitalize(u"hello"), u"Hello");
  EXPECT_EQ(TStrUtils::Capitalize(u"élan"), u"élan");
  EXPECT_EQ(TStrUtils::Capitalize(u""), u"");
  EXPECT_EQ(TStrUtils::AddLeadingZeroes(7, 3), u"007");
  EXPECT_EQ(TStrUtils::AddLeadingZeroes(1234, 2), u"1234");
  EXPECT_EQ(TStrUtils::RepeatString(u"ab", 3), u"ababab");
  EXPECT_EQ(TStrUtils::RepeatString(u"ab", 0), u"");
  EXPECT_TRUE(TStrUtils::FilePathIsHttpUrl(u"HTTPS://x"));
  EXPECT_FALSE(TStrUtils::FilePathIsHttpUrl(u"ftp://x"));
  EXPECT_TRUE(TStrUtils::FilePathIsAppRelative(u"App/Files/x"));
  EXPECT_TRUE(TStrUtils::FilePathIsPluginRelative(u"app/plugins/y"));
  const ustring random = TStrUtils::GetRandomString(50, u"ab");
  EXPECT_EQ(random.size(), 50u);
  EXPECT_EQ(random.find_first_not_of(u"ab"), ustring::npos);
  const ustring suffix = TStrUtils::GetControlRandomSuffix(u"Button");
  EXPECT_EQ(suffix.size(), 17u);
  EXPECT_EQ(suffix.substr(0, 7), u"Button-");

  int w = 0, h = 0;
  TStrUtils::StrToResolution(u"size 1024x768!", w, h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  TStrUtils::StrToResolution(u"1024X768", w, h);
  EXPECT_EQ(w, -1);
  EXPECT_EQ(h, -1);
}

TEST(StrUtils, SubStringSearchFlags) {
  EXPECT_TRUE(TStrUtils::SubStringExists(u"Hello World", u"world", soDown));
  EXPECT_FALSE(TStrUtils::SubStringExists(u"Hello World", u"world", soDown | soMatchCase));
  EXPECT_FALSE(TStrUtils::SubStringExists(u"Hello World", u"World", 0)) << "upward from the start finds nothing";
  EXPECT_FALSE(TStrUtils::SubStringExists(u"Helloworld", u"world", soDown | soWholeWord));
  EXPECT_TRUE(TStrUtils::SubStringExists(u"Hello, world.", u"world", soDown | soWholeWord));
}

TEST(StrUtils, UrlArguments) {
  std::vector<ustring> args{u"stale"};
  TStrUtils::GetUrlArguments(u"file:///app/x.html?a=1&name=J%C3%BCrgen+M&empty=#frag", args);
  EXPECT_EQ(args, (std::vector<ustring>{u"a=1", u"name=Jürgen M", u"empty="}));
  TStrUtils::GetUrlArguments(u"file:///app/x.html", args);
  EXPECT_TRUE(args.empty());
  TStrUtils::GetUrlArguments(u"x?bad=%zz&cut=%4", args);
  EXPECT_EQ(args, (std::vector<ustring>{u"bad=%zz", u"cut=%4"}));
}

TEST(StrUtils, CompilerCacheDir) {
  EXPECT_EQ(TStrUtils::GetCompilerCacheDir(u"", u"-c", u"cache", u"/tmp"), u"/tmp/cache/");
  EXPECT_EQ(TStrUtils::GetCompilerCacheDir(u"/tmp/project.vtl", u"-c", u"cache", u"/d"), u"/tmp/project-c/");
  EXPECT_EQ(TStrUtils::GetCompilerCacheDir(u"/no/such/dir/p.vtl", u"-c", u"cache", u"/d"), u"/d/p-c/");
}

}  // namespace
}  // namespace vantrel
