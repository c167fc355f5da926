#pragma once
// An INI file held in memory: sections and keys compared without regard to
// letter case, the last occurrence of a key winning. Never written back.
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

class TMemIniFile {
 public:
  // Replaces the whole content with the sections and keys of these lines.
  void SetStrings(const std::vector<ustring>& lines);
  void Clear() { sections_.clear(); }

  ustring ReadString(ustring_view section, ustring_view key, const ustring& defaultValue) const;
  // "0x"/"0X" + hex (longer than two characters), decimal, or "$" + hex;
  // 32-bit signed (hex wraps); anything else gives the default.
  int32_t ReadInteger(ustring_view section, ustring_view key, int32_t defaultValue) const;
  // An integer: 0 is false, any other number true.
  bool ReadBool(ustring_view section, ustring_view key, bool defaultValue) const;
  // An integer taken as a 32-bit colour: 0x00BBGGRR, or 0xFF000000 plus a
  // system-colour index.
  uint32_t ReadColor(ustring_view section, ustring_view key, uint32_t defaultValue) const;

  bool SectionExists(ustring_view section) const;
  // The keys of a section as first written, in no particular order.
  std::vector<ustring> KeyNames(ustring_view section) const;

 private:
  // A key listed without "=" is present but has no value.
  struct Key {
    ustring name;  // as first written
    std::optional<ustring> value;
  };
  using Section = std::unordered_map<ustring, Key>;
  const std::optional<ustring>* Find(ustring_view section, ustring_view key) const;

  std::unordered_map<ustring, Section> sections_;  // folded names
};

// Integer text as the readers understand it; empty when invalid.
std::optional<int32_t> ParseIniInteger(ustring_view text);

}  // namespace vantrel
