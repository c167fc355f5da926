// The script bridge's dispatcher and commands against a fake system and the
// WebView2 double (replies are read from its transcript).
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <map>
#include <optional>

#include "shared/bridge/bridge_files.h"
#include "shared/bridge/browser_external_module.h"
#include "shared/util/mem_ini_file.h"
#include "shared/util/zip_archive.h"
#include "tests/unit/fake_browser_form.h"

namespace vantrel {
namespace {

class FakePlatform : public IBridgePlatform {
 public:
  std::map<ustring, std::string> files;  // path -> bytes
  std::vector<ustring> folders, createdFolders, messages;
  std::vector<std::pair<TFileDialogKind, TFileDialogSettings>> dialogs;
  std::optional<ustring> dialogAnswer;
  TWriteFileResult writeResult;

  std::function<void()> whileDialogIsOpen;  // what the dialog's message loop delivers

  std::optional<ustring> ShowFileDialog(TFileDialogKind kind, const TFileDialogSettings& settings) override {
    dialogs.emplace_back(kind, settings);
    if (whileDialogIsOpen) whileDialogIsOpen();
    return dialogAnswer;
  }
  bool FileExists(const ustring& path) override { return files.count(path) > 0; }
  bool RemoveFile(const ustring& path) override { return files.erase(path) > 0; }
  bool DirectoryExists(const ustring& path) override {
    return std::find(folders.begin(), folders.end(), path) != folders.end();
  }
  bool DeleteDirectory(const ustring& path) override {
    const auto found = std::find(folders.begin(), folders.end(), path);
    if (found == folders.end()) return false;
    folders.erase(found);
    return true;
  }
  void ForceDirectories(const ustring& path) override { createdFolders.push_back(path); }
  TWriteFileResult WriteWholeFile(const ustring& path, const std::string& bytes) override {
    if (writeResult.Status == TWriteFileStatus::Written) files[path] = bytes;
    return writeResult;
  }
  ustring GetTempDirPath() override { return u"C:\\Users\\ana\\AppData\\Local\\Temp\\"; }
  ustring GetUserDocumentsDirPath() override { return u"C:\\Users\\ana\\Documents\\"; }
  ustring GetUserDesktopDirPath() override { return u"C:\\Users\\ana\\Desktop\\"; }
  void ShowMessage(const ustring& text) override { messages.push_back(text); }
  ustring InvalidPathMessage() override { return u"The filename is incorrect."; }
};

class FakeMainWindow : public IBridgeMainWindow {
 public:
  std::vector<std::string> changes;
  void SetBorderStyle(TFormBorderStyle style) override {
    changes.push_back("border " + std::to_string(static_cast<int>(style)));
  }
  void SetWindowState(TWindowState state) override {
    changes.push_back(state == TWindowState::Maximized ? "maximized" : "normal");
  }
};

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_webview2::ResetSettings();
    fake_webview2::ClearTranscript();
    form.SetAppDirPath(u"C:\\Apps\\Demo\\");
    form.Browser().ParentChanged(true);
    form.Browser().Settle();
    module.SetBrowserForm(&form);
    module.SetExeZip(&zip);
    module.SetMainForm(&window);
    module.SetProjectINI(&ini);
    fake_webview2::ClearTranscript();
  }

  // The replies posted to the page since the last call.
  std::vector<std::string> Replies() {
    std::vector<std::string> replies;
    for (const auto& line : fake_webview2::Transcript()) {
      rapidjson::Document record;
      record.Parse(line.c_str());
      if (record.IsObject() && record.HasMember("call") && record["call"] == "PostWebMessageAsJson")
        replies.emplace_back(record["json"].GetString());
    }
    fake_webview2::ClearTranscript();
    return replies;
  }
  // Sends one call and returns its reply, or "" when none was posted.
  std::string Call(const std::string& json, const ustring& source = u"file:///index.html") {
    module.HandleWebMessage(source, u"", U(json));
    const auto replies = Replies();
    EXPECT_LE(replies.size(), 1u) << json;
    return replies.empty() ? std::string() : replies[0];
  }
  std::string Call(int id, const std::string& data) {
    return Call("{\"id\":" + std::to_string(id) + ",\"uuid\":\"c-1\",\"data\":" + data + "}");
  }
  static std::string Reply(const std::string& result, bool success = true) {
    return "{\"uuid\": \"c-1\", \"success\": " + std::string(success ? "true" : "false") + ", \"result\": " + result +
           "}";
  }

