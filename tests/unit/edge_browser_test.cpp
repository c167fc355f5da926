#include "shared/edge/edge_browser.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <thread>

#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "engines/webview2/fake_webview2.h"
#include "tests/unit/test_browser.h"

namespace vantrel {
namespace {

using test::kAccessDenied;
using test::kNotFound;
using test::TestBrowser;

using State = TCustomEdgeBrowser::TBrowserControlState;

const char* const kAllEvents[] = {
    "NavigationStarting", "NavigationCompleted", "SourceChanged", "HistoryChanged", "ContentLoading",
    "DocumentTitleChanged", "NewWindowRequested", "FrameNavigationStarting", "FrameNavigationCompleted",
    "WebResourceRequested", "ScriptDialogOpening", "PermissionRequested", "ProcessFailed", "WebMessageReceived",
    "ContainsFullScreenElementChanged", "WindowCloseRequested", "ZoomFactorChanged", "MoveFocusRequested",
    "AcceleratorKeyPressed", "GotFocus", "LostFocus"};

int CountCalls(const std::string& call) {
  int n = 0;
  for (const auto& line : fake_webview2::Transcript()) n += line.find("\"call\":\"" + call + "\"") != std::string::npos;
  return n;
}

class EdgeBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_webview2::ResetSettings();
    fake_webview2::ClearTranscript();
    fake_webview2::Pump();
  }
  // A control with a created browser.
  std::unique_ptr<TestBrowser> Created() {
    auto browser = std::make_unique<TestBrowser>();
    browser->ParentChanged(true);
    browser->Settle();
    EXPECT_EQ(browser->BrowserControlState(), State::Created);
    return browser;
  }
};

TEST_F(EdgeBrowserTest, CreationReachesCreatedAndRegistersEveryEventOnce) {
  TestBrowser browser;
  std::vector<HRESULT> completions;
  bool completedOnUi = false;
  browser.SetOnCreateWebViewCompleted([&](TCustomEdgeBrowser*, HRESULT hr) {
    completions.push_back(hr);
    completedOnUi = browser.OnUiThread();
  });
  EXPECT_EQ(browser.BrowserControlState(), State::None);
  browser.ParentChanged(true);
  EXPECT_EQ(browser.BrowserControlState(), State::Creating);
  browser.ParentChanged(true);  // a second parent while creating starts nothing
  EXPECT_EQ(browser.workerStarts, 1);
  browser.Settle();

  EXPECT_EQ(browser.BrowserControlState(), State::Created);
  EXPECT_EQ(completions, std::vector<HRESULT>{S_OK});
  EXPECT_TRUE(completedOnUi);
  EXPECT_TRUE(browser.WebViewCreated());
  EXPECT_DOUBLE_EQ(browser.SizeRatio(), 1.0);
  for (const char* event : kAllEvents) EXPECT_EQ(fake_webview2::Registrations(event), 1) << event;
  EXPECT_EQ(CountCalls("put_Bounds"), 1);
  EXPECT_NE(fake_webview2::Transcript().back().find("[0,0,801,600]"), std::string::npos);
}

TEST_F(EdgeBrowserTest, EnvironmentFailureIsReportedOnceAndCreationStaysCreating) {
  struct Case {
    const char* name;
    bool loaderMissing;
    HRESULT callResult, completionResult, expected;
  } cases[] = {
      {"no loader library", true, S_OK, S_OK, E_FAIL},
      {"environment refused at once", false, kAccessDenied, S_OK, kAccessDenied},
      {"environment completed with a failure", false, S_OK, kNotFound, kNotFound},
  };
  for (const Case& c : cases) {
    fake_webview2::ResetSettings();
    fake_webview2::Settings().environmentCallResult = c.callResult;
    fake_webview2::Settings().environmentResult = c.completionResult;
    TestBrowser browser;
    browser.loaderMissing = c.loaderMissing;
    std::vector<HRESULT> completions;
    browser.SetOnCreateWebViewCompleted([&](TCustomEdgeBrowser*, HRESULT hr) { completions.push_back(hr); });
    browser.ParentChanged(true);
    browser.Settle();
    EXPECT_EQ(browser.BrowserControlState(), State::Creating) << c.name;
    EXPECT_EQ(completions, std::vector<HRESULT>{c.expected}) << c.name;
    // The double completes inside the call, whose own S_OK is recorded after
    // the completion's failure; only a failing call itself stays recorded.
    if (c.completionResult == S_OK) {
      EXPECT_EQ(browser.LastErrorCode(), c.expected) << c.name;
    }
    browser.CreateWebView();
    EXPECT_EQ(browser.workerStarts, 1) << c.name << ": further CreateWebView calls start nothing";
  }
}

