// Configuration, transcript, live-object count, page behaviour and scenarios.
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

#include <rapidjson/document.h>

#include "platform/json_quote.h"
#include "engines/webview2/fake_browser.h"

namespace fake_webview2 {

using vantrel::Utf8ToUtf16;

namespace {
std::atomic<int> gLive{0};
std::atomic<int64_t> gNextToken{1};
std::mutex gTranscriptLock;
std::vector<std::string> gTranscript;
std::string gTranscriptFile;

Config& MutableConfig() {
  static Config config;
  return config;
}

FakeWebView* CurrentWebView() {
  FakeController* controller = CurrentController();
  return controller ? controller->WebView() : nullptr;
}

struct Step {
  std::string verb;
  std::string argument;
};
std::vector<Step> gScenario;
bool gScenarioStarted = false;

void RunStep(size_t index);

void ScheduleStep(size_t index, unsigned delay) {
  if (index < gScenario.size()) Post([index] { RunStep(index); }, delay);
}

std::pair<std::string, std::string> SplitFirstWord(const std::string& text) {
  const size_t space = text.find(' ');
  if (space == std::string::npos) return {text, ""};
  return {text.substr(0, space), text.substr(space + 1)};
}

unsigned ExecuteStep(const Step& step);

void RunStep(size_t index) {
  // A real page's engine plays the steps only it can (click, probe, ...).
  const Step& step = gScenario[index];
  FakeWebView* web = CurrentWebView();
  if (web && web->Engine() &&
      web->Engine()->PlayStep(step.verb, step.argument, [index] { ScheduleStep(index + 1, 0); })) {
    Record("{\"scenario\":" + vantrel::JsonQuoteUtf8(step.verb) + ",\"argument\":" +
           vantrel::JsonQuoteUtf8(step.argument) + "}");
    return;
  }
  ScheduleStep(index + 1, ExecuteStep(step));
}

// Plays one step; returns the delay before the next one.
unsigned ExecuteStep(const Step& step) {
  const ustring argument = Utf8ToUtf16(step.argument);
  Record("{\"scenario\":" + vantrel::JsonQuoteUtf8(step.verb) + ",\"argument\":" + vantrel::JsonQuoteUtf8(step.argument) +
         "}");
  unsigned nextDelay = 0;
  if (step.verb == "navigate") {
    if (FakeWebView* web = CurrentWebView()) web->PlayNavigation(argument, true);
  } else if (step.verb == "request") {
    PageRequestResource(argument);
  } else if (step.verb == "request-range") {
    // "request-range bytes=FIRST-LAST URI"
    const auto [range, uri] = SplitFirstWord(step.argument);
    PageRequestResource(Utf8ToUtf16(uri), Utf8ToUtf16(range));
  } else if (step.verb == "message-json") {
    PagePostMessageJson(argument);
  } else if (step.verb == "message-string") {
    PagePostMessageString(argument);
  } else if (step.verb == "title") {
    PageChangeTitle(argument);
  } else if (step.verb == "new-window") {
    PageRequestNewWindow(argument);
  } else if (step.verb == "permission") {
    const auto [kind, uri] = SplitFirstWord(step.argument);
    PageRequestPermission(static_cast<COREWEBVIEW2_PERMISSION_KIND>(std::atoi(kind.c_str())), Utf8ToUtf16(uri));
  } else if (step.verb == "close") {
    PageRequestClose();
  } else if (step.verb == "fail-process") {
    PageFailProcess(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(std::atoi(step.argument.c_str())));
  } else if (step.verb == "fullscreen") {
    PageSetFullScreen(step.argument == "1");
  } else if (step.verb == "on-script") {
    const size_t bar = step.argument.rfind(" | ");
    if (bar != std::string::npos)
      Settings().scriptMessages.emplace_back(step.argument.substr(0, bar), step.argument.substr(bar + 3));
  } else if (step.verb == "wait") {
    nextDelay = static_cast<unsigned>(std::atoi(step.argument.c_str()));
  } else if (step.verb == "after") {
    // "after MS VERB ARGUMENT": that step on its own timer, while the
    // sequence goes on (it may then arrive inside a host's modal loop).
    const auto [delay, rest] = SplitFirstWord(step.argument);
    const auto [verb, restArgument] = SplitFirstWord(rest);
    const Step later{verb, restArgument};
    Post([later] { ExecuteStep(later); }, static_cast<unsigned>(std::atoi(delay.c_str())));
  } else {
    Record("{\"scenario-error\":\"unknown step\",\"verb\":" + vantrel::JsonQuoteUtf8(step.verb) + "}");
  }
  return nextDelay;
}
}  // namespace

Config& Settings() { return MutableConfig(); }
void ResetSettings() { MutableConfig() = Config{}; }

void AddLive(int delta) { gLive += delta; }
int LiveObjects() { return gLive.load(); }
int64_t NextToken() { return gNextToken++; }

std::string J(const ustring& text) { return vantrel::JsonQuoteUtf8(vantrel::Utf16ToUtf8(text)); }
std::string J(const WCHAR* text) { return J(vantrel::FromWide(text)); }
std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

bool JsonStringValue(const ustring& json, ustring& text) {
  rapidjson::Document document;
  const std::string utf8 = vantrel::Utf16ToUtf8(json);
  if (document.Parse(utf8.c_str(), utf8.size()).HasParseError() || !document.IsString()) return false;
  text = Utf8ToUtf16(std::string(document.GetString(), document.GetStringLength()));
  return true;
}

void Record(const std::string& jsonObject) {
  {
    std::lock_guard<std::mutex> guard(gTranscriptLock);
    gTranscript.push_back(jsonObject);
    if (!gTranscriptFile.empty()) {
      std::ofstream out(gTranscriptFile, std::ios::app | std::ios::binary);
      out << jsonObject << "\n";
    }
  }
  PageViewRecorded(jsonObject);
}

const std::vector<std::string>& Transcript() { return gTranscript; }
void ClearTranscript() {
  std::lock_guard<std::mutex> guard(gTranscriptLock);
  gTranscript.clear();
}
void SetTranscriptFile(const std::string& path) { gTranscriptFile = path; }

HRESULT CreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  Record("{\"call\":\"CreateCoreWebView2Environment\"}");
  const Config& config = Settings();
  if (FAILED(config.environmentCallResult)) return config.environmentCallResult;
  if (!handler) return E_POINTER;
  if (FAILED(config.environmentResult)) {
    handler->Invoke(config.environmentResult, nullptr);
    return S_OK;
  }
  auto environment = ComPtr<FakeEnvironment>::Attach(new FakeEnvironment);
  handler->Invoke(S_OK, environment.Get());
  return S_OK;
}