  test::FakeForm form;
  FakePlatform platform;
  FakeMainWindow window;
  TZipArchive zip;
  TMemIniFile ini;
  TBrowserExternalModule module{platform};
};

TEST_F(BridgeTest, CallsAreReadByTheMemberRules) {
  const std::string hello = "{\"uuid\": \"u-1\", \"success\": true, \"result\": \"2021.10\"}";
  struct Case {
    const char* message;
    std::string reply;  // empty: no reply
  } cases[] = {
      {R"({"id":10001,"uuid":"u-1","data":{}})", hello},
      {R"({"id":"10001","uuid":"u-1","data":{}})", hello},
      {R"({"data":{},"uuid":"u-1","id":10001})", hello},
      {R"({"id":10001,"uuid":"u-1","data":{},"id":99999})", hello},
      {R"({"id":10001,"uuid":null,"data":{}})", "{\"uuid\": \"\", \"success\": true, \"result\": \"2021.10\"}"},
      {R"({"id":10001,"uuid":12.50,"data":{}})", "{\"uuid\": \"12.50\", \"success\": true, \"result\": \"2021.10\"}"},
      {R"({"id":10001,"uuid":true,"data":{}})", "{\"uuid\": \"true\", \"success\": true, \"result\": \"2021.10\"}"},
      // An identifier cannot break out of its string in the reply.
      {R"({"id":10001,"uuid":"a\"b\\c","data":{}})",
       "{\"uuid\": \"a\\\"b\\\\c\", \"success\": true, \"result\": \"2021.10\"}"},
      {R"({"id":99999,"uuid":"u-1","data":{}})", ""},
      {R"({"id":1.5,"uuid":"u-1","data":{}})", ""},
      {R"({"id":10001.0,"uuid":"u-1","data":{}})", ""},
      {R"({"id":1e4,"uuid":"u-1","data":{}})", ""},
      {R"({"id":"abc","uuid":"u-1","data":{}})", ""},
      {R"({"id":"","uuid":"u-1","data":{}})", ""},
      {R"({"id":null,"uuid":"u-1","data":{}})", ""},
      {R"({"id":4294977297,"uuid":"u-1","data":{}})", ""},
      {R"({"id":10001,"uuid":"u-1"})", ""},
      {R"({"id":10001,"uuid":"u-1","data":"x"})", ""},
      {R"({"id":10001,"uuid":"u-1","data":[]})", ""},
      {R"({"id":10001,"uuid":"u-1","data":null})", ""},
      {R"({"id":10001,"data":{}})", ""},
      {R"({"id":[10001],"uuid":"u-1","data":{}})", ""},
      {R"({"id":10001,"uuid":{},"data":{}})", ""},
      {R"({"ID":10001,"uuid":"u-1","data":{}})", ""},
      {R"([10001])", ""},
      {R"("vtl-webbrowser-clicked")", ""},
      {R"({"id":10001,)", ""},
      {R"({"id":10001,"uuid":"u-1","data":{}} x)", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Call(c.message), c.reply) << c.message;
}

// Native services answer the application's own pages only, by origin.
TEST_F(BridgeTest, OnlyTheApplicationsOwnPagesAreAnswered) {
  const std::string hello = R"({"id":10001,"uuid":"u-1","data":{}})";
  const std::string write = R"({"id":30003,"uuid":"u-2","data":{"filePath":"C:\x\a.txt","contents":"x"}})";
  for (const ustring source : {u"https://evil.example/", u"https://app.localhost/index.html", u"file://evil/share/a.html",
                               u"about:blank", u""}) {
    EXPECT_EQ(Call(hello, source), "") << Utf16ToUtf8(source);
    EXPECT_NE(module.LastCallError().find("not the application's own"), std::string::npos);
    EXPECT_EQ(Call(write, source), "") << Utf16ToUtf8(source);
  }
  EXPECT_TRUE(platform.files.empty());
  EXPECT_EQ(Call(hello, u"file:///index.html"), Reply("\"2021.10\"").replace(10, 3, "u-1"));

  module.SetAppOrigins(TAppOrigins(true, u"https://portal.example.com"));
  for (const ustring source : {u"https://app.localhost/index.html", u"https://portal.example.com/app", u"file:///x"}) {
    EXPECT_NE(Call(hello, source), "") << Utf16ToUtf8(source);
  }
  EXPECT_EQ(Call(hello, u"https://app.localhost.evil.com/"), "");
}

