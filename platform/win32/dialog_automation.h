#pragma once
// Every modal box of the program goes through these wrappers. For automated
// tests they can record what was shown and answer it without a person:
//
//   VANTREL_TEST_DIALOG_LOG=<file>     append one JSON line per dialog shown
//                                      (kind, title, text, buttons)
//   VANTREL_TEST_DIALOG_ANSWER=<ids>   comma-separated button ids to press, one
//                                      per dialog in order (the last repeats);
//                                      "default" presses the default button
//   VANTREL_TEST_DIALOG_DELAY_MS=<n>   wait before answering (for screenshots;
//                                      default 200)
//
// Without these variables the dialogs behave normally.
#include <windows.h>

#include <vector>

#include "platform/ustring.h"

namespace vantrel::win32 {

struct DialogRecord {
  const char* kind;  // "messagebox", "taskdialog", "form"
  ustring title;
  ustring text;
  std::vector<ustring> buttons;
};

// MessageBoxW through the recorder.
int ShowMessageBox(HWND owner, const ustring& text, const ustring& title, UINT type);

// For dialogs of our own: records the dialog and, when answering is on,
// arms a thread timer that calls `press(id)` with the answer while the
// dialog's modal loop runs. The timer is removed by the destructor.
class AutomatedDialogScope {
 public:
  using Press = void (*)(HWND dialog, int id);
  // `window`: the dialog's own window when the caller has it; otherwise the
  // thread's visible standard dialog window ("#32770") is answered.
  AutomatedDialogScope(const DialogRecord& record, int defaultId, Press press, HWND window = nullptr);
  ~AutomatedDialogScope();
  AutomatedDialogScope(const AutomatedDialogScope&) = delete;
  AutomatedDialogScope& operator=(const AutomatedDialogScope&) = delete;

 private:
  UINT_PTR timer_ = 0;
};

// Presses a button of a classic dialog (MessageBox and own dialogs).
void PressDialogCommand(HWND dialog, int id);

}  // namespace vantrel::win32
