#include "shared/util/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

// Splits a command line the way CommandLineToArgvW reads arguments after the
// program name, to prove that each quoted argument comes back whole.
std::vector<ustring> ParseArguments(const ustring& line) {
  std::vector<ustring> args;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i >= line.size()) break;
    ustring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t'))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        arg.append(backslashes / 2, u'\\');
        if (backslashes % 2) {
          arg.push_back(u'"');
        } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg.push_back(u'"');
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(backslashes, u'\\');
        if (i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t'))) arg.push_back(line[i++]);
      }
    }
    args.push_back(arg);
  }
  return args;
}

TEST(QuoteCommandLineArgument, EveryArgumentSurvivesAsOne) {
  const ustring cases[] = {
      u"file:///app/index.html",
      u"",
      u"with space",
      u"file:///a\" --evil \"b",
      u"trailing\\",
      u"C:\\path with\\ spaces\\",
      u"\\\"",
      u"a\\\\\"b",
      u"\"\"",
  };
  for (const ustring& arg : cases) {
    const ustring line = u"com.example " + QuoteCommandLineArgument(arg);
    const auto parsed = ParseArguments(line);
    ASSERT_EQ(parsed.size(), 2u) << Utf16ToUtf8(line);
    EXPECT_EQ(parsed[1], arg) << Utf16ToUtf8(line);
  }
  EXPECT_EQ(QuoteCommandLineArgument(u"file:///x.html"), u"\"file:///x.html\"");
}

}  // namespace
}  // namespace vantrel
