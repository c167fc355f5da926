#include "shared/util/mem_ini_file.h"

#include <gtest/gtest.h>

#include "shared/util/text_file.h"

namespace vantrel {
namespace {

TMemIniFile Parse(const std::string& utf8) {
  TMemIniFile ini;
  ini.SetStrings(SplitLines(Utf8ToUtf16(utf8)));
  return ini;
}

TEST(MemIniFile, SectionsAndKeysIgnoreLetterCaseAndLastOccurrenceWins) {
  const auto ini = Parse(
      "ID=before-any-section\n"
      "[app]\n"
      "width=1024\n"
      "[Other]\n"
      "Width=1\n"
      "[APP]\n"
      "Name=First\n"
      "NAME=Second\n");
  EXPECT_EQ(ini.ReadInteger(u"App", u"Width", 800), 1024);
  EXPECT_EQ(ini.ReadString(u"App", u"Name", u""), u"Second");
  EXPECT_EQ(ini.ReadString(u"App", u"ID", u"none"), u"none");
  EXPECT_EQ(ini.ReadInteger(u"other", u"WIDTH", 0), 1);
}

TEST(MemIniFile, LinesAreTrimmedAndValuesTakenLiterally) {
  const auto ini = Parse(
      "  \t[ App ]  \r\n"
      "; a comment\r\n"
      "   ;Name=commented\r\n"
      "\tName \t=  \"My App\" = \\x  \r"
      "Url=file:///a=b\n"
      "Empty=\n"
      "NoValue\n");
  EXPECT_EQ(ini.ReadString(u"App", u"Name", u""), u"\"My App\" = \\x");
  EXPECT_EQ(ini.ReadString(u"App", u"Url", u""), u"file:///a=b");
  EXPECT_EQ(ini.ReadString(u"App", u"Empty", u"def"), u"");
  EXPECT_EQ(ini.ReadString(u"App", u"NoValue", u"def"), u"def");
  EXPECT_EQ(ini.ReadString(u"App", u";Name", u"def"), u"def");
}

TEST(MemIniFile, KeyWithoutValueReadsTheDefaultEvenAfterAValue) {
  const auto ini = Parse("[App]\nID=abc\nID\n");
  EXPECT_EQ(ini.ReadString(u"App", u"ID", u""), u"");
}

struct IntegerCase {
  const char* text;
  int32_t expected;  // with default 77
};

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ConvertsLikeTheReader) {
  const auto ini = Parse(std::string("[App]\nK=") + GetParam().text + "\n");
  EXPECT_EQ(ini.ReadInteger(u"App", u"K", 77), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniIntegerTest,
    ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"-42", -42}, IntegerCase{"+5", 5},
                      IntegerCase{"0x1A", 26}, IntegerCase{"0X1a", 26}, IntegerCase{"$1A", 26},
                      IntegerCase{"-$10", -16}, IntegerCase{"0xFF00001A", static_cast<int32_t>(0xFF00001Au)},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"2147483648", 77},
                      IntegerCase{"$100000000", 77}, IntegerCase{"0x", 77}, IntegerCase{"0", 0},
                      IntegerCase{"$", 77}, IntegerCase{"12px", 77}, IntegerCase{"true", 77},
                      IntegerCase{"", 77}, IntegerCase{"1 2", 77}, IntegerCase{"0x-5", 77}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return "case" + std::to_string(info.index); });

TEST(MemIniFile, BooleansAreNumbers) {
  const auto ini = Parse("[App]\nA=true\nB=1\nC=0\nD=-3\nE=false\n");
  EXPECT_FALSE(ini.ReadBool(u"App", u"A", false));
  EXPECT_TRUE(ini.ReadBool(u"App", u"A", true));
  EXPECT_TRUE(ini.ReadBool(u"App", u"B", false));
  EXPECT_FALSE(ini.ReadBool(u"App", u"C", true));
  EXPECT_TRUE(ini.ReadBool(u"App", u"D", false));
  EXPECT_TRUE(ini.ReadBool(u"App", u"E", true));
  EXPECT_FALSE(ini.ReadBool(u"App", u"Missing", false));
}

TEST(MemIniFile, ColoursInEitherHexFormEqualTheDefault) {
  constexpr uint32_t kHotTrack = 0xFF00001Au;
  const auto ini = Parse("[App]\nA=0xFF00001A\nB=$FF00001A\nC=255\nD=red\n");
  EXPECT_EQ(ini.ReadColor(u"App", u"A", 0), kHotTrack);
  EXPECT_EQ(ini.ReadColor(u"App", u"B", 0), kHotTrack);
  EXPECT_EQ(ini.ReadColor(u"App", u"C", 0), 0xFFu);
  EXPECT_EQ(ini.ReadColor(u"App", u"D", kHotTrack), kHotTrack);
}

TEST(TextFile, ByteOrderMarksSelectTheEncoding) {
  const std::string utf8 = "\xEF\xBB\xBF[App]\nName=Caf\xC3\xA9\n";
  const auto text8 = DecodeTextWithBom(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
  EXPECT_EQ(text8, u"[App]\nName=Café\n");

  const uint8_t le[] = {0xFF, 0xFE, 'N', 0, '=', 0, 0xE9, 0, 0xAC, 0x20};
  EXPECT_EQ(DecodeTextWithBom(le, sizeof le), u"N=é€");
  const uint8_t be[] = {0xFE, 0xFF, 0, 'N', 0, '=', 0x20, 0xAC, 0x00};
  EXPECT_EQ(DecodeTextWithBom(be, sizeof be), u"N=€");  // odd last byte dropped

  // Without a mark the same UTF-8 bytes are read as ANSI (Windows-1252 here).
  const std::string plain = "Name=Caf\xC3\xA9";
  EXPECT_EQ(DecodeTextWithBom(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), u"Name=CafÃ©");
  const uint8_t ansi[] = {'x', 0x80, 0xE9};
  EXPECT_EQ(DecodeTextWithBom(ansi, sizeof ansi), u"x€é");
}

TEST(TextFile, SplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitLines(u"a\r\nb\nc\rd"), (std::vector<ustring>{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(SplitLines(u"a\r\n\r\nb\n"), (std::vector<ustring>{u"a", u"", u"b"}));
  EXPECT_EQ(SplitLines(u"\n\r"), (std::vector<ustring>{u"", u""}));
  EXPECT_TRUE(SplitLines(u"").empty());
}

}  // namespace
}  // namespace vantrel
