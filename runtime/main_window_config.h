#pragma once
// What the main window takes from the [App] section: size, size limits,
// style, border and order, with values outside their ranges made safe.
#include "platform/ustring.h"
#include "shared/bridge/bridge_platform.h"

namespace vantrel {

class TMemIniFile;

// Size limits; 0 means no limit. A maximum below the minimum lowers the
// minimum; a minimum above the maximum raises the maximum.
class TSizeConstraints {
 public:
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  void SetMaxWidth(int value);
  void SetMaxHeight(int value);
  void SetMinWidth(int value);
  void SetMinHeight(int value);
  // A size within the limits (the maximum wins over the minimum).
  int ClampWidth(int width) const { return Clamp(width, FMinWidth, FMaxWidth); }
  int ClampHeight(int height) const { return Clamp(height, FMinHeight, FMaxHeight); }

 private:
  static int Clamp(int value, int minimum, int maximum);
  int FMaxWidth = 0, FMaxHeight = 0, FMinWidth = 0, FMinHeight = 0;
};

struct TMainWindowConfig {
  int Width = 800;
  int Height = 600;
  TSizeConstraints Constraints;
  bool FullScreen = false;  // WindowStyle 1
  TFormBorderStyle BorderStyle = TFormBorderStyle::Sizeable;
  bool StayOnTop = false;  // WindowOrder 1
  bool AllowDebug = false;
  bool AllowContextMenu = false;
};

// Negative sizes and limits count as their defaults; a border outside 0..5
// counts as sizeable.
TMainWindowConfig ReadMainWindowConfig(const TMemIniFile& ini);

// The start page: the address given after the identifier when the process
// was started with exactly those two arguments, else file:///<index page>
// (https://app.localhost/<index page> when the app lives at its secure origin).
ustring MainWindowStartPage(const std::vector<ustring>& arguments, const ustring& appId, const ustring& indexHtml,
                            bool secureOrigin = false);

}  // namespace vantrel
