// The stand-in for Microsoft's WebView2 loader library under Wine. The
// runtime check asks it for the installed browser version; the answer is
// chosen per run:
//   FAKE_WEBVIEW2_VERSION          version text to report (empty: none), or
//   FAKE_WEBVIEW2_INSTALLED_MARKER a file whose existence means "installed"
//                                  (written by the fake installer).
// The pages run in the scripted engine, or with FAKE_WEBVIEW2_ENGINE=chromium
// in a real Chromium:
//   FAKE_WEBVIEW2_CHROMIUM_HELPER  Linux path of engines/chromium/helper.mjs
//   FAKE_WEBVIEW2_NODE             Windows path of node (default Z:\usr\bin\node)
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "engines/chromium/chromium_engine_win32.h"
#include "engines/webview2/fake_browser.h"
#include "engines/webview2/loader/transcript.h"

using namespace fake_webview2;

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring out(utf8.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return out;
}

bool UsesChromium() { return EnvironmentUtf8(L"FAKE_WEBVIEW2_ENGINE") == "chromium"; }

// Chromium starts while a thread of ours waits for it and then completes the
// environment (WebView2 too completes on a thread of its choosing), failed
// when Chromium could not start.
HRESULT CreateChromiumEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  fake_webview2::Record("{\"call\":\"CreateCoreWebView2Environment\",\"engine\":\"chromium\"}");
  if (!handler) return E_POINTER;
  vantrel::chromium::HelperOptions options;
  const std::string node = EnvironmentUtf8(L"FAKE_WEBVIEW2_NODE");
  options.node = node.empty() ? u"Z:\\usr\\bin\\node" : vantrel::Utf8ToUtf16(node);
  options.helperPath = EnvironmentUtf8(L"FAKE_WEBVIEW2_CHROMIUM_HELPER");
  auto keep = vantrel::ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>::Share(handler);
  std::shared_ptr<vantrel::chromium::HelperLaunch> launch;
  std::string failure;
  try {
    launch = vantrel::chromium::HelperLink::Launch(options);
  } catch (const std::exception& error) {
    failure = error.what();
  }
  std::thread([keep, launch, failure] {
    std::shared_ptr<vantrel::chromium::ChromiumEngine> engine;
    std::string version, reason = failure;
    if (launch) {
      try {
        engine = vantrel::chromium::ChromiumEngine::Start(*launch, version);
      } catch (const std::exception& error) {
        reason = error.what();
      }
    }
    if (!engine) {
      std::fprintf(stderr, "WebView2 stand-in: %s\n", reason.c_str());
      fake_webview2::Record("{\"event\":\"engine-failed\",\"reason\":" + JsonString(reason) + "}");
      keep->Invoke(E_FAIL, nullptr);
      return;
    }
    auto environment = vantrel::ComPtr<fake_webview2::FakeEnvironment>::Attach(new fake_webview2::FakeEnvironment);
    environment->GiveEngine(engine, version);
    keep->Invoke(S_OK, environment.Get());
  }).detach();
  return S_OK;
}

std::string InstalledVersion() {
  const std::string version = EnvironmentUtf8(L"FAKE_WEBVIEW2_VERSION");
  if (!version.empty()) return version;
  const std::string marker = EnvironmentUtf8(L"FAKE_WEBVIEW2_INSTALLED_MARKER");
  if (!marker.empty() && GetFileAttributesW(Wide(marker).c_str()) != INVALID_FILE_ATTRIBUTES) {
    return "120.0.2210.91";
  }
  // The Chromium engine is there when its helper is named.
  if (UsesChromium() && !EnvironmentUtf8(L"FAKE_WEBVIEW2_CHROMIUM_HELPER").empty()) return "120.0.2210.91";
  return {};
}

HRESULT ResultFromEnvironment(const wchar_t* name) {
  const std::string text = EnvironmentUtf8(name);
  return text.empty() ? S_OK : static_cast<HRESULT>(std::strtoul(text.c_str(), nullptr, 0));
}

// The browser double's behaviour for this process:
//   FAKE_WEBVIEW2_TRANSCRIPT   file receiving one JSON line per host call and page event
//   FAKE_WEBVIEW2_SCENARIO     scenario file played after the host's first navigation
//   FAKE_WEBVIEW2_ENVIRONMENT_RESULT / _CONTROLLER_RESULT   HRESULTs of the completions
//   FAKE_WEBVIEW2_OFFER_22     "1": the browser offers ICoreWebView2_22 (the
//                              Chromium engine does unless this is "0")
void ConfigureFromEnvironment() {
  static bool configured = false;
  if (configured) return;
  configured = true;
  fake_webview2::SetTranscriptFile(EnvironmentUtf8(L"FAKE_WEBVIEW2_TRANSCRIPT"));
  fake_webview2::Settings().environmentResult = ResultFromEnvironment(L"FAKE_WEBVIEW2_ENVIRONMENT_RESULT");
  fake_webview2::Settings().controllerResult = ResultFromEnvironment(L"FAKE_WEBVIEW2_CONTROLLER_RESULT");
  // Chromium offers every frame's and worker's requests, as current
  // runtimes do through ICoreWebView2_22; the scripted engine only when asked.
  const std::string offer22 = EnvironmentUtf8(L"FAKE_WEBVIEW2_OFFER_22");
  fake_webview2::Settings().offersWebView22 = offer22 == "1" || (offer22.empty() && UsesChromium());
  const std::string scenario = EnvironmentUtf8(L"FAKE_WEBVIEW2_SCENARIO");
  if (!scenario.empty()) fake_webview2::LoadScenario(scenario);
  // Played by this process only: windows it opens for the page start anew.
  SetEnvironmentVariableW(L"FAKE_WEBVIEW2_SCENARIO", nullptr);
}

HRESULT ReportVersion(const char* call, PCWSTR folder, LPWSTR* versionInfo) {
  const std::string version = InstalledVersion();
  AppendTranscript(std::string("{\"call\":\"") + call + "\",\"folder\":" +
                   (folder ? JsonString(Utf8(folder)) : "null") + ",\"answer\":" + JsonString(version) +
                   ",\"env\":" + BrowserEnvironmentJson() + "}");
  if (!versionInfo) return E_POINTER;
  *versionInfo = nullptr;
  if (version.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  const std::wstring wide = Wide(version);
  auto* text = static_cast<wchar_t*>(CoTaskMemAlloc((wide.size() + 1) * sizeof(wchar_t)));
  if (!text) return E_OUTOFMEMORY;
  lstrcpyW(text, wide.c_str());
  *versionInfo = text;
  return S_OK;
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                                          LPWSTR* versionInfo) {
  return ReportVersion("GetAvailableCoreWebView2BrowserVersionString", browserExecutableFolder, versionInfo);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE GetCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                                 LPWSTR* versionInfo) {
  return ReportVersion("GetCoreWebView2BrowserVersionString", browserExecutableFolder, versionInfo);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE
CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  ConfigureFromEnvironment();
  if (UsesChromium()) return CreateChromiumEnvironment(handler);
  return fake_webview2::CreateEnvironment(handler);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  ConfigureFromEnvironment();
  if (UsesChromium()) return CreateChromiumEnvironment(handler);
  return fake_webview2::CreateEnvironment(handler);
}

// For test programs: the double's objects alive now.
__declspec(dllexport) int STDAPICALLTYPE FakeWebView2LiveObjects() { return fake_webview2::LiveObjects(); }

__declspec(dllexport) HRESULT STDAPICALLTYPE CompareBrowserVersions(PCWSTR, PCWSTR, int* result) {
  if (result) *result = 0;
  return S_OK;
}

}  // extern "C"
