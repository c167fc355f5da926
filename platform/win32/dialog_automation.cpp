#include "platform/win32/dialog_automation.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/json_quote.h"
#include "platform/win32/win_text.h"

namespace vantrel::win32 {

namespace {

std::string EnvironmentValue(const wchar_t* name) {
  wchar_t buffer[4096];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
  if (length == 0 || length >= 4096) return {};
  return Utf16ToUtf8(FromW(buffer, length));
}

std::string JsonQuoted(const ustring& text) { return JsonQuoteUtf8(Utf16ToUtf8(text)); }

void Record(const DialogRecord& record) {
  const std::string path = EnvironmentValue(L"VANTREL_TEST_DIALOG_LOG");
  if (path.empty()) return;
  std::string line = std::string("{\"kind\":\"") + record.kind + "\",\"title\":" + JsonQuoted(record.title) +
                     ",\"text\":" + JsonQuoted(record.text) + ",\"buttons\":[";
  for (size_t i = 0; i < record.buttons.size(); ++i) line += (i ? "," : "") + JsonQuoted(record.buttons[i]);
  line += "]}\n";
  if (FILE* file = _wfopen(W(Utf8ToUtf16(path)), L"ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
}

// Which answer the n-th automated dialog of this process gets; 0 = default.
int AnswerFor(int dialogNumber, const std::string& answers) {
  std::string item;
  size_t start = 0;
  for (int n = 0;; ++n) {
    const size_t comma = answers.find(',', start);
    item = answers.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (n == dialogNumber || comma == std::string::npos) break;
    start = comma + 1;
  }
  return item == "default" ? 0 : std::atoi(item.c_str());
}

// One modal dialog at a time runs per thread; this is its pending answer.
struct PendingAnswer {
  int id = 0;
  AutomatedDialogScope::Press press = nullptr;
  DWORD thread = 0;
  HWND window = nullptr;
};
thread_local PendingAnswer tPending;
thread_local int tDialogsShown = 0;

BOOL CALLBACK PressIfDialog(HWND window, LPARAM) {
  wchar_t className[32];
  if (IsWindowVisible(window) && GetClassNameW(window, className, 32) && lstrcmpW(className, L"#32770") == 0) {
    tPending.press(window, tPending.id);
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnAnswerTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!tPending.press) return;
  if (tPending.window) {
    if (!IsWindowVisible(tPending.window)) return;
    tPending.press(tPending.window, tPending.id);
    KillTimer(nullptr, timer);
    tPending.press = nullptr;
    return;
  }
  // Answer the thread's visible dialog window, once it is there.
  if (!EnumThreadWindows(tPending.thread, PressIfDialog, 0)) {
    KillTimer(nullptr, timer);
    tPending.press = nullptr;
  }
}

}  // namespace

void PressDialogCommand(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

AutomatedDialogScope::AutomatedDialogScope(const DialogRecord& record, int defaultId, Press press, HWND window) {
  Record(record);
  const std::string answers = EnvironmentValue(L"VANTREL_TEST_DIALOG_ANSWER");
  const int dialogNumber = tDialogsShown++;
  if (answers.empty()) return;
  const int answer = AnswerFor(dialogNumber, answers);
  const std::string delay = EnvironmentValue(L"VANTREL_TEST_DIALOG_DELAY_MS");
  tPending = {answer ? answer : defaultId, press, GetCurrentThreadId(), window};
  timer_ = SetTimer(nullptr, 0, delay.empty() ? 200 : static_cast<UINT>(std::atoi(delay.c_str())), OnAnswerTimer);
}

AutomatedDialogScope::~AutomatedDialogScope() {
  if (timer_) KillTimer(nullptr, timer_);
  tPending.press = nullptr;
}

int ShowMessageBox(HWND owner, const ustring& text, const ustring& title, UINT type) {
  const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
  AutomatedDialogScope automation({"messagebox", title, text, {}}, yesNo ? IDYES : IDOK, PressDialogCommand);
  return MessageBoxW(owner, W(text), W(title), type);
}

}  // namespace vantrel::win32