TEST_F(EdgeBrowserTest, ControllerFailureGoesToFailedWithOrWithoutAHandler) {
  struct Case {
    const char* name;
    HRESULT controller, coreWebView2, settings;
  } cases[] = {
      {"controller completion", kAccessDenied, S_OK, S_OK},
      {"browser of the controller", S_OK, kAccessDenied, S_OK},
      {"settings of the browser", S_OK, S_OK, kAccessDenied},
  };
  for (const Case& c : cases) {
    for (bool withHandler : {true, false}) {
      fake_webview2::ResetSettings();
      fake_webview2::Settings().controllerResult = c.controller;
      fake_webview2::Settings().coreWebView2Result = c.coreWebView2;
      fake_webview2::Settings().settingsResult = c.settings;
      TestBrowser browser;
      std::vector<HRESULT> completions;
      if (withHandler) {
        browser.SetOnCreateWebViewCompleted([&](TCustomEdgeBrowser*, HRESULT hr) { completions.push_back(hr); });
      }
      browser.ParentChanged(true);
      browser.Settle();
      EXPECT_EQ(browser.BrowserControlState(), State::Failed) << c.name;
      EXPECT_EQ(browser.LastErrorCode(), kAccessDenied) << c.name;
      if (withHandler) {
        EXPECT_EQ(completions, std::vector<HRESULT>{kAccessDenied}) << c.name;
        EXPECT_TRUE(browser.raised.empty()) << c.name;
      } else {
        EXPECT_EQ(browser.raised, std::vector<std::string>{"Failed to create Edge browser control|2147942405"})
            << c.name;
      }
    }
  }
}

TEST_F(EdgeBrowserTest, ControllerCallRefusedStaysCreatingSilently) {
  fake_webview2::Settings().controllerCallResult = kAccessDenied;
  TestBrowser browser;
  int completions = 0;
  browser.SetOnCreateWebViewCompleted([&](TCustomEdgeBrowser*, HRESULT) { ++completions; });
  browser.ParentChanged(true);
  browser.Settle();
  EXPECT_EQ(browser.BrowserControlState(), State::Creating);
  EXPECT_EQ(browser.LastErrorCode(), kAccessDenied);
  EXPECT_EQ(completions, 0);
}

TEST_F(EdgeBrowserTest, NavigateBeforeCreationIsStoredAndFollowsTheHandlersOwnNavigation) {
  TestBrowser browser;
  browser.Navigate(u" \t\r\n");
  EXPECT_TRUE(browser.LastURL().empty());
  browser.Navigate(u" file:///app/index.html");
  EXPECT_EQ(browser.LastURL(), u" file:///app/index.html");
  browser.SetOnCreateWebViewCompleted(
      [](TCustomEdgeBrowser* sender, HRESULT) { sender->Navigate(u"file:///app/first.html"); });
  browser.ParentChanged(true);
  browser.Settle();
  std::vector<std::string> navigations;
  for (const auto& line : fake_webview2::Transcript()) {
    if (line.find("\"call\":\"Navigate\"") != std::string::npos) navigations.push_back(line);
  }
  ASSERT_EQ(navigations.size(), 2u);
  EXPECT_NE(navigations[0].find("first.html"), std::string::npos);
  EXPECT_NE(navigations[1].find("\" file:///app/index.html\""), std::string::npos) << "passed unchanged";
}

