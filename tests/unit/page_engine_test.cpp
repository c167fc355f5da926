// The WebView2 stand-in's object model with an engine behind it: what the
// host asks reaches the engine, and what the engine reports reaches the host
// whole (the host's answer to a request, messages, cancellations).
#include <gtest/gtest.h>

#include "engines/chromium/base64.h"
#include "engines/chromium/net_errors.h"
#include "engines/webview2/fake_browser.h"
#include "platform/com_object.h"
#include "platform/com_text.h"
#include "platform/memory_istream.h"

namespace {

using fake_webview2::FakeController;
using fake_webview2::FakeEnvironment;
using fake_webview2::FakeWebView;
using vantrel::ComPtr;
using vantrel::MakeHandler;
using vantrel::ustring;

// Records what the web view passes on, one line a call.
class RecordingEngine final : public fake_webview2::PageEngine {
 public:
  std::vector<std::string> calls;
  FakeWebView* bound = nullptr;
  void Bind(FakeWebView* view) override { bound = view; }
  void Navigate(const ustring& uri) override { calls.push_back("navigate " + vantrel::Utf16ToUtf8(uri)); }
  void AddScript(const ustring& source) override { calls.push_back("script " + vantrel::Utf16ToUtf8(source)); }
  void Execute(const ustring& script, std::function<void(HRESULT, const ustring&)> done) override {
    calls.push_back("execute " + vantrel::Utf16ToUtf8(script));
    done(S_OK, u"{\"answer\":42}");
  }
  void PostJson(const ustring& json) override { calls.push_back("post " + vantrel::Utf16ToUtf8(json)); }
  void PostString(const ustring& text) override { calls.push_back("post-string " + vantrel::Utf16ToUtf8(text)); }
  void Capture(std::function<void(HRESULT, const std::string&)> done) override { done(S_OK, "PNG!"); }
  void Reload() override { calls.push_back("reload"); }
  void Stop() override { calls.push_back("stop"); }
  void Place(HWND, const RECT& r, bool visible) override {
    calls.push_back("place " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
                    (visible ? " shown" : " hidden"));
  }
  void Focus() override { calls.push_back("focus"); }
  void Close() override { calls.push_back("close"); }
  bool PlayStep(const std::string&, const std::string&, std::function<void()>) override { return false; }
};

struct StandInEngine : ::testing::Test {
  void SetUp() override {
    fake_webview2::ResetSettings();
    controller = ComPtr<FakeController>::Attach(new FakeController);
    controller->WebView()->AttachEngine(engine);
    web = controller->WebView();
  }
  std::shared_ptr<RecordingEngine> engine = std::make_shared<RecordingEngine>();
  ComPtr<FakeController> controller;
  FakeWebView* web = nullptr;
};

TEST_F(StandInEngine, HostCallsReachTheEngine) {
  EXPECT_EQ(engine->bound, web);
  web->Navigate(u"file:///index.html");
  web->AddScriptToExecuteOnDocumentCreated(u"window.x = 1", nullptr);
  std::string result;
  web->ExecuteScript(u"1 + 1", MakeHandler<ICoreWebView2ExecuteScriptCompletedHandler>(
                                   [&](HRESULT hr, LPCWSTR json) {
                                     EXPECT_EQ(hr, S_OK);
                                     result = vantrel::Utf16ToUtf8(vantrel::FromWide(json));
                                     return S_OK;
                                   }).Get());
  web->PostWebMessageAsJson(u"{\"a\":1}");
  web->PostWebMessageAsString(u"text");
  controller->put_Bounds(RECT{0, 0, 640, 480});
  controller->put_IsVisible(FALSE);
  controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
  controller->Close();
  EXPECT_EQ(result, "{\"answer\":42}");
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"navigate file:///index.html", "script window.x = 1",
                                                     "execute 1 + 1", "post {\"a\":1}", "post-string text",
                                                     "place 640x480 shown", "place 640x480 hidden", "focus", "close"}));
}

