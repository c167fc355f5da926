// The browser control in a real window, against the WebView2 double: it is
// created, navigates, answers a resource request and a web message, receives
// the page's events in order and closes cleanly.
// Usage: edge_browser_test.exe <path of the double's WebView2LoaderWin64.dll>
// The double plays the scenario named by FAKE_WEBVIEW2_SCENARIO.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/com_text.h"
#include "platform/memory_istream.h"
#include "platform/win32/win_text.h"
#include "shared/edge/edge_browser_win32.h"
#include "shared/edge/edge_loader.h"
#include "shared/edge/edge_loader_path.h"
#include "tests/win32/check.h"

using namespace vantrel;

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeHostWindow() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"EdgeBrowserTestHost";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Browser control test", WS_OVERLAPPEDWINDOW, 50, 50,
                                640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  return window;
}

std::string Narrow(const ustring& text) { return Utf16ToUtf8(text); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wintest::Checker check{"edge browser"};
  if (argc < 2) return 2;
  MaskFloatingPointExceptions();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EdgeLoaderPath = win32::FromW(argv[1]);

  std::vector<std::string> events;
  HWND host = MakeHostWindow();
  {
    TEdgeBrowser browser;
    browser.SetOnCreateWebViewCompleted([&](TCustomEdgeBrowser* sender, HRESULT hr) {
      events.push_back("created " + std::to_string(hr));
      sender->SetScriptEnabled(true);
      sender->AddWebResourceRequestedFilter(u"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    });
    browser.SetOnNavigationStarting([&](TCustomEdgeBrowser*, TNavigationStartingEventArgs*) { events.push_back("starting"); });
    browser.SetOnNavigationCompleted([&](TCustomEdgeBrowser*, bool ok, COREWEBVIEW2_WEB_ERROR_STATUS) {
      events.push_back(ok ? "completed" : "failed");
    });
    browser.SetOnDocumentTitleChanged(
        [&](TCustomEdgeBrowser*, const ustring& title) { events.push_back("title " + Narrow(title)); });
    browser.SetOnWebResourceRequested([&](TCustomEdgeBrowser* sender, TWebResourceRequestedEventArgs* args) {
      ComPtr<ICoreWebView2WebResourceRequest> request;
      args->ArgsInterface()->get_Request(request.Put());
      LPWSTR uri = nullptr;
      request->get_Uri(&uri);
      events.push_back("request " + Narrow(TakeCoTaskString(uri)));
      TMemoryStream body;
      body.Write("<h1>hello</h1>", 14);
      ComPtr<ICoreWebView2WebResourceResponse> response;
      sender->EnvironmentInterface()->CreateWebResourceResponse(TMemoryIStream::Owning(std::move(body)).Get(), 200,
                                                                L"OK", L"Content-Type: text/html; charset=utf-8",
                                                                response.Put());
      args->ArgsInterface()->put_Response(response.Get());
    });
    browser.SetOnWebMessageReceived([&](TCustomEdgeBrowser* sender, TWebMessageReceivedEventArgs* args) {
      LPWSTR json = nullptr;
      args->ArgsInterface()->get_WebMessageAsJson(&json);
      const ustring message = TakeCoTaskString(json);
      events.push_back("message " + Narrow(message));
      sender->DefaultInterface()->PostWebMessageAsJson(ToWide(u"{\"echo\": " + message + u"}"));
    });
    browser.SetOnWindowCloseRequested([&](void*) {
      events.push_back("close");
      DestroyWindow(host);
    });

    browser.Navigate(u"file:///app/index.html");  // before creation: kept for later
    browser.SetParent(host);
    check.Check(browser.BrowserControlState() == TCustomEdgeBrowser::TBrowserControlState::Creating,
                "creating once a parent is given");

    SetTimer(nullptr, 0, 20000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(3); });  // never hang
    MSG message;
    int quitCode = 0;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    quitCode = static_cast<int>(message.wParam);
    check.Check(quitCode == 0, "the page asked to close before the time limit");
    check.Check(browser.BrowserControlState() == TCustomEdgeBrowser::TBrowserControlState::Created, "state Created");
    browser.CloseWebView();
    check.Check(!browser.WebViewCreated(), "closed");
  }

  std::string joined;
  for (const auto& e : events) joined += e + "; ";
  std::printf("events: %s\n", joined.c_str());
  const std::vector<std::string> expected = {
      "created 0", "starting", "request file:///app/index.html", "title Fake Page", "completed",
      "message {\"id\":10001,\"uuid\":\"u-1\",\"data\":{}}", "title Changed by the page", "close"};
  check.Check(events == expected, "events in order");

  using LiveObjectsFn = int(STDAPICALLTYPE*)();
  HMODULE loader = GetModuleHandleW(L"WebView2LoaderWin64.dll");
  const auto live = loader ? reinterpret_cast<LiveObjectsFn>(
                                 reinterpret_cast<void*>(GetProcAddress(loader, "FakeWebView2LiveObjects")))
                           : nullptr;
  check.Check(live && live() == 1, "only the environment remains alive (" + std::to_string(live ? live() : -1) + ")");
  UnbindEdgeLoader();
  CoUninitialize();
  return check.Finish();
}
