#pragma once
// Appends JSON lines to the file named by FAKE_WEBVIEW2_TRANSCRIPT, so tests
// can see what the program asked of the browser runtime.
#include <windows.h>

#include <string>

namespace fake_webview2 {

std::string EnvironmentUtf8(const wchar_t* name, bool* present = nullptr);
std::string JsonString(const std::string& utf8);
std::string Utf8(const wchar_t* text);
void AppendTranscript(const std::string& jsonLine);
// {"WEBVIEW2_USER_DATA_FOLDER": ..., ...} with null for absent variables.
std::string BrowserEnvironmentJson();

}  // namespace fake_webview2
