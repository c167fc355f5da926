// Test double of Microsoft's WebView2 loader library. The runtime check asks
// it for the installed browser version; the answer is chosen per test:
//   FAKE_WEBVIEW2_VERSION          version text to report (empty: none), or
//   FAKE_WEBVIEW2_INSTALLED_MARKER a file whose existence means "installed"
//                                  (written by the fake installer).
#include <windows.h>
#include <objbase.h>

#include <string>

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

__declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2Environment(void*) { return E_NOTIMPL; }

__declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(PCWSTR, PCWSTR, void*, void*) {
  return E_NOTIMPL;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE CompareBrowserVersions(PCWSTR, PCWSTR, int* result) {
  if (result) *result = 0;
  return S_OK;
}

}  // extern "C"