TEST_F(EdgeBrowserTest, BoundsFollowTheSizeRatio) {
  auto browser = Created();
  browser->SetSizeRatio(0.5);
  EXPECT_NE(fake_webview2::Transcript().back().find("[0,0,400,300]"), std::string::npos);
  browser->client = {10, 20, 111, 221};
  browser->Resize();
  EXPECT_NE(fake_webview2::Transcript().back().find("[10,20,60,120]"), std::string::npos);
}

TEST_F(EdgeBrowserTest, MinimiseAndRestoreHideAndShowTheBrowser) {
  auto browser = Created();
  fake_webview2::ClearTranscript();
  browser->SysCommand(0xF020);
  browser->SysCommand(0xF021);  // low bits set: not a minimise
  browser->SysCommand(0xF120);
  browser->VisibleChanged(false);
  const auto& t = fake_webview2::Transcript();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_NE(t[0].find("\"value\":false"), std::string::npos);
  EXPECT_NE(t[1].find("\"value\":true"), std::string::npos);
  EXPECT_NE(t[2].find("\"value\":false"), std::string::npos);
}

TEST_F(EdgeBrowserTest, CloseWebViewRemovesEveryRegistrationAndKeepsState) {
  auto browser = Created();
  browser->SubscribeToCDPEvent(u"Network.requestWillBeSent");
  ComPtr<ICoreWebView2Controller> controller = ComPtr<ICoreWebView2Controller>::Share(browser->ControllerInterface());
  browser->CloseWebView();
  for (const char* event : kAllEvents) EXPECT_EQ(fake_webview2::Registrations(event), 0) << event;
  EXPECT_EQ(fake_webview2::Registrations("DevTools:Network.requestWillBeSent"), 0);
  EXPECT_EQ(CountCalls("Close"), 1);
  EXPECT_FALSE(browser->WebViewCreated());
  EXPECT_EQ(browser->BrowserControlState(), State::Created);
  EXPECT_NE(browser->SettingsInterface(), nullptr);
  EXPECT_NE(browser->EnvironmentInterface(), nullptr);
  controller.Reset();
  browser->CreateWebView();
  EXPECT_EQ(browser->BrowserControlState(), State::Creating);
  browser->Settle();
  EXPECT_TRUE(browser->WebViewCreated());
}

TEST_F(EdgeBrowserTest, OnlyTheEnvironmentOutlivesTheControl) {
  const int before = fake_webview2::LiveObjects();
  {
    auto browser = Created();
    fake_webview2::PageNavigate(u"file:///app/index.html");
    fake_webview2::PagePostMessageJson(u"{\"id\":1}");
    browser->SubscribeToCDPEvent(u"Log.entryAdded");
    browser->Settle();
    EXPECT_GT(fake_webview2::LiveObjects(), before + 3);
    browser->CloseWebView();
  }
  fake_webview2::Pump();
  EXPECT_EQ(fake_webview2::LiveObjects(), before + 1) << "the environment's extra reference is kept on purpose";
}

TEST_F(EdgeBrowserTest, SettingsRaiseWithoutABrowserAndForwardWithOne) {
  TestBrowser browser;
  for (auto read : {&TCustomEdgeBrowser::ScriptEnabled, &TCustomEdgeBrowser::DevToolsEnabled,
                    &TCustomEdgeBrowser::ZoomControlEnabled}) {
    try {
      (browser.*read)();
      ADD_FAILURE() << "no error";
    } catch (const EEdgeError& e) {
      EXPECT_STREQ(e.what(), "WebView2 not instantiated");
      EXPECT_EQ(e.ErrorCode(), E_FAIL);
    }
  }
  EXPECT_THROW(browser.SetScriptEnabled(true), EEdgeError);
  EXPECT_EQ(browser.LastErrorCode(), S_OK);

  auto created = Created();
  created->SetDefaultContextMenusEnabled(false);
  EXPECT_FALSE(created->DefaultContextMenusEnabled());
  EXPECT_TRUE(created->ScriptEnabled());
  EXPECT_NE(fake_webview2::Transcript().back().find("AreDefaultContextMenusEnabled"), std::string::npos);
}