// A command's dialog runs a message loop that may deliver a close: whoever
// waits learns when the command has returned and its reply was posted.
TEST_F(BridgeTest, TheEndOfRunningCommandsIsAnnounced) {
  std::vector<std::string> seen;
  platform.whileDialogIsOpen = [&] {
    seen.push_back(module.IsRunningCommand() ? "running" : "idle");
    module.HandleWebMessage(u"", U(R"({"id":10001,"uuid":"inner","data":{}})"));  // nested call
  };
  module.SetOnCommandsFinished([&](void*) {
    seen.push_back("finished after " + std::to_string(fake_webview2::Transcript().size()) + " replies");
  });
  module.HandleWebMessage(u"", U(R"({"id":20001,"uuid":"outer","data":{}})"));
  EXPECT_EQ(seen, (std::vector<std::string>{"running", "finished after 2 replies"}));
  Replies();
  EXPECT_FALSE(module.IsRunningCommand());
  Call(R"({"id":10001,"uuid":"u","data":[]})");  // unreadable: still announced
  EXPECT_EQ(seen.size(), 3u);
}

// Wildcards and NULs would reach more than the one file or folder named.
TEST_F(BridgeTest, PathsWithWildcardsOrNulsAreRefused) {
  platform.files[u"C:\\logs\\a.log"] = "x";
  platform.folders = {u"C:\\logs", u"C:\\a", u"C:\\b"};
  const struct {
    int id;
    const char* data;
  } refused[] = {
      {30001, R"({"filePath":"C:\\logs\\*.log"})"},  {30002, R"({"filePath":"C:\\logs\\?.log"})"},
      {30002, R"({"filePath":"C:\\logs\\a.log\u0000b"})"}, {40001, R"({"dirPath":"C:\\lo*"})"},
      {40002, R"({"dirPath":"C:\\a\u0000C:\\b"})"},      {40002, R"({"dirPath":"C:\\*"})"},
      {40002, R"({"dirPath":"\\\\?\\C:\\?"})"},
  };
  for (const auto& c : refused) EXPECT_EQ(Call(c.id, c.data), Reply("false")) << c.data;
  EXPECT_EQ(platform.folders.size(), 3u);
  EXPECT_EQ(platform.files.size(), 1u);
  EXPECT_EQ(Call(30003, R"({"filePath":"C:\\out\\*.txt","contents":"x"})"),
            Reply(R"("Cannot create file \"C:\\out\\*.txt\". The filename is incorrect.")", false));
  EXPECT_TRUE(platform.createdFolders.empty());
  EXPECT_EQ(platform.files.size(), 1u);
  // The long-path prefix keeps its "?"; the one folder named goes.
  platform.folders.push_back(u"\\\\?\\C:\\a");
  EXPECT_EQ(Call(40002, R"({"dirPath":"\\\\?\\C:\\a"})"), Reply("true"));
  EXPECT_EQ(Call(40002, R"({"dirPath":"C:\\b"})"), Reply("true"));
}

TEST_F(BridgeTest, UnreadableCallsLeaveAnErrorAndLaterCallsWork) {
  EXPECT_EQ(Call(R"({"id":10001,"uuid":"u-1","data":[]})"), "");
  EXPECT_NE(module.LastCallError().find("data"), std::string::npos);
  EXPECT_EQ(Call(10001, "{}"), Reply("\"2021.10\""));
  EXPECT_EQ(module.LastCallError(), "");
}

TEST_F(BridgeTest, DeeplyNestedMessagesAreRefusedWithoutExhaustingTheStack) {
  const std::string deep(500000, '[');
  EXPECT_EQ(Call("{\"id\":10001,\"uuid\":\"u\",\"data\":{},\"x\":" + deep + std::string(500000, ']') + "}"),
            "{\"uuid\": \"u\", \"success\": true, \"result\": \"2021.10\"}");
  EXPECT_EQ(Call(deep), "");
  EXPECT_EQ(Call(10001, "{}"), Reply("\"2021.10\""));
}

TEST_F(BridgeTest, MessagesArriveThroughTheBrowserEvent) {
  form.Browser().SetOnWebMessageReceived([this](TCustomEdgeBrowser* sender, TWebMessageReceivedEventArgs* args) {
    module.EdgeBrowserWebMessageReceived(sender, args);
  });
  fake_webview2::PagePostMessageJson(u"{\"id\":10002,\"uuid\":\"c-1\",\"data\":{}}");
  form.Browser().Settle();
  EXPECT_EQ(Replies(), std::vector<std::string>{Reply("true")});
  // In runtime mode the click text is an ordinary (unreadable) message.
  fake_webview2::PagePostMessageString(u"vtl-webbrowser-clicked");
  form.Browser().Settle();
  EXPECT_TRUE(Replies().empty());
  EXPECT_EQ(form.parentFocused, 0);
  EXPECT_FALSE(module.LastCallError().empty());
}

TEST_F(BridgeTest, DesignModeClickMovesTheFocusAndIsNotACall) {
  module.SetExeZip(nullptr);
  module.HandleWebMessage(u"vtl-webbrowser-clicked", u"\"vtl-webbrowser-clicked\"");
  EXPECT_EQ(form.parentFocused, 1);
  EXPECT_TRUE(module.LastCallError().empty());
  EXPECT_TRUE(Replies().empty());
  module.HandleWebMessage(u"VTL-webbrowser-clicked", u"\"VTL-webbrowser-clicked\"");
  EXPECT_EQ(form.parentFocused, 1);
  EXPECT_EQ(Call(10002, "{}"), Reply("false"));
}

TEST_F(BridgeTest, SimpleCommandsReply) {
  EXPECT_EQ(Call(10001, "{}"), Reply("\"2021.10\""));
  EXPECT_EQ(Call(10002, "{}"), Reply("true"));
  EXPECT_EQ(Call(40003, "{}"), Reply(R"("C:\\Users\\ana\\AppData\\Local\\Temp\\")"));
  EXPECT_EQ(Call(40004, "{}"), Reply(R"("C:\\Users\\ana\\Documents\\")"));
  EXPECT_EQ(Call(40005, "{}"), Reply(R"("C:\\Users\\ana\\Desktop\\")"));
  EXPECT_EQ(Call(50002, "{}"), Reply("false"));
  int closes = 0;
  void* sender = nullptr;
  module.SetOnAppCloseRequest([&](void* s) { ++closes, sender = s; });
  EXPECT_EQ(Call(50001, "{}"), "");
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(sender, &module);
}

TEST_F(BridgeTest, FileAndFolderCommandsFollowThePathRule) {
  platform.files[u"C:\\Apps\\Demo\\index.html"] = "x";
  platform.files[u"C:/data/a.txt"] = "y";
  platform.folders = {u"C:\\Apps\\Demo\\data", u"D:\\x"};
  EXPECT_EQ(Call(30001, R"({"filePath":"index.html"})"), Reply("true"));
  EXPECT_EQ(Call(30001, R"({"filePath":"C:/data/a.txt"})"), Reply("true"));
  EXPECT_EQ(Call(30001, R"({"filePath":"missing.txt"})"), Reply("false"));
  EXPECT_EQ(Call(30001, R"({})"), Reply("\"Missing filePath\"", false));
  EXPECT_EQ(Call(30001, R"({"filePath":null})"), Reply("\"Missing filePath\"", false));
  EXPECT_EQ(Call(30001, R"({"filePath":""})"), Reply("\"Missing filePath\"", false));
  EXPECT_EQ(Call(30001, R"({"filePath":{}})"), "");
  EXPECT_EQ(Call(30002, R"({"filePath":"index.html"})"), Reply("true"));
  EXPECT_EQ(Call(30002, R"({"filePath":"index.html"})"), Reply("false"));
  EXPECT_EQ(Call(30002, R"({})"), Reply("\"Missing filePath\"", false));
  EXPECT_EQ(Call(40001, R"({"dirPath":"data"})"), Reply("true"));
  EXPECT_EQ(Call(40001, R"({"dirPath":"D:\\x"})"), Reply("true"));
  EXPECT_EQ(Call(40001, R"({})"), Reply("\"Missing dirPath\"", false));
  EXPECT_EQ(Call(40002, R"({"dirPath":"data"})"), Reply("true"));
  EXPECT_EQ(Call(40002, R"({"dirPath":"data"})"), Reply("false"));
  EXPECT_EQ(Call(40002, R"({"dirPath":""})"), Reply("\"Missing dirPath\"", false));
}

TEST(BridgePathRule, AbsoluteOrUnderTheApplicationFolder) {
  const ustring app = u"C:\\Apps\\Demo\\";
  struct Case {
    const char16_t* given;
    const char16_t* resolved;
  } cases[] = {
      {u"C:/data/a.txt", u"C:/data/a.txt"},
      {u"d:relative.txt", u"d:relative.txt"},
      {u"\\\\server\\share\\a.txt", u"\\\\server\\share\\a.txt"},
      {u"index.html", u"C:\\Apps\\Demo\\index.html"},
      {u"sub/dir/a.txt", u"C:\\Apps\\Demo\\sub\\dir\\a.txt"},
      {u"/x", u"C:\\Apps\\Demo\\\\x"},
      {u"//x", u"C:\\Apps\\Demo\\\\\\x"},
      {u"../up.txt", u"C:\\Apps\\Demo\\..\\up.txt"},
      {u"\\x", u"C:\\Apps\\Demo\\\\x"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveBridgePath(c.given, app), c.resolved) << Utf16ToUtf8(c.given);
}

TEST(BridgeTextFile, BytesAreBomAndCrLfLines) {
  struct Case {
    ustring contents;
    std::string bytes;
  } cases[] = {
      {u"", "\xEF\xBB\xBF"},
      {u"a", "\xEF\xBB\xBF" "a\r\n"},
      {u"a\nb", "\xEF\xBB\xBF" "a\r\nb\r\n"},
      {u"a\r\nb\r\n", "\xEF\xBB\xBF" "a\r\nb\r\n"},
      {u"a\rb", "\xEF\xBB\xBF" "a\r\nb\r\n"},
      {u"a\n\nb", "\xEF\xBB\xBF" "a\r\n\r\nb\r\n"},
      {u"a\r\r\nb", "\xEF\xBB\xBF" "a\r\n\r\nb\r\n"},
      {u"\n", "\xEF\xBB\xBF" "\r\n"},
      {ustring(u"a\0b", 3), "\xEF\xBB\xBF" "a\r\n"},
      {u"caf\u00e9 \u20ac", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextFileBytes(c.contents), c.bytes) << Utf16ToUtf8(c.contents);
}

TEST_F(BridgeTest, WriteTextFileMakesTheFolderChainAndReportsFailures) {
  EXPECT_EQ(Call(30003, R"({"filePath":"out/new/a.txt","contents":"a\nb"})"), Reply("true"));
  EXPECT_EQ(platform.createdFolders, std::vector<ustring>{u"C:\\Apps\\Demo\\out\\new"});
  EXPECT_EQ(platform.files[u"C:\\Apps\\Demo\\out\\new\\a.txt"], "\xEF\xBB\xBF" "a\r\nb\r\n");
  EXPECT_EQ(Call(30003, R"({"filePath":"C:/data/e.txt"})"), Reply("true"));
  EXPECT_EQ(platform.files[u"C:/data/e.txt"], "\xEF\xBB\xBF");
  EXPECT_EQ(Call(30003, R"({"contents":"a"})"), Reply("\"Missing filePath\"", false));
  EXPECT_EQ(Call(30003, R"({"filePath":"a.txt","contents":{}})"), "");

  platform.writeResult = {TWriteFileStatus::CannotCreate, u"Access is denied."};
  EXPECT_EQ(Call(30003, R"({"filePath":"C:\\locked\\a.txt","contents":"a"})"),
            Reply(R"("Cannot create file \"C:\\locked\\a.txt\". Access is denied.")", false));
  platform.writeResult = {TWriteFileStatus::WriteFailed, u"There is not enough space on the disk."};
  EXPECT_EQ(Call(30003, R"({"filePath":"a.txt"})"), Reply("\"There is not enough space on the disk.\"", false));
}

TEST_F(BridgeTest, FileDialogsTakeTheirSettingsFromTheCall) {
  platform.dialogAnswer = u"C:\\Users\\ana\\notes.txt";
  EXPECT_EQ(Call(20001, R"({"fileTypes":"Text|*.txt;All|*.*"})"), Reply(R"("C:\\Users\\ana\\notes.txt")"));
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].first, TFileDialogKind::Open);
  const auto& open = platform.dialogs[0].second;
  EXPECT_EQ(open.Title, u"Open file");
  EXPECT_EQ(open.FileName, u"");
  using Filters = std::vector<std::pair<ustring, ustring>>;
  EXPECT_EQ(open.Filters, (Filters{{u"Text", u"*.txt"}, {u"All", u"*.*"}}));
  EXPECT_FALSE(open.OverwritePrompt);

  platform.dialogAnswer.reset();
  EXPECT_EQ(Call(20001, R"({"fileTypes":"Text","title":"","fileName":"a.txt"})"), Reply("\"\""));
  EXPECT_TRUE(module.FileOpenDialog().Filters.empty());
  EXPECT_EQ(module.FileOpenDialog().Title, u"");
  EXPECT_EQ(module.FileOpenDialog().FileName, u"a.txt");
  EXPECT_EQ(Call(20001, R"({"fileTypes":"Images|*.png;*.jpg|x|y;A|b|c;|"})"), Reply("\"\""));
  EXPECT_EQ(module.FileOpenDialog().Filters, (Filters{{u"Images", u"*.png"}, {u"", u""}}));

  struct Case {
    const char* data;
    bool answered, prompt;
  } saves[] = {
      {R"({})", true, false},           {R"({"overwritePrompt":true})", true, true},
      {R"({"overwritePrompt":"TRUE"})", true, true}, {R"({"overwritePrompt":"False"})", true, false},
      {R"({"overwritePrompt":1})", true, true},      {R"({"overwritePrompt":0})", true, false},
      {R"({"overwritePrompt":"2.5"})", true, true},  {R"({"overwritePrompt":null})", true, false},
      {R"({"overwritePrompt":"yes"})", false, false}, {R"({"overwritePrompt":[]})", false, false},
  };
  for (const auto& c : saves) {
    platform.dialogs.clear();
    EXPECT_EQ(Call(20002, c.data), c.answered ? Reply("\"\"") : "") << c.data;
    if (!c.answered) continue;
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].first, TFileDialogKind::Save);
    EXPECT_EQ(platform.dialogs[0].second.Title, u"Save file");
    EXPECT_EQ(platform.dialogs[0].second.OverwritePrompt, c.prompt) << c.data;
  }
}

