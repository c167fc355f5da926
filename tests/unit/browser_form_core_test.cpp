#include "shared/hosting/browser_form_core.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_browser_form.h"

namespace vantrel {
namespace {

using test::FakeForm;

const std::u16string kDragOver = u"window.addEventListener(\"dragover\", function(e){e.preventDefault();},false);";
const std::u16string kDrop = u"window.addEventListener(\"drop\", function(e){e.preventDefault();}, false);";
const std::u16string kClick =
    u"window.addEventListener(\"click\", function () {window.chrome.webview.postMessage(\"vtl-webbrowser-clicked\");});";

class BrowserFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_webview2::ResetSettings();
    fake_webview2::ClearTranscript();
  }
  void Start(FakeForm& form) {
    form.Browser().ParentChanged(true);
    form.Browser().Settle();
  }
};

// Current browsers raise the older filter's event only for the main frame
// and its same-origin frames: where the newer filter exists it is used.
TEST_F(BrowserFormTest, EveryFrameAndWorkerIsFilteredWhereTheBrowserOffersIt) {
  fake_webview2::Settings().offersWebView22 = true;
  FakeForm form;
  form.SetStartPageURL(u"file:///index.html");
  Start(form);
  bool newer = false, older = false;
  for (const auto& line : fake_webview2::Transcript()) {
    newer |= line == "{\"call\":\"AddWebResourceRequestedFilterWithRequestSourceKinds\",\"uri\":\"*\","
                     "\"context\":0,\"kinds\":4294967295}";
    older |= line.find("\"call\":\"AddWebResourceRequestedFilter\"") != std::string::npos;
  }
  EXPECT_TRUE(newer);
  EXPECT_FALSE(older);
  fake_webview2::PageRequestResource(u"file:///index.html");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"filtered\":true"), std::string::npos);
}

TEST_F(BrowserFormTest, PageScriptsAreComposedPieceByPiece) {
  FakeForm form;
  form.SetIsRuntime(true);
  EXPECT_EQ(form.ComposePageScripts(), u"\r" + kDragOver + u"\r" + kDrop);
  form.SetWithExternal(true);
  EXPECT_EQ(form.ComposePageScripts(), u"\rwindow.vtl = {};\r" + kDragOver + u"\r" + kDrop);
  form.SetIsRuntime(false);
  EXPECT_EQ(form.ComposePageScripts(), u"\rwindow.vtl = {};\r" + kDragOver + u"\r" + kDrop + u"\r" + kClick);
}

TEST_F(BrowserFormTest, ReadyBrowserGetsScriptsSettingsFilterAndStartPage) {
  FakeForm form;
  form.SetIsRuntime(true);
  form.SetAllowDebug(true);
  form.SetStartPageURL(u"file:///index.html");
  Start(form);
  std::vector<std::string> calls;
  for (const auto& line : fake_webview2::Transcript()) {
    if (line.find("\"call\":\"put_Bounds\"") != std::string::npos) continue;
    if (line.find("\"call\"") != std::string::npos) calls.push_back(line);
  }
  ASSERT_GE(calls.size(), 12u);
  EXPECT_EQ(calls[0], "{\"call\":\"CreateCoreWebView2Environment\"}");
  EXPECT_EQ(calls[1], "{\"call\":\"CreateCoreWebView2Controller\",\"parent\":true}");
  EXPECT_NE(calls[2].find("AddScriptToExecuteOnDocumentCreated"), std::string::npos);
  const char* settings[] = {"\"IsScriptEnabled\",\"value\":true",       "\"IsStatusBarEnabled\",\"value\":false",
                            "\"IsZoomControlEnabled\",\"value\":false", "\"IsWebMessageEnabled\",\"value\":true",
                            "\"IsBuiltInErrorPageEnabled\",\"value\":true", "\"AreDevToolsEnabled\",\"value\":true",
                            "\"AreDefaultContextMenusEnabled\",\"value\":false"};
  for (int i = 0; i < 7; ++i) EXPECT_NE(calls[3 + i].find(settings[i]), std::string::npos) << calls[3 + i];
  EXPECT_EQ(calls[10], "{\"call\":\"AddWebResourceRequestedFilter\",\"uri\":\"*\",\"context\":0}");
  EXPECT_EQ(calls[11], "{\"call\":\"Navigate\",\"uri\":\"file:///index.html\"}");
  const auto scripts = fake_webview2::DocumentScripts();
  ASSERT_EQ(scripts.size(), 1u);
  EXPECT_EQ(scripts[0], u"\r" + kDragOver + u"\r" + kDrop);

  // Changing the options now has no effect on the running browser.
  form.SetAllowContextMenu(true);
  EXPECT_FALSE(form.EdgeBrowser()->DefaultContextMenusEnabled());
}