TEST_F(StandInEngine, TheHostsAnswerToARequestIsCarriedWhole) {
  auto environment = ComPtr<FakeEnvironment>::Attach(new FakeEnvironment);
  web->AddWebResourceRequestedFilter(u"file:///*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
  std::string rangeSeen;
  EventRegistrationToken token{};
  web->add_WebResourceRequested(
      MakeHandler<ICoreWebView2WebResourceRequestedEventHandler>(
          [&](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
            ComPtr<ICoreWebView2WebResourceRequest> request;
            args->get_Request(request.Put());
            LPWSTR uri = nullptr;
            request->get_Uri(&uri);
            if (vantrel::TakeCoTaskString(uri) != u"file:///clip.webm") return S_OK;  // not ours: no answer
            ComPtr<ICoreWebView2HttpRequestHeaders> headers;
            request->get_Headers(headers.Put());
            LPWSTR range = nullptr;
            if (SUCCEEDED(headers->GetHeader(u"Range", &range))) rangeSeen = vantrel::Utf16ToUtf8(vantrel::TakeCoTaskString(range));
            vantrel::TMemoryStream body;
            body.Write("hello", 5);
            ComPtr<ICoreWebView2WebResourceResponse> response;
            environment->CreateWebResourceResponse(vantrel::TMemoryIStream::Owning(std::move(body)).Get(), 206,
                                                   u"Partial Content",
                                                   u"Content-Type: video/webm\r\nContent-Range: bytes 0-4/10",
                                                   response.Put());
            return args->put_Response(response.Get());
          })
          .Get(),
      &token);

  const auto answer = web->RaiseResourceRequested(u"file:///clip.webm", u"GET", {{u"Range", u"bytes=0-4"}});
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.status, 206);
  EXPECT_EQ(answer.reason, u"Partial Content");
  EXPECT_EQ(answer.headers, (std::vector<std::pair<ustring, ustring>>{{u"Content-Type", u"video/webm"},
                                                                      {u"Content-Range", u"bytes 0-4/10"}}));
  EXPECT_EQ(answer.body, "hello");
  EXPECT_EQ(rangeSeen, "bytes=0-4");

  EXPECT_FALSE(web->RaiseResourceRequested(u"file:///other.html", u"GET", {}).answered) << "the host gave none";
  EXPECT_FALSE(web->RaiseResourceRequested(u"https://example.com/", u"GET", {}).answered) << "no filter matches";
}

TEST_F(StandInEngine, MessagesAreReadableAsTheHostExpects) {
  struct Case {
    ustring json;
    bool isString;
    ustring text;
  };
  const Case cases[] = {
      {u"\"plain\"", true, u"plain"},
      {u"\"quote \\\" and \\u00e9\"", true, u"quote \" and \u00e9"},
      {u"{\"id\":1}", false, u""},
      {u"[1,2]", false, u""},
      {u"\"unterminated", false, u""},
  };
  for (const Case& c : cases) {
    ustring source, json, text;
    HRESULT asString = S_OK;
    EventRegistrationToken token{};
    web->add_WebMessageReceived(MakeHandler<ICoreWebView2WebMessageReceivedEventHandler>(
                                    [&](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
                                      LPWSTR value = nullptr;
                                      args->get_Source(&value);
                                      source = vantrel::TakeCoTaskString(value);
                                      args->get_WebMessageAsJson(&value);
                                      json = vantrel::TakeCoTaskString(value);
                                      asString = args->TryGetWebMessageAsString(&value);
                                      text = vantrel::TakeCoTaskString(value);
                                      return S_OK;
                                    })
                                    .Get(),
                                &token);
    web->RaiseWebMessage(u"file:///frame.html", c.json);
    web->remove_WebMessageReceived(token);
    EXPECT_EQ(source, u"file:///frame.html");
    EXPECT_EQ(json, c.json);
    EXPECT_EQ(SUCCEEDED(asString), c.isString) << vantrel::Utf16ToUtf8(c.json);
    EXPECT_EQ(text, c.text);
  }
}

TEST_F(StandInEngine, ACancelledNavigationIsReported) {
  EventRegistrationToken token{};
  web->add_NavigationStarting(MakeHandler<ICoreWebView2NavigationStartingEventHandler>(
                                  [](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                                    LPWSTR uri = nullptr;
                                    args->get_Uri(&uri);
                                    if (vantrel::TakeCoTaskString(uri).find(u"blocked") != ustring::npos)
                                      args->put_Cancel(TRUE);
                                    return S_OK;
                                  })
                                  .Get(),
                              &token);
  EXPECT_TRUE(web->RaiseNavigationStarting(u"file:///index.html"));
  EXPECT_FALSE(web->RaiseNavigationStarting(u"https://blocked.example/"));
}

TEST(ChromiumProtocol, Base64RoundTripsAnyBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {std::string("\0\xff\x10", 3), "AP8Q"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(vantrel::chromium::Base64Encode(bytes), text);
    EXPECT_EQ(vantrel::chromium::Base64Decode(text), bytes);
  }
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(vantrel::chromium::Base64Decode(vantrel::chromium::Base64Encode(all)), all);
  EXPECT_EQ(vantrel::chromium::Base64Decode("Zm9v\nYmFy"), "foobar") << "line breaks are skipped";
}

TEST(ChromiumProtocol, NetworkErrorsMapToWebErrorStatus) {
  const std::pair<const char*, COREWEBVIEW2_WEB_ERROR_STATUS> cases[] = {
      {"net::ERR_CONNECTION_REFUSED", COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT},
      {"net::ERR_NAME_NOT_RESOLVED", COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED},
      {"net::ERR_TIMED_OUT", COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT},
      {"net::ERR_ABORTED", COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED},
      {"net::ERR_CERT_AUTHORITY_INVALID", COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
      {"net::ERR_SOMETHING_NEW", COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR},
      {"", COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR},
  };
  for (const auto& [name, status] : cases) EXPECT_EQ(vantrel::chromium::WebErrorStatusOf(name), status) << name;
}

}  // namespace
