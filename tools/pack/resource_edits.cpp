#include "tools/pack/resource_edits.h"

#include <sstream>
#include <utility>
#include <vector>

namespace vantrel::pack {

namespace {
// The texts by their key names, in the order of the version string table.
std::vector<std::pair<const char*, ustring TExeVersionTexts::*>> VersionFields() {
  return {{"CompanyName", &TExeVersionTexts::CompanyName},
          {"FileDescription", &TExeVersionTexts::FileDescription},
          {"FileVersion", &TExeVersionTexts::FileVersion},
          {"InternalName", &TExeVersionTexts::InternalName},
          {"LegalCopyright", &TExeVersionTexts::LegalCopyright},
          {"LegalTrademarks", &TExeVersionTexts::LegalTrademarks},
          {"OriginalFileName", &TExeVersionTexts::OriginalFileName},
          {"ProgramID", &TExeVersionTexts::ProgramID},
          {"ProductName", &TExeVersionTexts::ProductName},
          {"ProductVersion", &TExeVersionTexts::ProductVersion},
          {"Comments", &TExeVersionTexts::Comments}};
}
}  // namespace

void ValidateVersionTexts(const TExeVersionTexts& texts) {
  for (const auto& [key, field] : VersionFields()) {
    const ustring& text = texts.*field;
    const std::string name(key);
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
    for (const auto& [key, field] : VersionFields()) text += std::string(key) + "=" + Utf16ToUtf8((*edits.version).*field) + "\n";
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
    for (const auto& [name, field] : VersionFields()) {
      if (key != name) continue;
      if (!edits.version) edits.version.emplace();
      (*edits.version).*field = Utf8ToUtf16(value);
    }
  }
  return edits;
}

}  // namespace vantrel::pack
