#include "shared/util/command_line.h"

namespace vantrel {

ustring QuoteCommandLineArgument(ustring_view argument) {
  ustring out = u"\"";
  size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    out.push_back(c);
  }
  // Backslashes before the closing quote are doubled.
  out.append(backslashes * 2, u'\\');
  out.push_back(u'"');
  return out;
}

}  // namespace vantrel
