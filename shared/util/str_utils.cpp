#include "shared/util/str_utils.h"

#include <cstdio>
#include <random>
#include <regex>

#include "platform/binary_file.h"
#include "shared/hosting/mime_table.h"
#include "shared/util/text_file.h"

namespace vantrel {

namespace {
bool StartsWithLower(ustring_view path, ustring_view prefix) {
  return path.size() >= prefix.size() && FoldCase(path.substr(0, prefix.size())) == prefix;
}

bool IsWordCharacter(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0xC0;
}

ustring FileNameOf(const ustring& path) {
  const size_t cut = path.find_last_of(u"\\/:");
  return cut == ustring::npos ? path : path.substr(cut + 1);
}

ustring FolderOf(const ustring& path) {
  const size_t cut = path.find_last_of(u"\\/:");
  return cut == ustring::npos ? ustring() : path.substr(0, cut + 1);
}

ustring WithSeparator(const ustring& path) {
#ifdef _WIN32
  constexpr char16_t kSeparator = u'\\';
#else
  constexpr char16_t kSeparator = u'/';
#endif
  return !path.empty() && (path.back() == u'\\' || path.back() == u'/') ? path : path + kSeparator;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

ustring PercentDecodeUtf8(ustring_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    bytes += Utf16ToUtf8(text.substr(i, 1));
  }
  return Utf8ToUtf16(bytes);
}


ustring ReplaceAll(ustring_view text, ustring_view from, ustring_view to) {
  ustring out;
  size_t start = 0;
  for (size_t at; (at = text.find(from, start)) != ustring_view::npos; start = at + from.size()) {
    out.append(text.substr(start, at - start));
    out.append(to);
  }
  out.append(text.substr(start));
  return out;
}

// Quotation mark, backslash and slash escaped; \b \t \n \f \r; other code
// units below U+0020 and every unit from U+20AC on as \u with upper-case hex.
ustring TStrUtils::StringToJsonString(ustring_view value) {
  ustring out;
  out.reserve(value.size() + 2);
  out.push_back(u'"');
  for (const char16_t c : value) {
    switch (c) {
      case u'"': out += u"\\\""; break;
      case u'\\': out += u"\\\\"; break;
      case u'/': out += u"\\/"; break;
      case 0x08: out += u"\\b"; break;
      case 0x09: out += u"\\t"; break;
      case 0x0A: out += u"\\n"; break;
      case 0x0C: out += u"\\f"; break;
      case 0x0D: out += u"\\r"; break;
      default:
        if (c < 0x20 || c >= 0x20AC) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
          out += U(escape);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back(u'"');
  return out;
}

ustring TStrUtils::GetFileMIMEType(const ustring& FileName) {
  // The table is cached and rebuilt when the system's registrations change,
  // so a lookup does not walk the registry each time.
  static TMimeTypeCache cache;
  return cache.GetFileMIMEType(FileName);
}

TArrayStrings TStrUtils::ExplodeStrings(ustring_view Separator, ustring_view Value) {
  TArrayStrings parts;
  if (Separator.empty()) return {ustring(Value)};
  size_t start = 0;
  for (size_t at; (at = Value.find(Separator, start)) != ustring_view::npos; start = at + Separator.size()) {
    parts.emplace_back(Value.substr(start, at - start));
  }
  parts.emplace_back(Value.substr(start));
  return parts;
}

ustring TStrUtils::ImplodeStrings(ustring_view Separator, const TArrayStrings& ArrayString) {
  ustring out;
  for (size_t i = 0; i < ArrayString.size(); ++i) {
    if (i) out.append(Separator);
    out += ArrayString[i];
  }
  return out;
}

ustring TStrUtils::GetJavascriptArrayFromMultilineString(ustring_view Value) {
  TArrayStrings items;
  for (const ustring& line : ExplodeStrings(u"\n", Value)) {
    if (line.empty()) continue;
    items.push_back(u"\"" + QuoteJavascript(TrimControls(line)) + u"\"");
  }
  return ImplodeStrings(u", ", items);
}

ustring TStrUtils::QuoteJavascript(ustring_view Value) {
  return ReplaceAll(ReplaceAll(Value, u"'", u"\\x27"), u"\"", u"\\x22");
}

ustring TStrUtils::UnquoteJavascript(ustring_view Value) {
  return ReplaceAll(ReplaceAll(Value, u"\\x27", u"'"), u"\\x22", u"\"");
}

ustring TStrUtils::QuoteArguments(ustring_view Value) {
  return ReplaceAll(ReplaceAll(QuoteJavascript(Value), u":", u"\\x3a"), u"|", u"\\x7c");
}

ustring TStrUtils::UnquoteArguments(ustring_view Value) {
  return ReplaceAll(ReplaceAll(UnquoteJavascript(Value), u"\\x3a", u":"), u"\\x7c", u"|");
}

ustring TStrUtils::Capitalize(ustring_view Value) {
  ustring out(Value);
  if (!out.empty() && out[0] >= u'a' && out[0] <= u'z') out[0] = static_cast<char16_t>(out[0] - 32);
  return out;
}

ustring TStrUtils::GetRandomString(int ALength, ustring_view ACharSequence) {
  static std::mt19937 generator{std::random_device{}()};
  ustring out;
  if (ACharSequence.empty()) return out;
  std::uniform_int_distribution<size_t> pick(0, ACharSequence.size() - 1);
  for (int i = 0; i < ALength; ++i) out.push_back(ACharSequence[pick(generator)]);
  return out;
}

ustring TStrUtils::GetControlRandomSuffix(ustring_view Name) {
  return ustring(Name) + u"-" + GetRandomString(10, u"abcdefghijklmnopqrstuvwxyz1234567890");
}

ustring TStrUtils::GetCompilerCacheDir(const ustring& AppFilePath, const ustring& Suffix, const ustring& TempCache,
                                       const ustring& DefaultDir) {
  if (AppFilePath.empty()) return WithSeparator(WithSeparator(DefaultDir) + TempCache);
  ustring name = FileNameOf(AppFilePath);
  const size_t dot = name.rfind(u'.');
  if (dot != ustring::npos) name.resize(dot);
  const ustring folder = FolderOf(AppFilePath);
  const ustring base = !folder.empty() && DirectoryExists(folder) ? folder : DefaultDir;
  return WithSeparator(WithSeparator(base) + name + Suffix);
}

void TStrUtils::GetUrlArguments(ustring_view URL, std::vector<ustring>& Arguments) {
  Arguments.clear();
  const size_t question = URL.find(u'?');
  if (question == ustring_view::npos) return;
  ustring_view query = URL.substr(question + 1);
  const size_t hash = query.find(u'#');
  if (hash != ustring_view::npos) query = query.substr(0, hash);
  if (query.empty()) return;
  for (const ustring& item : ExplodeStrings(u"&", query)) {
    Arguments.push_back(PercentDecodeUtf8(ReplaceAll(item, u"+", u" ")));
  }
}

bool TStrUtils::SubStringExists(ustring_view AString, ustring_view ASubString, TStringSearchOptions ASearchOptions) {
  if (!(ASearchOptions & soDown) || ASubString.empty() || ASubString.size() > AString.size()) return false;
  const bool matchCase = ASearchOptions & soMatchCase;
  const ustring text = matchCase ? ustring(AString) : FoldCase(AString);
  const ustring needle = matchCase ? ustring(ASubString) : FoldCase(ASubString);
  for (size_t at = text.find(needle); at != ustring::npos; at = text.find(needle, at + 1)) {
    if (!(ASearchOptions & soWholeWord)) return true;
    const bool startOk = at == 0 || !IsWordCharacter(text[at - 1]);
    const size_t end = at + needle.size();
    const bool endOk = end == text.size() || !IsWordCharacter(text[end]);
    if (startOk && endOk) return true;
  }
  return false;
}

ustring TStrUtils::AddLeadingZeroes(int Number, int Length) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*d", Length, Number);
  return U(text);
}

void TStrUtils::StrToResolution(ustring_view Value, int& Width, int& Height) {
  Width = -1;
  Height = -1;
  static const std::regex pattern("([0-9]+)x([0-9]+)");
  const std::string text = Utf16ToUtf8(Value);
  std::smatch match;
  if (!std::regex_search(text, match, pattern)) return;
  try {
    Width = std::stoi(match[1].str());
    Height = std::stoi(match[2].str());
  } catch (const std::exception&) {  // out of range
    Width = -1;
    Height = -1;
  }
}

ustring TStrUtils::RepeatString(ustring_view Value, uint32_t Count) {
  ustring out;
  out.reserve(Value.size() * Count);
  for (uint32_t i = 0; i < Count; ++i) out.append(Value);
  return out;
}

bool TStrUtils::FilePathIsHttpUrl(ustring_view Path) {
  return StartsWithLower(Path, u"http://") || StartsWithLower(Path, u"https://");
}
bool TStrUtils::FilePathIsAppRelative(ustring_view Path) { return StartsWithLower(Path, u"app/files/"); }
bool TStrUtils::FilePathIsPluginRelative(ustring_view Path) { return StartsWithLower(Path, u"app/plugins/"); }

}  // namespace vantrel