bool HasBrowser() { return CurrentWebView() != nullptr; }

void PageNavigate(const ustring& uri, bool success) {
  if (FakeWebView* web = CurrentWebView()) web->PlayNavigation(uri, success);
}

void PageRequestResource(const ustring& uri, const ustring& range) {
  if (FakeWebView* web = CurrentWebView()) web->RequestResource(uri, range);
}

// Messages come from the document shown: the address of the last navigation
// (file:/// before the first, as the host always starts there).
ustring PageSource(FakeWebView& web) {
  LPWSTR source = nullptr;
  web.get_Source(&source);
  const ustring address = vantrel::TakeCoTaskString(source);
  return address == u"about:blank" ? ustring(u"file:///") : address;
}

void PagePostMessageJson(const ustring& json) {
  if (FakeWebView* web = CurrentWebView()) web->RaiseWebMessage(PageSource(*web), json);
}

void PagePostMessageString(const ustring& text) {
  if (FakeWebView* web = CurrentWebView())
    web->RaiseWebMessage(PageSource(*web), Utf8ToUtf16(vantrel::JsonQuoteUtf8(vantrel::Utf16ToUtf8(text))));
}

void PageChangeTitle(const ustring& title) {
  if (FakeWebView* web = CurrentWebView()) web->SetTitle(title);
}

void PageRequestNewWindow(const ustring& uri) {
  if (FakeWebView* web = CurrentWebView()) web->RaiseNewWindow(uri);
}

void PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND kind, const ustring& uri) {
  FakeWebView* web = CurrentWebView();
  if (!web) return;
  auto args = ComPtr<FakePermissionArgs>::Attach(new FakePermissionArgs(kind, uri));
  web->PermissionRequested.Raise(static_cast<ICoreWebView2*>(web), args.Get());
  Record("{\"event\":\"permission\",\"kind\":" + std::to_string(kind) + ",\"state\":" + std::to_string(args->State()) +
         "}");
}

void PageRequestClose() {
  if (FakeWebView* web = CurrentWebView()) web->RaiseCloseRequested();
}