TEST_F(EdgeBrowserTest, PropertiesWithoutABrowserGiveTheirFallbacks) {
  TestBrowser browser;
  EXPECT_DOUBLE_EQ(browser.ZoomFactor(), 0.0);
  browser.SetZoomFactor(2.0);
  EXPECT_TRUE(browser.DocumentTitle().empty());
  EXPECT_TRUE(browser.LocationURL().empty());
  EXPECT_EQ(browser.BrowserProcessID(), 0u);
  EXPECT_FALSE(browser.CanGoBack());
  EXPECT_EQ(browser.BrowserVersionInfo(), u"119.0.1.2");
  browser.loaderMissing = true;
  EXPECT_TRUE(browser.BrowserVersionInfo().empty());
  EXPECT_EQ(browser.LastErrorCode(), E_FAIL);
  int scripts = 0;
  browser.SetOnExecuteScript([&](TCustomEdgeBrowser*, HRESULT, const ustring&) { ++scripts; });
  browser.ExecuteScript(u"1+1");
  browser.Settle();
  EXPECT_EQ(scripts, 0);
  EXPECT_TRUE(fake_webview2::Transcript().empty());
}

TEST_F(EdgeBrowserTest, PropertiesWithABrowser) {
  auto browser = Created();
  EXPECT_TRUE(browser->LocationURL().empty()) << "about:blank reads as empty";
  fake_webview2::PageNavigate(u"ABOUT:BLANK");
  EXPECT_TRUE(browser->LocationURL().empty());
  fake_webview2::PageNavigate(u"file:///app/index.html");
  EXPECT_EQ(browser->LocationURL(), u"file:///app/index.html");
  EXPECT_EQ(browser->DocumentTitle(), u"Fake Page");
  EXPECT_EQ(browser->BrowserVersionInfo(), u"120.0.2210.91");
  EXPECT_EQ(browser->BrowserProcessID(), 4242u);
  browser->SetZoomFactor(1.5);
  EXPECT_DOUBLE_EQ(browser->ZoomFactor(), 1.5);
  browser->CloseBrowserProcess();
  EXPECT_EQ(browser->endedProcesses, std::vector<uint32_t>{4242});
}

TEST_F(EdgeBrowserTest, ScriptsAndCapturesReportTheirCompletions) {
  auto browser = Created();
  std::vector<ustring> results;
  browser->SetOnExecuteScript([&](TCustomEdgeBrowser*, HRESULT hr, const ustring& json) {
    EXPECT_EQ(hr, S_OK);
    results.push_back(json);
  });
  fake_webview2::Settings().scriptResult = "{\"a\":1}";
  browser->ExecuteScript(u"vtl.events.onCloseQuery();");
  browser->Settle();
  EXPECT_EQ(results, std::vector<ustring>{u"{\"a\":1}"});

  std::vector<HRESULT> captures;
  browser->SetOnCapturePreviewCompleted([&](TCustomEdgeBrowser*, HRESULT hr) { captures.push_back(hr); });
  TMemoryStream image;
  image.Write("0123456789abcdefghijklmnopqrstuvwxyz", 36);
  browser->CapturePreview(image, TCustomEdgeBrowser::TPreviewFormat::JPEG);
  browser->Settle();
  EXPECT_EQ(captures, std::vector<HRESULT>{S_OK});
  EXPECT_EQ(image.Size(), 36u) << "written from position 0, not shortened";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Data()), 4), "\x89PNG");
  EXPECT_NE(fake_webview2::Transcript()[fake_webview2::Transcript().size() - 1].find("\"format\":1"), std::string::npos);

  browser->CapturePreview(u"Z:\\no\\such\\folder\\shot.png");
  browser->Settle();
  EXPECT_EQ(captures.size(), 1u) << "no event when the file cannot be created";
  EXPECT_EQ(browser->LastErrorCode(), kAccessDenied);
}

