#include "runtime/main_window_config.h"

#include <gtest/gtest.h>

#include "shared/util/mem_ini_file.h"

namespace vantrel {
namespace {

TMainWindowConfig ConfigOf(std::vector<ustring> lines) {
  lines.insert(lines.begin(), u"[App]");
  TMemIniFile ini;
  ini.SetStrings(lines);
  return ReadMainWindowConfig(ini);
}

TEST(MainWindowConfig, DefaultsWithoutKeys) {
  const auto config = ConfigOf({});
  EXPECT_EQ(config.Width, 800);
  EXPECT_EQ(config.Height, 600);
  EXPECT_EQ(config.Constraints.MaxWidth(), 0);
  EXPECT_EQ(config.Constraints.MinHeight(), 0);
  EXPECT_FALSE(config.FullScreen);
  EXPECT_EQ(config.BorderStyle, TFormBorderStyle::Sizeable);
  EXPECT_FALSE(config.StayOnTop);
  EXPECT_FALSE(config.AllowDebug);
  EXPECT_FALSE(config.AllowContextMenu);
}

TEST(MainWindowConfig, KeysAndOutOfRangeValues) {
  struct Case {
    std::vector<ustring> lines;
    int width, height;
    TFormBorderStyle border;
    bool fullScreen, onTop;
  } cases[] = {
      {{u"Width=1024", u"Height=700", u"WindowBorder=1", u"WindowOrder=1"}, 1024, 700, TFormBorderStyle::Single,
       false, true},
      {{u"WindowStyle=1", u"WindowBorder=0"}, 800, 600, TFormBorderStyle::None, true, false},
      {{u"WindowStyle=2", u"WindowBorder=5", u"WindowOrder=2"}, 800, 600, TFormBorderStyle::SizeToolWin, false,
       false},
      {{u"Width=-5", u"Height=-1", u"WindowBorder=6"}, 800, 600, TFormBorderStyle::Sizeable, false, false},
      {{u"WindowBorder=-1"}, 800, 600, TFormBorderStyle::Sizeable, false, false},
      {{u"Width=abc", u"WindowBorder=x"}, 800, 600, TFormBorderStyle::Sizeable, false, false},
  };
  for (const auto& c : cases) {
    const auto config = ConfigOf(c.lines);
    EXPECT_EQ(config.Width, c.width);
    EXPECT_EQ(config.Height, c.height);
    EXPECT_EQ(config.BorderStyle, c.border);
    EXPECT_EQ(config.FullScreen, c.fullScreen);
    EXPECT_EQ(config.StayOnTop, c.onTop);
  }
}

TEST(MainWindowConfig, LimitsAdjustEachOtherInTheirOrder) {
  struct Case {
    std::vector<ustring> lines;
    int maxWidth, minWidth, maxHeight, minHeight;
  } cases[] = {
      {{u"MaxWidth=1000", u"MinWidth=400"}, 1000, 400, 0, 0},
      // The minimum is set after the maximum and raises it.
      {{u"MaxWidth=300", u"MinWidth=400"}, 400, 400, 0, 0},
      {{u"MaxHeight=200", u"MinHeight=500"}, 0, 0, 500, 500},
      {{u"MinWidth=-3", u"MaxHeight=-9"}, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const auto limits = ConfigOf(c.lines).Constraints;
    EXPECT_EQ(limits.MaxWidth(), c.maxWidth);
    EXPECT_EQ(limits.MinWidth(), c.minWidth);
    EXPECT_EQ(limits.MaxHeight(), c.maxHeight);
    EXPECT_EQ(limits.MinHeight(), c.minHeight);
  }
  TSizeConstraints limits;
  limits.SetMinWidth(500);
  limits.SetMaxWidth(300);  // a maximum below the minimum lowers it
  EXPECT_EQ(limits.MinWidth(), 300);
  EXPECT_EQ(limits.ClampWidth(1000), 300);
  EXPECT_EQ(limits.ClampWidth(100), 300);
  TSizeConstraints open;
  EXPECT_EQ(open.ClampWidth(5000), 5000);
}

TEST(MainWindowConfig, StartPage) {
  const ustring id = u"com.vantrel.demo";
  struct Case {
    std::vector<ustring> arguments;
    ustring index, page;
  } cases[] = {
      {{}, u"index.html", u"file:///index.html"},
      {{}, u"sub/start.html", u"file:///sub/start.html"},
      {{id, u"file:///page2.html"}, u"index.html", u"file:///page2.html"},
      {{u"COM.vantrel.demo", u"file:///page2.html"}, u"index.html", u"file:///index.html"},
      {{id}, u"index.html", u"file:///index.html"},
      {{id, u"file:///page2.html", u"x"}, u"index.html", u"file:///index.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(MainWindowStartPage(c.arguments, id, c.index), c.page);
}

}  // namespace
}  // namespace vantrel
