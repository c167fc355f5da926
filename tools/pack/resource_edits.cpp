#include "tools/pack/resource_edits.h"

#include <sstream>
#include <utility>
#include <vector>

namespace vantrel::pack {


void ValidateVersionTexts(const TExeVersionTexts& texts) {
  for (const auto& [key, field] : VersionTextFields()) {
    const ustring& text = texts.*field;
    const std::string name = Utf16ToUtf8(key);
    const size_t capacity = name == "FileVersion" || name == "ProductVersion" ? 7 : 255;
    if (text.size() > capacity)
      throw EVantrelError(name + " is longer than " + std::to_string(capacity) + " characters: \"" + Utf16ToUtf8(text) +
                          "\"");
    if (text.find_first_of(u"\r\n") != ustring::npos) throw EVantrelError(name + " holds a line break");
  }
}

std::string SerializeResourceEdits(const ResourceEdits& edits) {
  std::string text;
  if (!edits.iconPath.empty()) text += "Icon=" + edits.iconPath + "\n";
  if (edits.version)
    for (const auto& [key, field] : VersionTextFields())
      text += Utf16ToUtf8(key) + "=" + Utf16ToUtf8((*edits.version).*field) + "\n";
  return text;
}

ResourceEdits ParseResourceEdits(const std::string& text) {
  ResourceEdits edits;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "Icon") {
      edits.iconPath = value;
      continue;
    }
    for (const auto& [name, field] : VersionTextFields()) {
      if (key != Utf16ToUtf8(name)) continue;
      if (!edits.version) edits.version.emplace();
      (*edits.version).*field = Utf8ToUtf16(value);
    }
  }
  return edits;
}

}  // namespace vantrel::pack
