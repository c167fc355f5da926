#include "engines/chromium/chromium_engine_win32.h"

#include <objbase.h>
#include <rapidjson/document.h>

#include <stdexcept>

#include "engines/chromium/base64.h"
#include "engines/chromium/net_errors.h"
#include "engines/webview2/fake_browser.h"
#include "platform/json_quote.h"

namespace vantrel::chromium {

using fake_webview2::FakeWebView;
using fake_webview2::J;
using fake_webview2::Post;
using fake_webview2::Record;

namespace {

std::string Text(const rapidjson::Value& object, const char* name) {
  const auto member = object.FindMember(name);
  return member != object.MemberEnd() && member->value.IsString()
             ? std::string(member->value.GetString(), member->value.GetStringLength())
             : std::string();
}

bool Flag(const rapidjson::Value& object, const char* name) {
  const auto member = object.FindMember(name);
  return member != object.MemberEnd() && member->value.IsBool() && member->value.GetBool();
}

int Number(const rapidjson::Value& object, const char* name) {
  const auto member = object.FindMember(name);
  return member != object.MemberEnd() && member->value.IsInt() ? member->value.GetInt() : 0;
}

// The completion waiting for answer `id`, taken out (empty if none).
template <typename Completions>
typename Completions::mapped_type TakePending(Completions& pending, int id) {
  const auto it = pending.find(id);
  if (it == pending.end()) return {};
  auto done = std::move(it->second);
  pending.erase(it);
  return done;
}

// A click as the person's mouse makes it: through the system's input queue
// to whatever window is at that point of the screen. The move goes in the
// same queue, so the press happens where the pointer arrived.
void ClickAtScreen(POINT point) {
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  if (width <= 1 || height <= 1) return;
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x - left) * 65535LL / (width - 1));
    input.mi.dy = static_cast<LONG>((point.y - top) * 65535LL / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

// Milliseconds since this process started (for the first-paint figure).
long long MsSinceStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (ticks(now) - ticks(created)) / 10000;
}

void TypeText(const ustring& text) {
  std::vector<INPUT> inputs;
  for (const char16_t c : text) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(c);
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

std::shared_ptr<ChromiumEngine> ChromiumEngine::Start(HelperLaunch& launch, std::string& version) {
  std::string ready;
  auto link = HelperLink::Connect(launch, ready);
  rapidjson::Document document;
  if (!document.Parse(ready.c_str()).HasParseError() && document.IsObject()) version = Text(document, "version");
  return std::shared_ptr<ChromiumEngine>(new ChromiumEngine(std::move(link)));
}

void ChromiumEngine::Bind(fake_webview2::FakeWebView* view) {
  view_ = view;
  if (view && !listening_) {
    listening_ = true;
    Listen();
  }
}

ChromiumEngine::ChromiumEngine(std::unique_ptr<HelperLink> link)
    : link_(std::move(link)), pageView_([this](const std::string& op) { Send(op); }) {}

ChromiumEngine::~ChromiumEngine() { link_.reset(); }

void ChromiumEngine::Listen() {
  std::weak_ptr<ChromiumEngine> weak = weak_from_this();
  link_->Listen(
      [weak](std::string line) {
        // Pictures are decoded here, off the user-interface thread.
        if (line.compare(0, 13, "{\"ev\":\"frame\"") == 0) {
          static thread_local const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
          rapidjson::Document frame;
          Picture picture;
          if (!comReady || frame.Parse(line.c_str(), line.size()).HasParseError() || !frame.IsObject() ||
              !DecodePicture(Base64Decode(Text(frame, "jpeg")), picture))
            return;
          auto shared = std::make_shared<Picture>(std::move(picture));
          Post([weak, shared] {
            auto self = weak.lock();
            if (!self) return;
            if (!self->pageView_.Painted()) Record("{\"event\":\"first-paint\",\"ms\":" + std::to_string(MsSinceStart()) + "}");
            self->pageView_.Show(std::move(*shared));
          });
          return;
        }
        Post([weak, line] {
          if (auto self = weak.lock()) self->Handle(line);
        });
      },
      [weak] {
        Post([weak] {
          auto self = weak.lock();
          if (!self || self->closed_ || self->failed_) return;
          self->failed_ = true;
          if (FakeWebView* view = self->view_)
            vantrel::ComPtr<FakeWebView>::Share(view)->RaiseProcessFailed(
                COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
        });
      });
}

void ChromiumEngine::Handle(const std::string& line) {
  rapidjson::Document event;
  if (event.Parse(line.c_str(), line.size()).HasParseError() || !event.IsObject()) return;
  const std::string kind = Text(event, "ev");
  if (kind == "executed") {
    if (auto done = TakePending(executions_, Number(event, "id"))) done(S_OK, Utf8ToUtf16(Text(event, "json")));
    return;
  }
  if (kind == "captured") {
    if (auto done = TakePending(captures_, Number(event, "id"))) done(S_OK, Base64Decode(Text(event, "png")));
    return;
  }
  if (!view_ || closed_) {
    // No host to ask: requests go on as the engine would handle them.
    if (kind == "request") Send("{\"op\":\"continue\",\"requestId\":" + JsonQuoteUtf8(Text(event, "requestId")) + "}");
    return;
  }
  auto view = vantrel::ComPtr<FakeWebView>::Share(view_);
  if (kind == "request") {
    const std::string requestId = JsonQuoteUtf8(Text(event, "requestId"));
    const ustring uri = Utf8ToUtf16(Text(event, "url"));
    if (Flag(event, "mainDocument") && !view->RaiseNavigationStarting(uri)) {
      Send("{\"op\":\"fail\",\"requestId\":" + requestId + "}");
      return;
    }
    std::vector<std::pair<ustring, ustring>> headers;
    const auto members = event.FindMember("headers");
    if (members != event.MemberEnd() && members->value.IsObject()) {
      for (const auto& header : members->value.GetObject()) {
        if (header.value.IsString())
          headers.emplace_back(Utf8ToUtf16(header.name.GetString()), Utf8ToUtf16(header.value.GetString()));
      }
    }
    const auto answer = view->RaiseResourceRequested(uri, Utf8ToUtf16(Text(event, "method")), headers);
    if (!answer.answered) {
      Send("{\"op\":\"continue\",\"requestId\":" + requestId + "}");
      return;
    }
    std::string op = "{\"op\":\"respond\",\"requestId\":" + requestId + ",\"status\":" + std::to_string(answer.status) +
                     ",\"reason\":" + J(answer.reason) + ",\"headers\":[";
    for (size_t i = 0; i < answer.headers.size(); ++i) {
      op += (i ? ",[" : "[") + J(answer.headers[i].first) + "," + J(answer.headers[i].second) + "]";
    }
    Send(op + "],\"body\":\"" + Base64Encode(answer.body) + "\"}");
  } else if (kind == "sourceChanged") {
    view->RaiseSourceChanged(Utf8ToUtf16(Text(event, "url")));
  } else if (kind == "contentLoading") {
    view->RaiseContentLoading(Flag(event, "errorPage"));
  } else if (kind == "navigationCompleted") {
    const bool success = Flag(event, "success");
    view->RaiseNavigationCompleted(success,
                                   success ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN : WebErrorStatusOf(Text(event, "errorText")));
    if (!navigated_) {
      navigated_ = true;
      fake_webview2::OnHostNavigated();
    }
  } else if (kind == "message") {
    view->RaiseWebMessage(Utf8ToUtf16(Text(event, "source")), Utf8ToUtf16(Text(event, "json")));
  } else if (kind == "title") {
    view->SetTitle(Utf8ToUtf16(Text(event, "title")));
  } else if (kind == "newWindow") {
    const bool handled = view->RaiseNewWindow(Utf8ToUtf16(Text(event, "url")));
    Send("{\"op\":\"newWindow\",\"id\":" + JsonQuoteUtf8(Text(event, "id")) + ",\"handled\":" +
         (handled ? "true" : "false") + "}");
  } else if (kind == "windowCloseRequested") {
    view->RaiseCloseRequested();
  } else if (kind == "processFailed") {
    const auto failure = static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(Number(event, "kind"));
    failed_ = failure == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED;
    view->RaiseProcessFailed(failure);
  }
}

void ChromiumEngine::Navigate(const ustring& uri) { Send("{\"op\":\"navigate\",\"url\":" + J(uri) + "}"); }

void ChromiumEngine::AddScript(const ustring& source) {
  Send("{\"op\":\"addScript\",\"source\":" + J(source) + "}");
}

void ChromiumEngine::RunScript(const std::string& script, std::function<void(HRESULT, const ustring&)> done) {
  const int id = nextId_++;
  executions_[id] = std::move(done);
  Send("{\"op\":\"execute\",\"id\":" + std::to_string(id) + ",\"script\":" + JsonQuoteUtf8(script) + "}");
}

void ChromiumEngine::Execute(const ustring& script, std::function<void(HRESULT, const ustring&)> done) {
  RunScript(Utf16ToUtf8(script), std::move(done));
}

void ChromiumEngine::PostJson(const ustring& json) { Send("{\"op\":\"post\",\"json\":" + J(json) + "}"); }

void ChromiumEngine::PostString(const ustring& text) { Send("{\"op\":\"postString\",\"text\":" + J(text) + "}"); }

void ChromiumEngine::Capture(std::function<void(HRESULT, const std::string&)> done) {
  const int id = nextId_++;
  captures_[id] = std::move(done);
  Send("{\"op\":\"capture\",\"id\":" + std::to_string(id) + "}");
}

void ChromiumEngine::Reload() { RunScript("location.reload()", [](HRESULT, const ustring&) {}); }

void ChromiumEngine::Stop() { RunScript("window.stop()", [](HRESULT, const ustring&) {}); }

void ChromiumEngine::Place(HWND parent, const RECT& bounds, bool visible) {
  pageView_.Place(parent, bounds, visible);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return;
  if (width != width_ || height != height_) {
    width_ = width;
    height_ = height;
    Send("{\"op\":\"bounds\",\"width\":" + std::to_string(width) + ",\"height\":" + std::to_string(height) + "}");
  }
  if (visible && !screencasting_ && pageView_.Window()) {
    screencasting_ = true;
    Send("{\"op\":\"screencast\",\"on\":true}");
  }
}

void ChromiumEngine::Focus() { pageView_.Focus(); }

void ChromiumEngine::Close() {
  if (closed_) return;
  closed_ = true;
  Send("{\"op\":\"close\"}");
}

// Steps of a scenario that need a real page:
//   click SELECTOR     a real mouse click on the element's middle
//   type TEXT          keys typed into the focused element
//   probe SCRIPT       records the script's result
//   wait-for SCRIPT    waits (up to 30 s) until the script's result is true
//   close-window       the person closes the program's window
//   mark TEXT          only recorded (a point others can wait for)
bool ChromiumEngine::PlayStep(const std::string& verb, const std::string& argument, std::function<void()> next) {
  if (verb == "click") {
    Click(argument, std::move(next));
  } else if (verb == "type") {
    TypeText(Utf8ToUtf16(argument));
    Post(std::move(next), 200);
  } else if (verb == "probe") {
    RunScript(argument, [argument, next](HRESULT, const ustring& result) {
      Record("{\"probe\":" + JsonQuoteUtf8(argument) + ",\"result\":" + J(result) + "}");
      next();
    });
  } else if (verb == "wait-for") {
    WaitFor(argument, GetTickCount() + 30000, std::move(next));
  } else if (verb == "close-window") {
    if (HWND window = pageView_.Window()) PostMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
    Post(std::move(next), 100);
  } else if (verb == "mark") {
    next();
  } else {
    return false;
  }
  return true;
}

void ChromiumEngine::Click(const std::string& selector, std::function<void()> next) {
  const std::string script = "(() => { const e = document.querySelector(" + JsonQuoteUtf8(selector) +
                             "); if (!e) return null; e.scrollIntoView({block: 'center'});"
                             " const r = e.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()";
  std::weak_ptr<ChromiumEngine> weak = weak_from_this();
  RunScript(script, [weak, selector, next](HRESULT, const ustring& result) {
    auto self = weak.lock();
    rapidjson::Document point;
    const std::string text = Utf16ToUtf8(result);
    POINT screen{};
    if (!self || point.Parse(text.c_str()).HasParseError() || !point.IsArray() || point.Size() != 2 ||
        !point[0].IsNumber() || !point[1].IsNumber() ||
        !self->pageView_.ScreenPoint(point[0].GetDouble(), point[1].GetDouble(), screen)) {
      Record("{\"scenario-error\":\"nothing to click\",\"selector\":" + JsonQuoteUtf8(selector) + "}");
      next();
      return;
    }
    ClickAtScreen(screen);
    Post(next, 300);
  });
}

void ChromiumEngine::WaitFor(const std::string& script, DWORD deadline, std::function<void()> next) {
  std::weak_ptr<ChromiumEngine> weak = weak_from_this();
  RunScript(script, [weak, script, deadline, next](HRESULT, const ustring& result) {
    const bool done = result == u"true";
    const bool late = static_cast<LONG>(GetTickCount() - deadline) >= 0;
    auto self = weak.lock();
    if (done || late || !self) {
      Record("{\"waited\":" + JsonQuoteUtf8(script) + ",\"ok\":" + (done ? "true" : "false") + "}");
      next();
      return;
    }
    Post([weak, script, deadline, next] {
      if (auto again = weak.lock()) again->WaitFor(script, deadline, next);
    }, 100);
  });
}

}  // namespace vantrel::chromium