void PageFailProcess(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  if (FakeWebView* web = CurrentWebView()) web->RaiseProcessFailed(kind);
}

void PageSetFullScreen(bool fullScreen) {
  if (FakeWebView* web = CurrentWebView()) web->SetFullScreen(fullScreen);
}

void PageGotFocus() {
  if (FakeController* c = CurrentController()) {
    c->GotFocus.Raise(static_cast<ICoreWebView2Controller*>(c), static_cast<IUnknown*>(nullptr));
  }
}

void PageLostFocus() {
  if (FakeController* c = CurrentController()) {
    c->LostFocus.Raise(static_cast<ICoreWebView2Controller*>(c), static_cast<IUnknown*>(nullptr));
  }
}

void PageMoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  FakeController* c = CurrentController();
  if (!c) return;
  auto args = ComPtr<FakeMoveFocusArgs>::Attach(new FakeMoveFocusArgs(reason));
  c->MoveFocusRequested.Raise(static_cast<ICoreWebView2Controller*>(c), args.Get());
}

bool PageAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, INT lParam) {
  FakeController* c = CurrentController();
  if (!c) return false;
  auto args = ComPtr<FakeAcceleratorKeyArgs>::Attach(new FakeAcceleratorKeyArgs(kind, virtualKey, lParam));
  c->AcceleratorKeyPressed.Raise(static_cast<ICoreWebView2Controller*>(c), args.Get());
  return args->Handled();
}

void PageDevToolsEvent(const ustring& name, const ustring& parameterJson) {
  FakeWebView* web = CurrentWebView();
  if (!web) return;
  ComPtr<ICoreWebView2DevToolsProtocolEventReceiver> receiver;
  web->GetDevToolsProtocolEventReceiver(vantrel::ToWide(name), receiver.Put());
  auto args = ComPtr<FakeDevToolsEventArgs>::Attach(new FakeDevToolsEventArgs(parameterJson));
  static_cast<FakeDevToolsReceiver*>(receiver.Get())
      ->DevToolsProtocolEventReceived.Raise(static_cast<ICoreWebView2*>(web), args.Get());
}

void PageZoom(double factor) {
  if (FakeController* c = CurrentController()) c->put_ZoomFactor(factor);
}

int Registrations(const std::string& eventName) {
  FakeController* c = CurrentController();
  if (!c) return 0;
  FakeWebView* w = c->WebView();
  if (eventName.rfind("DevTools:", 0) == 0) return w->DevToolsRegistrations(Utf8ToUtf16(eventName.substr(9)));
#define FAKE_COUNT(owner, Name) \
  if (eventName == #Name) return owner->Name.Count();
  FAKE_COUNT(w, NavigationStarting)
  FAKE_COUNT(w, NavigationCompleted)
  FAKE_COUNT(w, SourceChanged)
  FAKE_COUNT(w, HistoryChanged)
  FAKE_COUNT(w, ContentLoading)
  FAKE_COUNT(w, DocumentTitleChanged)
  FAKE_COUNT(w, NewWindowRequested)
  FAKE_COUNT(w, FrameNavigationStarting)
  FAKE_COUNT(w, FrameNavigationCompleted)
  FAKE_COUNT(w, WebResourceRequested)
  FAKE_COUNT(w, ScriptDialogOpening)
  FAKE_COUNT(w, PermissionRequested)
  FAKE_COUNT(w, ProcessFailed)
  FAKE_COUNT(w, WebMessageReceived)
  FAKE_COUNT(w, ContainsFullScreenElementChanged)
  FAKE_COUNT(w, WindowCloseRequested)
  FAKE_COUNT(c, ZoomFactorChanged)
  FAKE_COUNT(c, MoveFocusRequested)
  FAKE_COUNT(c, AcceleratorKeyPressed)
  FAKE_COUNT(c, GotFocus)
  FAKE_COUNT(c, LostFocus)
#undef FAKE_COUNT
  return -1;
}

std::vector<ustring> DocumentScripts() {
  FakeWebView* web = CurrentWebView();
  return web ? web->scripts : std::vector<ustring>{};
}

void LoadScenario(const std::string& path) {
  gScenario.clear();
  gScenarioStarted = false;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto [verb, argument] = SplitFirstWord(line);
    gScenario.push_back({verb, argument});
  }
}

void OnHostNavigated() {
  if (gScenarioStarted || gScenario.empty()) return;
  gScenarioStarted = true;
  ScheduleStep(0, 0);
}

}  // namespace fake_webview2
