#include "engines/webview2/loader/transcript.h"

#include <cstdio>

#include "platform/json_quote.h"
#include <vector>

namespace fake_webview2 {

std::string Utf8(const wchar_t* text) {
  if (!text) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

std::string EnvironmentUtf8(const wchar_t* name, bool* present) {
  std::vector<wchar_t> buffer(32768);
  SetLastError(0);
  const DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  const bool found = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  if (present) *present = found;
  return found ? Utf8(buffer.data()) : std::string();
}

std::string JsonString(const std::string& utf8) { return vantrel::JsonQuoteUtf8(utf8); }

void AppendTranscript(const std::string& jsonLine) {
  const std::string path = EnvironmentUtf8(L"FAKE_WEBVIEW2_TRANSCRIPT");
  if (path.empty()) return;
  std::wstring widePath(path.size() + 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, widePath.data(), static_cast<int>(widePath.size()));
  // Several processes may write; open, append and close for every line.
  HANDLE file = CreateFileW(widePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = jsonLine + "\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

std::string BrowserEnvironmentJson() {
  static const wchar_t* const kNames[] = {L"WEBVIEW2_USER_DATA_FOLDER", L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS",
                                          L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                                          L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE"};
  std::string json = "{";
  for (const wchar_t* name : kNames) {
    bool present = false;
    const std::string value = EnvironmentUtf8(name, &present);
    json += (json.size() > 1 ? "," : "") + JsonString(Utf8(name)) + ":" + (present ? JsonString(value) : "null");
  }
  return json + "}";
}

}  // namespace fake_webview2
