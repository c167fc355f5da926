#include "runtime/exe_zip_loader.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "shared/edge/edge_loader_path.h"
#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

struct ShownDialog {
  ustring msg;
  TMsgDlgType type;
  TMsgDlgButtons buttons;
  std::vector<ustring> captions;
  ustring title;
};

// Records what start-up asks of the system.
class FakeStartupHost : public IStartupHost {
 public:
  std::vector<ustring> args;
  ustring language = u"en";
  bool mutexExists = false;
  bool passwordAccepted = true;

  std::vector<ShownDialog> dialogs;
  std::vector<std::string> applicationErrors;
  std::vector<ustring> folders, styles, mutexes, activated;
  std::vector<std::pair<ustring, ustring>> passwordPrompts;
  int provisioned = 0, windows = 0;

  std::vector<ustring> CommandLineArgs() const override { return args; }
  ustring UserLanguageCode() const override { return language; }
  int MessageDlg(const ustring& msg, TMsgDlgType type, TMsgDlgButtons buttons, const std::vector<ustring>& captions,
                 const ustring& title) override {
    dialogs.push_back({msg, type, buttons, captions, title});
    return kModalResultYes;
  }
  void ShowApplicationError(const std::string& message) override { applicationErrors.push_back(message); }
  ustring LocalAppDataDirPath() const override { return u"C:\\Users\\u\\AppData\\Local\\"; }
  void ForceDirectories(const ustring& path) override { folders.push_back(path); }
  void SelectStyle(const ustring& name) override { styles.push_back(name); }
  void ProvisionBrowserRuntime(TStartupValues&) override { ++provisioned; }
  bool PasswordGate(const ustring& caption, const ustring& password) override {
    passwordPrompts.emplace_back(caption, password);
    return passwordAccepted;
  }
  bool CreateInstanceMutex(const ustring& name) override {
    mutexes.push_back(name);
    return mutexExists;
  }
  void ActivateRunningInstance(const ustring& appId) override { activated.push_back(appId); }
  void RunMainWindow(TStartupValues&) override { ++windows; }
};

class ExeZipLoaderTest : public ::testing::Test {
 protected:
  int Run(const std::string& ini) {
    std::map<std::string, std::string> entries{{"app/index.html", "<html></html>"}};
    if (!ini.empty()) entries["vtl.ini"] = ini;
    return RunWith(test::MakePackage(entries, kPackagePassword));
  }
  int RunWith(const std::vector<uint8_t>& package) {
    program_ = std::make_unique<test::FakeProgramImage>(test::MakeProgramFile(dir_, package), 4096);
    values_ = TStartupValues{};
    return RunProgram(host_, *program_, values_);
  }

  test::TempDir dir_;
  FakeStartupHost host_;
  std::unique_ptr<test::FakeProgramImage> program_;
  TStartupValues values_;
};

const std::string kValidIni = "[App]\r\nID=com.example.demo\r\nName=Demo\r\nDirName=app\r\n";

TEST_F(ExeZipLoaderTest, ValidPackageReachesTheMainWindowWithItsValues) {
  EXPECT_EQ(Run(kValidIni), 0);
  EXPECT_EQ(host_.windows, 1);
  EXPECT_EQ(host_.provisioned, 1);
  EXPECT_TRUE(host_.dialogs.empty());
  EXPECT_EQ(values_.AppID, u"com.example.demo");
  EXPECT_EQ(values_.AppIndexHtml, u"index.html");
  EXPECT_EQ(values_.AppDataDirPath, u"C:\\Users\\u\\AppData\\Local\\com.example.demo\\");
  EXPECT_EQ(values_.WebView2DirPath, u"C:\\Users\\u\\AppData\\Local\\com.example.demo\\Win64\\");
  EXPECT_EQ(EdgeLoaderPath, u"C:\\Users\\u\\AppData\\Local\\com.example.demo\\Win64\\WebView2LoaderWin64.dll");
  EXPECT_EQ(host_.folders, (std::vector<ustring>{values_.AppDataDirPath, values_.WebView2DirPath}));
  EXPECT_EQ(host_.mutexes, std::vector<ustring>{u"com.example.demo"});
  EXPECT_TRUE(host_.styles.empty());
  TMemoryStream page;
  EXPECT_TRUE(values_.ExeZip->Extract(std::string("APP/INDEX.HTML"), page));
}

