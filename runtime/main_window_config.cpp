#include "runtime/main_window_config.h"

#include "shared/hosting/app_origin.h"

#include <vector>

#include "runtime/startup_values.h"
#include "shared/util/mem_ini_file.h"

namespace vantrel {

void TSizeConstraints::SetMaxWidth(int value) {
  FMaxWidth = value;
  if (value > 0 && value < FMinWidth) FMinWidth = value;
}
void TSizeConstraints::SetMaxHeight(int value) {
  FMaxHeight = value;
  if (value > 0 && value < FMinHeight) FMinHeight = value;
}
void TSizeConstraints::SetMinWidth(int value) {
  FMinWidth = value;
  if (FMaxWidth > 0 && value > FMaxWidth) FMaxWidth = value;
}
void TSizeConstraints::SetMinHeight(int value) {
  FMinHeight = value;
  if (FMaxHeight > 0 && value > FMaxHeight) FMaxHeight = value;
}

int TSizeConstraints::Clamp(int value, int minimum, int maximum) {
  if (minimum > 0 && value < minimum) value = minimum;
  if (maximum > 0 && value > maximum) value = maximum;
  return value;
}

TMainWindowConfig ReadMainWindowConfig(const TMemIniFile& ini) {
  const auto size = [&](const char16_t* key, int defaultValue) {
    const int value = ini.ReadInteger(kAppSection, key, defaultValue);
    return value < 0 ? defaultValue : value;
  };
  TMainWindowConfig config;
  config.AllowDebug = ini.ReadBool(kAppSection, u"AllowDebug", false);
  config.AllowContextMenu = ini.ReadBool(kAppSection, u"AllowContextMenu", false);
  config.Width = size(u"Width", 800);
  config.Height = size(u"Height", 600);
  config.Constraints.SetMaxWidth(size(u"MaxWidth", 0));
  config.Constraints.SetMaxHeight(size(u"MaxHeight", 0));
  config.Constraints.SetMinWidth(size(u"MinWidth", 0));
  config.Constraints.SetMinHeight(size(u"MinHeight", 0));
  config.FullScreen = ini.ReadInteger(kAppSection, u"WindowStyle", 0) == 1;
  config.BorderStyle = BorderStyleFromConfig(ini.ReadInteger(kAppSection, u"WindowBorder", 2));
  config.StayOnTop = ini.ReadInteger(kAppSection, u"WindowOrder", 0) == 1;
  return config;
}

ustring MainWindowStartPage(const std::vector<ustring>& arguments, const ustring& appId, const ustring& indexHtml,
                            bool secureOrigin) {
  if (arguments.size() == 2 && arguments[0] == appId) return arguments[1];
  return (secureOrigin ? ustring(kSecureAppOrigin) + u"/" : ustring(u"file:///")) + indexHtml;
}

}  // namespace vantrel