TEST_F(EdgeBrowserTest, DevToolsDoubleSubscriptionKeepsOneRegistration) {
  auto browser = Created();
  std::vector<std::pair<ustring, ustring>> events;
  browser->SetOnDevToolsProtocolEventReceived([&](TCustomEdgeBrowser*, const ustring& name, const ustring& json) {
    events.emplace_back(name, json);
  });
  browser->SubscribeToCDPEvent(u"Network.x");
  browser->SubscribeToCDPEvent(u"Network.x");
  EXPECT_EQ(fake_webview2::Registrations("DevTools:Network.x"), 1);
  fake_webview2::PageDevToolsEvent(u"Network.x", u"{\"p\":2}");
  EXPECT_EQ(events, (std::vector<std::pair<ustring, ustring>>{{u"Network.x", u"{\"p\":2}"}}));
}

TEST_F(EdgeBrowserTest, UnassignedEventsReadNothing) {
  auto browser = Created();
  browser->CapturePreview(u"Z:\\no\\such\\folder\\shot.png");  // leaves a known code
  fake_webview2::PageChangeTitle(u"New");
  fake_webview2::PageZoom(2.0);
  fake_webview2::PageSetFullScreen(true);
  EXPECT_EQ(browser->LastErrorCode(), kAccessDenied);

  std::vector<ustring> titles;
  browser->SetOnDocumentTitleChanged([&](TCustomEdgeBrowser*, const ustring& title) { titles.push_back(title); });
  fake_webview2::PageChangeTitle(u"Read when dispatched");
  EXPECT_EQ(titles, std::vector<ustring>{u"Read when dispatched"});
  EXPECT_EQ(browser->LastErrorCode(), S_OK);
}

TEST_F(EdgeBrowserTest, EventsCarryTheirValues) {
  auto browser = Created();
  std::vector<std::string> seen;
  browser->SetOnNavigationStarting([&](TCustomEdgeBrowser*, TNavigationStartingEventArgs* a) {
    LPWSTR uri = nullptr;
    a->ArgsInterface()->get_Uri(&uri);
    seen.push_back("starting " + Utf16ToUtf8(TakeCoTaskString(uri)));
  });
  browser->SetOnSourceChanged([&](TCustomEdgeBrowser*, bool isNew) { seen.push_back(isNew ? "source new" : "source"); });
  browser->SetOnContentLoading(
      [&](TCustomEdgeBrowser*, bool error, uint64_t id) { seen.push_back("loading " + std::to_string(error) + " " + std::to_string(id)); });
  browser->SetOnNavigationCompleted([&](TCustomEdgeBrowser*, bool ok, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    seen.push_back("completed " + std::to_string(ok) + " " + std::to_string(status));
  });
  browser->SetOnContainsFullScreenElementChanged(
      [&](TCustomEdgeBrowser*, bool full) { seen.push_back(full ? "fullscreen" : "windowed"); });
  browser->SetOnZoomFactorChanged([&](TCustomEdgeBrowser*, double z) { seen.push_back("zoom " + std::to_string(z)); });
  browser->SetOnProcessFailed(
      [&](TCustomEdgeBrowser*, COREWEBVIEW2_PROCESS_FAILED_KIND kind) { seen.push_back("failed " + std::to_string(kind)); });
  browser->SetOnWindowCloseRequested([&](void*) { seen.push_back("close"); });
  browser->SetOnPermissionRequested([&](TCustomEdgeBrowser*, TPermissionRequestedEventArgs* a) {
    a->ArgsInterface()->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
  });
  browser->SetOnNewWindowRequested(
      [&](TCustomEdgeBrowser*, TNewWindowRequestedEventArgs* a) { a->ArgsInterface()->put_Handled(TRUE); });

  fake_webview2::PageNavigate(u"http://unreachable/", false);
  fake_webview2::PageSetFullScreen(true);
  fake_webview2::PageZoom(1.25);
  fake_webview2::PageFailProcess(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
  fake_webview2::PageRequestClose();
  fake_webview2::PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND_CAMERA, u"file:///");
  fake_webview2::PageRequestNewWindow(u"file:///app/other.html");

  EXPECT_EQ(seen, (std::vector<std::string>{"starting http://unreachable/", "source new", "loading 1 1", "completed 0 12",
                                            "fullscreen", "zoom 1.250000", "failed 1", "close"}));
  const auto& t = fake_webview2::Transcript();
  EXPECT_NE(t[t.size() - 2].find("\"state\":1"), std::string::npos);
  EXPECT_NE(t.back().find("\"handled\":true"), std::string::npos);
}

