#include "tools/pack/app_config.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/ustring.h"
#include "shared/util/app_id.h"
#include "shared/util/mem_ini_file.h"
#include "shared/util/text_file.h"
#include "tools/pack/file_bytes.h"

namespace vantrel::pack {

namespace {
// Every key the program reads from [App].
const char16_t* const kKnownKeys[] = {
    u"ID", u"Name", u"DirName", u"IndexHtml", u"Theme", u"EdgeInstaller", u"InstallFormColor",
    u"InstallIndicatorColor", u"InstallIndicatorType", u"Password", u"AllowInstances", u"AllowDebug",
    u"AllowContextMenu", u"Width", u"Height", u"MaxWidth", u"MaxHeight", u"MinWidth", u"MinHeight",
    u"WindowStyle", u"WindowBorder", u"WindowOrder", u"SecureOrigin", u"TrustedOrigins",
};

bool IsKnownKey(const ustring& key) {
  return std::any_of(std::begin(kKnownKeys), std::end(kKnownKeys),
                     [&](const char16_t* known) { return SameTextIgnoringCase(key, known); });
}

std::string Trimmed(const ustring& text) { return Utf16ToUtf8(TrimControls(text)); }
}  // namespace

AppConfig ReadAppConfig(const std::string& iniPath) {
  AppConfig config;
  config.path = iniPath;
  config.bytes = ReadFileBytes(iniPath);
  TMemIniFile ini;
  ini.SetStrings(SplitLines(DecodeTextWithBom(config.bytes.data(), config.bytes.size())));
  config.id = Trimmed(ini.ReadString(u"App", u"ID", u""));
  config.name = Trimmed(ini.ReadString(u"App", u"Name", u""));
  config.dirName = Trimmed(ini.ReadString(u"App", u"DirName", u""));
  config.indexHtml = Utf16ToUtf8(ini.ReadString(u"App", u"IndexHtml", u"index.html"));
  config.secureOrigin = ini.ReadBool(u"App", u"SecureOrigin", false);
  for (const ustring& key : ini.KeyNames(u"App")) {
    if (!IsKnownKey(key)) config.unknownKeys.push_back(Utf16ToUtf8(key));
  }
  std::sort(config.unknownKeys.begin(), config.unknownKeys.end());
  return config;
}

void CheckAppConfig(const AppConfig& config) {
  const std::string where = "\"" + config.path + "\": ";
  for (const auto& [key, value] : {std::pair<const char*, const std::string*>{"ID", &config.id},
                                   {"Name", &config.name}, {"DirName", &config.dirName}}) {
    if (value->empty()) {
      throw EVantrelError(where + "[App] " + key + " is missing; the program would end without a word");
    }
  }
  const std::string problem = AppIdProblem(Utf8ToUtf16(config.id));
  if (!problem.empty()) throw EVantrelError(where + "[App] ID \"" + config.id + "\" cannot be used: " + problem);
}

std::vector<uint8_t> WithDirName(const AppConfig& config, const std::string& dirName) {
  std::vector<ustring> lines = SplitLines(DecodeTextWithBom(config.bytes.data(), config.bytes.size()));
  const ustring value = u"DirName=" + Utf8ToUtf16(dirName);
  bool inApp = false, replaced = false;
  size_t appHeader = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    const ustring_view line = TrimControls(lines[i]);
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      inApp = SameTextIgnoringCase(TrimControls(line.substr(1, line.size() - 2)), u"App");
      if (inApp && appHeader == lines.size()) appHeader = i;
      continue;
    }
    const size_t equals = line.find(u'=');
    if (inApp && equals != ustring_view::npos &&
        SameTextIgnoringCase(TrimRightControls(line.substr(0, equals)), u"DirName")) {
      lines[i] = value;
      replaced = true;
    }
  }
  if (!replaced) {
    if (appHeader == lines.size()) lines.push_back(u"[App]");
    lines.insert(lines.begin() + static_cast<long>(std::min(appHeader + 1, lines.size())), value);
  }
  std::string text = "\xEF\xBB\xBF";
  for (const ustring& line : lines) text += Utf16ToUtf8(line) + "\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace vantrel::pack
