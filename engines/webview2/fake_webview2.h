#pragma once
// A test double of the WebView2 browser: environment, controller, browser,
// settings, resource requests and responses, event arguments. It records
// what the host does (a transcript of JSON lines) and plays page behaviour
// on request. Portable: it builds natively for the unit tests and with MinGW
// into the test double of WebView2LoaderWin64.dll.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ustring.h"
#include "platform/webview2.h"

namespace fake_webview2 {

using vantrel::ustring;

// How the next creation goes; tests set it before creating a browser.
struct Config {
  HRESULT environmentResult = S_OK;      // completion code of the environment
  HRESULT environmentCallResult = S_OK;  // what CreateCoreWebView2Environment returns
  HRESULT controllerCallResult = S_OK;   // what CreateCoreWebView2Controller returns
  HRESULT controllerResult = S_OK;       // completion code of the controller
  HRESULT coreWebView2Result = S_OK;     // get_CoreWebView2
  HRESULT settingsResult = S_OK;         // get_Settings
  std::string browserVersion = "120.0.2210.91";
  uint32_t browserProcessId = 4242;
  std::string documentTitle = "Fake Page";
  // The result ExecuteScript hands to its completion (JSON text).
  std::string scriptResult = "null";
  // The page's answer to a script: when the host executes exactly this
  // script, the page posts this JSON message (how a page's handler reacts).
  std::vector<std::pair<std::string, std::string>> scriptMessages;
  // Whether the browser offers ICoreWebView2_22 (the filters for every
  // frame and worker), as current runtimes do.
  bool offersWebView22 = false;
};
Config& Settings();
void ResetSettings();

// Work the double delivers later on the UI thread (completions, events).
// Natively it waits in a queue until Pump(); on Windows it is posted to the
// thread that created the controller.
void Post(std::function<void()> work, unsigned delayMs = 0);
// Runs queued work, also work queued meanwhile; returns how much ran.
size_t Pump();

// The loader entry point: makes an environment and completes at once on the
// calling thread (as WebView2 may, from any thread).
HRESULT CreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

// Every fake object alive now (environment, controller, browser, settings,
// arguments, requests, responses, headers, receivers).
int LiveObjects();

// What the host did, one JSON object per line, in order.
const std::vector<std::string>& Transcript();
void ClearTranscript();
// Also appends every line to this file (empty: none).
void SetTranscriptFile(const std::string& path);

// --- Page behaviour, on the current browser (the last one created) --------
bool HasBrowser();
// The page navigates: starting, source changed, content loading, the page's
// file:/// resources requested through the filters, title, completed.
void PageNavigate(const ustring& uri, bool success = true);
// A resource request through the filters; records the host's answer.
void PageRequestResource(const ustring& uri, const ustring& range = {});
void PagePostMessageJson(const ustring& json);
void PagePostMessageString(const ustring& text);
void PageChangeTitle(const ustring& title);
void PageRequestNewWindow(const ustring& uri);
void PageRequestPermission(COREWEBVIEW2_PERMISSION_KIND kind, const ustring& uri);
void PageRequestClose();
void PageFailProcess(COREWEBVIEW2_PROCESS_FAILED_KIND kind);
void PageSetFullScreen(bool fullScreen);
void PageGotFocus();
void PageLostFocus();
void PageMoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason);
// Returns whether the host marked the key handled.
bool PageAcceleratorKey(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, INT lParam);
void PageDevToolsEvent(const ustring& name, const ustring& parameterJson);
void PageZoom(double factor);
// Number of live registrations of a browser or controller event, by name
// ("NavigationStarting", "GotFocus", "DevTools:Network.x", ...).
int Registrations(const std::string& eventName);
// Scripts the host added with AddScriptToExecuteOnDocumentCreated.
std::vector<ustring> DocumentScripts();

// Plays a scenario file: one step a line, "#" comments.
//   navigate <uri> | request <uri> | message-json <json> | message-string <text>
//   title <text> | new-window <uri> | permission <kind> <uri> | close
//   fail-process <kind> | fullscreen 0|1 | wait <ms>
//   on-script <script> | <json>   (from now on, executing <script> makes the
//                                  page post <json>)
// Steps run one after another on the UI thread, starting with the host's
// first navigation.
void LoadScenario(const std::string& path);

}  // namespace fake_webview2
