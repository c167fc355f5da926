#include "shared/util/mem_ini_file.h"

#include "shared/util/text_file.h"

namespace vantrel {

void TMemIniFile::SetStrings(const std::vector<ustring>& lines) {
  sections_.clear();
  Section* current = nullptr;  // lines before the first section are ignored
  for (const ustring& raw : lines) {
    const ustring_view line = TrimControls(raw);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
      current = &sections_[FoldCase(TrimControls(line.substr(1, line.size() - 2)))];
      continue;
    }
    if (!current) continue;
    const size_t equals = line.find(u'=');
    const ustring_view name = equals == ustring_view::npos ? line : TrimRightControls(line.substr(0, equals));
    Key& key = (*current)[FoldCase(name)];
    if (key.name.empty()) key.name = ustring(name);
    if (equals == ustring_view::npos) {
      key.value = std::nullopt;
    } else {
      key.value = ustring(TrimLeftControls(line.substr(equals + 1)));
    }
  }
}

const std::optional<ustring>* TMemIniFile::Find(ustring_view section, ustring_view key) const {
  const auto s = sections_.find(FoldCase(section));
  if (s == sections_.end()) return nullptr;
  const auto k = s->second.find(FoldCase(key));
  return k == s->second.end() ? nullptr : &k->second.value;
}

std::vector<ustring> TMemIniFile::KeyNames(ustring_view section) const {
  std::vector<ustring> names;
  const auto s = sections_.find(FoldCase(section));
  if (s == sections_.end()) return names;
  for (const auto& entry : s->second) names.push_back(entry.second.name);
  return names;
}

bool TMemIniFile::SectionExists(ustring_view section) const {
  return sections_.count(FoldCase(section)) != 0;
}

ustring TMemIniFile::ReadString(ustring_view section, ustring_view key, const ustring& defaultValue) const {
  const auto* value = Find(section, key);
  return value && *value ? **value : defaultValue;
}

int32_t TMemIniFile::ReadInteger(ustring_view section, ustring_view key, int32_t defaultValue) const {
  const auto* value = Find(section, key);
  if (!value || !*value) return defaultValue;
  return ParseIniInteger(**value).value_or(defaultValue);
}

bool TMemIniFile::ReadBool(ustring_view section, ustring_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

uint32_t TMemIniFile::ReadColor(ustring_view section, ustring_view key, uint32_t defaultValue) const {
  return static_cast<uint32_t>(ReadInteger(section, key, static_cast<int32_t>(defaultValue)));
}

std::optional<int32_t> ParseIniInteger(ustring_view text) {
  size_t i = 0;
  bool negative = false;
  bool hex = false;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    hex = true;
    i = 2;
  } else {
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    if (i < text.size() && text[i] == u'$') {
      hex = true;
      ++i;
    }
  }
  if (i >= text.size()) return std::nullopt;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (hex && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (hex && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    // Hexadecimal text fills all 32 bits: $FFFFFFFF is -1.
    const auto bits = static_cast<uint32_t>(value);
    const auto result = static_cast<int32_t>(bits);
    return negative ? static_cast<int32_t>(0u - bits) : result;
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace vantrel