TEST_F(ExeZipLoaderTest, NoPackageShowsMessageFiveInTheUsersLanguage) {
  host_.language = u"es";
  EXPECT_EQ(RunWith({}), 0);
  ASSERT_EQ(host_.dialogs.size(), 1u);
  const ShownDialog& d = host_.dialogs[0];
  EXPECT_EQ(d.msg, u"Esta no es una aplicación de Windows válida.");
  EXPECT_EQ(d.type, TMsgDlgType::Error);
  EXPECT_EQ(d.buttons, mbYes);
  EXPECT_EQ(d.captions, std::vector<ustring>{u"Aceptar"});
  EXPECT_EQ(d.title, u"Error");
  EXPECT_EQ(host_.windows, 0);
}

TEST_F(ExeZipLoaderTest, MissingIdentityKeysEndQuietly) {
  for (const std::string& ini : {std::string(), std::string("[App]\nName=Demo\nDirName=app\n"),
                                 std::string("[App]\nID=\nName=Demo\nDirName=app\n"),
                                 std::string("[App]\nID\nName=Demo\nDirName=app\n"),
                                 std::string("[App]\nID=x\nDirName=app\n"), std::string("[App]\nID=x\nName=y\n")}) {
    host_ = FakeStartupHost{};
    EXPECT_EQ(Run(ini), 0);
    EXPECT_TRUE(host_.dialogs.empty());
    EXPECT_TRUE(host_.folders.empty());
    EXPECT_EQ(host_.windows, 0);
  }
}

TEST_F(ExeZipLoaderTest, DamagedPackageIsAnApplicationErrorWithExitCodeOne) {
  EXPECT_EQ(RunWith(std::vector<uint8_t>(5000, 0x42)), 1);
  ASSERT_EQ(host_.applicationErrors.size(), 1u);
  EXPECT_NE(host_.applicationErrors[0].find("not a readable ZIP archive"), std::string::npos);
  EXPECT_EQ(host_.windows, 0);

  host_ = FakeStartupHost{};
  auto truncated = test::MakePackage({{"vtl.ini", kValidIni}}, kPackagePassword);
  truncated.resize(truncated.size() / 2);
  EXPECT_EQ(RunWith(truncated), 1);
  EXPECT_EQ(host_.applicationErrors.size(), 1u);
}

TEST_F(ExeZipLoaderTest, WrongPasswordPackageIsAnApplicationError) {
  EXPECT_EQ(RunWith(test::MakePackage({{"vtl.ini", kValidIni}}, "other")), 1);
  EXPECT_EQ(host_.applicationErrors.size(), 1u);
}

TEST_F(ExeZipLoaderTest, ThemeOtherThanWindowsGoesToTheStyleManagerUnchanged) {
  EXPECT_EQ(Run(kValidIni + "Theme=Windows\r\n"), 0);
  EXPECT_TRUE(host_.styles.empty());
  EXPECT_EQ(Run(kValidIni + "Theme=windows\r\n"), 0);
  EXPECT_EQ(host_.styles, std::vector<ustring>{u"windows"});
}

TEST_F(ExeZipLoaderTest, PasswordGateRunsWithTheNameAsCaption) {
  host_.passwordAccepted = false;
  EXPECT_EQ(Run(kValidIni + "Password=s3cret\r\n"), 0);
  EXPECT_EQ(host_.passwordPrompts, (std::vector<std::pair<ustring, ustring>>{{u"Demo", u"s3cret"}}));
  EXPECT_EQ(host_.windows, 0);

  host_ = FakeStartupHost{};
  EXPECT_EQ(Run(kValidIni + "Password=s3cret\r\n"), 0);
  EXPECT_EQ(host_.windows, 1);
}