TEST_F(BrowserFormTest, FailedCreationDoesNothing) {
  fake_webview2::Settings().controllerResult = static_cast<HRESULT>(0x80004005u);
  FakeForm form;
  form.SetStartPageURL(u"file:///index.html");
  Start(form);
  for (const auto& line : fake_webview2::Transcript()) {
    EXPECT_EQ(line.find("AddScript"), std::string::npos);
    EXPECT_EQ(line.find("settings.put"), std::string::npos);
    EXPECT_EQ(line.find("Navigate"), std::string::npos);
  }
}

TEST_F(BrowserFormTest, NewWindowsBecomeNewProcessesInRuntimeModeOnly) {
  FakeForm form;
  form.SetIsRuntime(true);
  form.SetRuntimeAppID(u"com.example.demo");
  Start(form);
  fake_webview2::PageRequestNewWindow(u"file:///other.html");
  fake_webview2::PageRequestNewWindow(u"file:///a\" --evil \"b");
  ASSERT_EQ(form.started.size(), 2u);
  EXPECT_EQ(form.started[0].first, u"C:\\Apps\\Demo.exe");
  EXPECT_EQ(form.started[0].second, u"\"com.example.demo\" \"file:///other.html\"");
  EXPECT_EQ(form.started[1].second, u"\"com.example.demo\" \"file:///a\\\" --evil \\\"b\"");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"handled\":true"), std::string::npos);

  form.SetIsRuntime(false);
  fake_webview2::PageRequestNewWindow(u"file:///third.html");
  EXPECT_EQ(form.started.size(), 2u);
  EXPECT_NE(fake_webview2::Transcript().back().find("\"handled\":false"), std::string::npos);
}

TEST_F(BrowserFormTest, PermissionsAllowedProgressHiddenClicksInDesignMode) {
  FakeForm form;
  Start(form);
  fake_webview2::PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION, u"file:///");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"state\":1"), std::string::npos);
  // Only the application's own pages: another page gets the browser's default.
  fake_webview2::PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND_CAMERA, u"https://evil.example/");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"state\":0"), std::string::npos);
  fake_webview2::PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND_CAMERA, u"https://app.localhost/");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"state\":0"), std::string::npos);
  form.SetAppOrigins(TAppOrigins(true, u""));
  fake_webview2::PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND_CAMERA, u"https://app.localhost/");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"state\":1"), std::string::npos);
  fake_webview2::PageNavigate(u"http://unreachable/", false);
  EXPECT_EQ(form.progressHidden, 1);

  fake_webview2::PagePostMessageString(u"vtl-webbrowser-clicked");
  fake_webview2::PagePostMessageString(u"VTL-WEBBROWSER-CLICKED");
  fake_webview2::PagePostMessageJson(u"{\"a\":1}");
  EXPECT_EQ(form.focusMoved, 1);
  form.SetIsRuntime(true);
  fake_webview2::PagePostMessageString(u"vtl-webbrowser-clicked");
  EXPECT_EQ(form.focusMoved, 1);
}

// Only the application's own page can agree to close the window; any other
// page, or an error page, never could (no bridge answers it).
TEST_F(BrowserFormTest, OnlyTheAppsOwnPageIsAskedBeforeClosing) {
  FakeForm form;
  EXPECT_FALSE(form.PageCanAgreeToClose()) << "no browser yet";
  Start(form);
  struct Step {
    const char16_t* uri;
    bool success;
    bool canAgree;
  };
  const Step steps[] = {
      {u"file:///index.html", true, true},
      {u"https://remote.example/page.html", true, false},
      {u"file:///about.html", true, true},
      {u"file:///missing.html", false, false},
      {u"file:///index.html", true, true},
  };
  for (const Step& step : steps) {
    fake_webview2::PageNavigate(step.uri, step.success);
    form.Browser().Settle();
    EXPECT_EQ(form.PageCanAgreeToClose(), step.canAgree) << vantrel::Utf16ToUtf8(step.uri);
  }
}

}  // namespace
}  // namespace vantrel
