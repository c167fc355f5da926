// Test double of Microsoft's WebView2 loader library. The runtime check asks
// it for the installed browser version; the answer is chosen per test:
//   FAKE_WEBVIEW2_VERSION          version text to report (empty: none), or
//   FAKE_WEBVIEW2_INSTALLED_MARKER a file whose existence means "installed"
//                                  (written by the fake installer).
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <string>

#include "tests/fakes/fake_webview2/fake_webview2.h"
#include "tests/win32/fake_loader/transcript.h"

using namespace fake_webview2;

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring out(utf8.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return out;
}

std::string InstalledVersion() {
  const std::string version = EnvironmentUtf8(L"FAKE_WEBVIEW2_VERSION");
  if (!version.empty()) return version;
  const std::string marker = EnvironmentUtf8(L"FAKE_WEBVIEW2_INSTALLED_MARKER");
  if (!marker.empty() && GetFileAttributesW(Wide(marker).c_str()) != INVALID_FILE_ATTRIBUTES) {
    return "120.0.2210.91";
  }
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
//   FAKE_WEBVIEW2_OFFER_22     "1": the browser offers ICoreWebView2_22
void ConfigureFromEnvironment() {
  static bool configured = false;
  if (configured) return;
  configured = true;
  fake_webview2::SetTranscriptFile(EnvironmentUtf8(L"FAKE_WEBVIEW2_TRANSCRIPT"));
  fake_webview2::Settings().environmentResult = ResultFromEnvironment(L"FAKE_WEBVIEW2_ENVIRONMENT_RESULT");
  fake_webview2::Settings().controllerResult = ResultFromEnvironment(L"FAKE_WEBVIEW2_CONTROLLER_RESULT");
  fake_webview2::Settings().offersWebView22 = EnvironmentUtf8(L"FAKE_WEBVIEW2_OFFER_22") == "1";
  const std::string scenario = EnvironmentUtf8(L"FAKE_WEBVIEW2_SCENARIO");
  if (!scenario.empty()) fake_webview2::LoadScenario(scenario);
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
  return fake_webview2::CreateEnvironment(handler);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  ConfigureFromEnvironment();
  return fake_webview2::CreateEnvironment(handler);
}

// For test programs: the double's objects alive now.
__declspec(dllexport) int STDAPICALLTYPE FakeWebView2LiveObjects() { return fake_webview2::LiveObjects(); }

__declspec(dllexport) HRESULT STDAPICALLTYPE CompareBrowserVersions(PCWSTR, PCWSTR, int* result) {
  if (result) *result = 0;
  return S_OK;
}

}  // extern "C"