TEST_F(ExeZipLoaderTest, InstanceRules) {
  struct Case {
    std::vector<ustring> args;
    bool allowInstances;
    bool mutexExists;
    bool expectPrompt;
    bool expectMutex;
    bool expectWindow;  // otherwise the running instance is brought forward
  } cases[] = {
      {{}, false, false, true, true, true},
      {{}, false, true, true, true, false},  // second plain launch: asks, then ends quietly
      {{u"com.example.demo", u"file:///app/x.html"}, false, true, false, true, true},  // child instance
      {{u"com.example.demo"}, false, true, false, true, false},  // one argument: no prompt, still single
      {{u"com.example.demo"}, false, false, false, true, true},
      {{u"COM.EXAMPLE.DEMO", u"file:///x"}, false, true, true, true, false},  // exact comparison
      {{u"com.example.demo", u"a", u"b"}, false, true, false, true, false},
      {{}, true, true, true, false, true},  // any number of instances, no mutex
  };
  for (const auto& c : cases) {
    host_ = FakeStartupHost{};
    host_.args = c.args;
    host_.mutexExists = c.mutexExists;
    const std::string ini = kValidIni + "Password=pw\r\n" + (c.allowInstances ? "AllowInstances=1\r\n" : "");
    EXPECT_EQ(Run(ini), 0);
    const std::string label = std::to_string(&c - cases);
    EXPECT_EQ(!host_.passwordPrompts.empty(), c.expectPrompt) << label;
    EXPECT_EQ(!host_.mutexes.empty(), c.expectMutex) << label;
    EXPECT_EQ(host_.windows == 1, c.expectWindow) << label;
    EXPECT_EQ(host_.activated, c.expectWindow ? std::vector<ustring>{} : std::vector<ustring>{u"com.example.demo"})
        << label;
  }
}

// Identifiers that would name something else than a folder of their own are
// refused before any folder is made (the folder may later be deleted).
TEST_F(ExeZipLoaderTest, IdentifierRule) {
  const struct {
    const char* id;
    bool usable;
  } cases[] = {
      {"com.example.demo", true}, {"My App 2", true}, {"caf\xC3\xA9", true}, {"con.app", false},
      {".", false},  {"..", false}, {"a\\b", false}, {"a/b", false}, {"C:x", false}, {"a*", false},
      {"a?", false}, {"a\"b", false}, {"a<b", false}, {"a>b", false}, {"a|b", false}, {"a\tb", false},
      {"app.", false}, {"CON", false}, {"nul", false}, {"Com1", false}, {"LPT9.txt", false},
      {"COM10", true}, {"console", true},
  };
  for (const auto& c : cases) {
    host_ = FakeStartupHost{};
    const int code = Run("[App]\r\nID=" + std::string(c.id) + "\r\nName=N\r\nDirName=app\r\n");
    EXPECT_EQ(code, c.usable ? 0 : 1) << c.id;
    EXPECT_EQ(host_.folders.empty(), !c.usable) << c.id;
    if (!c.usable) {
      ASSERT_EQ(host_.applicationErrors.size(), 1u) << c.id;
      EXPECT_NE(host_.applicationErrors[0].find("cannot be used"), std::string::npos) << host_.applicationErrors[0];
    }
  }
}

TEST(AppDataFolderFor, IsTheIdentifiersOwnFolderOrNothing) {
  EXPECT_EQ(AppDataFolderFor(u"C:\\L\\", u"com.x"), u"C:\\L\\com.x\\");
  EXPECT_EQ(AppDataFolderFor(u"C:\\L", u"com.x"), u"C:\\L\\com.x\\");
  // A trailing space never comes out of vtl.ini, but may from elsewhere.
  for (const char16_t* bad : {u"", u".", u"..", u"a\\..", u"..\\x", u"app "}) {
    EXPECT_THROW(AppDataFolderFor(u"C:\\L\\", bad), EVantrelError);
  }
}

TEST_F(ExeZipLoaderTest, AllowInstancesTrueAsWordReadsAsFalse) {
  host_.mutexExists = true;
  EXPECT_EQ(Run(kValidIni + "AllowInstances=true\r\n"), 0);
  EXPECT_EQ(host_.windows, 0);
}

TEST(IncludeTrailingBackslash, AddsOnlyWhenMissing) {
  EXPECT_EQ(IncludeTrailingBackslash(u"C:\\a"), u"C:\\a\\");
  EXPECT_EQ(IncludeTrailingBackslash(u"C:\\a\\"), u"C:\\a\\");
}

}  // namespace
}  // namespace vantrel
