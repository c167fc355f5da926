// Test double of the WebView2 runtime installer: records how it was started
// and, when FAKE_INSTALLER_SUCCEEDS=1, "installs" the runtime by creating the
// marker file the fake loader looks for.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "engines/webview2/loader/transcript.h"

using namespace fake_webview2;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  AppendTranscript("{\"call\":\"installer\",\"arguments\":" + JsonString(Utf8(commandLine)) +
                   ",\"env\":" + BrowserEnvironmentJson() + "}");
  // Lets a test take a picture of the installation window meanwhile.
  const int seconds = std::atoi(EnvironmentUtf8(L"FAKE_INSTALLER_SECONDS").c_str());
  if (seconds > 0) Sleep(static_cast<DWORD>(seconds) * 1000);
  if (EnvironmentUtf8(L"FAKE_INSTALLER_SUCCEEDS") == "1") {
    const std::string marker = EnvironmentUtf8(L"FAKE_WEBVIEW2_INSTALLED_MARKER");
    std::wstring wide(marker.size() + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, marker.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return 0;
}
