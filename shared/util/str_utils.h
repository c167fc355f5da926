#pragma once
// Text operations shared by the bridge, the resource server and the tools.
// Stateless: every member is a class function.
#include <cstdint>
#include <vector>

#include "platform/ustring.h"
#ifdef _WIN32
#include <oaidl.h>
#endif

namespace vantrel {

using TArrayStrings = std::vector<ustring>;

enum TStringSearchOption : unsigned { soDown = 1u << 0, soMatchCase = 1u << 1, soWholeWord = 1u << 2 };
using TStringSearchOptions = unsigned;

class TStrUtils {
 public:
  TStrUtils() = delete;

  // The JSON string literal of `value` (see the escaping rules in the .cpp).
  static ustring StringToJsonString(ustring_view value);
  static ustring GetFileMIMEType(const ustring& FileName);
  static TArrayStrings ExplodeStrings(ustring_view Separator, ustring_view Value);
  static ustring ImplodeStrings(ustring_view Separator, const TArrayStrings& ArrayString);
  static ustring GetJavascriptArrayFromMultilineString(ustring_view Value);
  static ustring QuoteJavascript(ustring_view Value);
  static ustring UnquoteJavascript(ustring_view Value);
  static ustring QuoteArguments(ustring_view Value);
  static ustring UnquoteArguments(ustring_view Value);
  static ustring Capitalize(ustring_view Value);
  static ustring GetRandomString(int ALength, ustring_view ACharSequence);
  static ustring GetControlRandomSuffix(ustring_view Name);
  static ustring GetCompilerCacheDir(const ustring& AppFilePath, const ustring& Suffix, const ustring& TempCache,
                                     const ustring& DefaultDir);
  static void GetUrlArguments(ustring_view URL, std::vector<ustring>& Arguments);
  static bool SubStringExists(ustring_view AString, ustring_view ASubString, TStringSearchOptions ASearchOptions);
  static ustring AddLeadingZeroes(int Number, int Length);
  static void StrToResolution(ustring_view Value, int& Width, int& Height);
  static ustring RepeatString(ustring_view Value, uint32_t Count);
  static bool FilePathIsHttpUrl(ustring_view Path);
  static bool FilePathIsAppRelative(ustring_view Path);
  static bool FilePathIsPluginRelative(ustring_view Path);
#ifdef _WIN32
  // The text of a string, number or date variant; empty for any other kind.
  static ustring OleVarToStr(const VARIANT& Value);
#endif
};

// "%XX" escapes as bytes, the result read as UTF-8 (invalid sequences become
// U+FFFD); a "%" not followed by two hex digits stays as it is.
ustring PercentDecodeUtf8(ustring_view text);

// Replaces every occurrence of `from` (non-empty) by `to`.
ustring ReplaceAll(ustring_view text, ustring_view from, ustring_view to);

}  // namespace vantrel