TEST_F(EdgeBrowserTest, ArgumentObjectsLiveOnlyForTheHandlerButTheInterfaceMayBeKept) {
  auto browser = Created();
  ComPtr<ICoreWebView2WebMessageReceivedEventArgs> kept;
  browser->SetOnWebMessageReceived([&](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs* a) {
    kept = ComPtr<ICoreWebView2WebMessageReceivedEventArgs>::Share(a->ArgsInterface());
  });
  fake_webview2::PagePostMessageJson(u"{\"id\":10001}");
  ASSERT_TRUE(kept);
  LPWSTR json = nullptr;
  ASSERT_EQ(kept->get_WebMessageAsJson(&json), S_OK);
  EXPECT_EQ(TakeCoTaskString(json), u"{\"id\":10001}");

  // Replacing the handler sends the next message to the new one only.
  int first = 0, second = 0;
  browser->SetOnWebMessageReceived([&](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs*) { ++first; });
  browser->SetOnWebMessageReceived([&](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs*) { ++second; });
  fake_webview2::PagePostMessageString(u"hello");
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
}

TEST_F(EdgeBrowserTest, AnErrorInAHostHandlerDoesNotEscapeIntoTheBrowser) {
  auto browser = Created();
  browser->SetOnWebMessageReceived(
      [](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs*) { throw std::runtime_error("host failed"); });
  EXPECT_NO_THROW(fake_webview2::PagePostMessageJson(u"{}"));
  int calls = 0;
  browser->SetOnWebMessageReceived([&](TCustomEdgeBrowser*, TWebMessageReceivedEventArgs*) { ++calls; });
  fake_webview2::PagePostMessageJson(u"{}");
  EXPECT_EQ(calls, 1);
}

TEST_F(EdgeBrowserTest, FocusAndKeys) {
  auto browser = Created();
  int enters = 0, exits = 0;
  browser->OnEnter = [&](TCustomEdgeBrowser*) { ++enters; };
  browser->OnExit = [&](TCustomEdgeBrowser*) { ++exits; };
  fake_webview2::ClearTranscript();

  fake_webview2::PageGotFocus();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(CountCalls("MoveFocus"), 0) << "the browser's own focus is not pushed back into it";
  browser->DoEnter();
  EXPECT_EQ(CountCalls("MoveFocus"), 1);
  browser->SetFocus();
  EXPECT_EQ(CountCalls("MoveFocus"), 2);
  fake_webview2::PageLostFocus();
  EXPECT_EQ(exits, 1);

  fake_webview2::PageMoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT);
  fake_webview2::PageMoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS);
  fake_webview2::PageMoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
  EXPECT_EQ(browser->selectNext, (std::vector<bool>{true, false}));

  EXPECT_FALSE(fake_webview2::PageAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, 0x41, 1));
  browser->acceptShortCut = true;
  EXPECT_TRUE(fake_webview2::PageAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN, 0x73, 1));
  EXPECT_TRUE(fake_webview2::PageAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP, 0x73, 1));
  EXPECT_EQ(browser->shortCutMessages, (std::vector<UINT>{0x100, 0x104, 0x105}));
}

TEST_F(EdgeBrowserTest, RemadeWindowRecreatesTheBrowserAtOnce) {
  auto browser = Created();
  browser->SetSizeRatio(0.5);
  browser->WindowRecreated();
  EXPECT_EQ(browser->workerStarts, 1) << "no worker for a re-initialisation";
  EXPECT_DOUBLE_EQ(browser->SizeRatio(), 1.0);
  browser->Settle();
  EXPECT_TRUE(browser->WebViewCreated());
  EXPECT_EQ(CountCalls("CreateCoreWebView2Environment"), 2);
}

}  // namespace
}  // namespace vantrel