TEST_F(BridgeTest, FullScreenChangesTheWindowAndNeverReplies) {
  ini.SetStrings({u"[App]", u"WindowBorder=3"});
  EXPECT_EQ(Call(50004, "{}"), "");
  EXPECT_TRUE(window.changes.empty());
  EXPECT_EQ(Call(50003, "{}"), "");
  EXPECT_EQ(Call(50003, "{}"), "");
  EXPECT_EQ(window.changes, (std::vector<std::string>{"border 0", "maximized"}));
  EXPECT_EQ(Call(50002, "{}"), Reply("true"));
  EXPECT_EQ(Call(50004, "{}"), "");
  EXPECT_EQ(window.changes, (std::vector<std::string>{"border 0", "maximized", "normal", "border 3"}));
  EXPECT_EQ(Call(50002, "{}"), Reply("false"));
  // A border value outside the numbering falls back to sizeable.
  ini.SetStrings({u"[App]", u"WindowBorder=17"});
  Call(50003, "{}");
  Call(50004, "{}");
  EXPECT_EQ(window.changes.back(), "border 2");
}

TEST_F(BridgeTest, FullScreenIsRefusedInDesignMode) {
  module.SetExeZip(nullptr);
  EXPECT_EQ(Call(50003, "{}"), "");
  EXPECT_EQ(Call(50004, "{}"), "");
  EXPECT_EQ(platform.messages, (std::vector<ustring>{u"Calls to vtl.app.enterFullscreen() works only at runtime.",
                                                     u"Calls to vtl.app.exitFullscreen() works only at runtime."}));
  EXPECT_TRUE(window.changes.empty());
  EXPECT_FALSE(module.InFullscreen());
}

}  // namespace
}  // namespace vantrel
