#pragma once
// The password prompt: a small modal window that closes by itself as soon as
// the typed text equals the password. Closing it otherwise gives result 2.
#include <windows.h>
#include <commctrl.h>

#include "platform/ustring.h"

#include "platform/win32/window_proc.h"

namespace vantrel {

class TRequirePasswordForm {
 public:
  static constexpr int kModalResultOK = 1;
  static constexpr int kModalResultCancel = 2;

  TRequirePasswordForm();
  ~TRequirePasswordForm();
  TRequirePasswordForm(const TRequirePasswordForm&) = delete;
  TRequirePasswordForm& operator=(const TRequirePasswordForm&) = delete;

  void SetCaption(const ustring& caption);
  void SetPassword(const ustring& password) { FPassword = password; }
  // Shows the prompt modally; returns 1 when the password was typed.
  int ShowModal();

  HWND Handle() const { return FHandle; }
  HWND PasswordEdit() const { return FPasswordEdit; }

 private:
  static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  // Window messages, through win32::FormWindowProc.
  friend LRESULT CALLBACK win32::FormWindowProc<TRequirePasswordForm>(HWND, UINT, WPARAM, LPARAM);
  void AttachHandle(HWND window) { FHandle = window; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void PasswordEditKeyUp();
  void CreateControls();

  HWND FHandle = nullptr;
  HWND FPasswordEdit = nullptr;
  HWND FKeyButton = nullptr;
  HFONT FFont = nullptr;
  HIMAGELIST FActionsImgs = nullptr;
  HICON FKeyIcon = nullptr;
  ustring FPassword;
  int FModalResult = 0;
};

// Runs the prompt with `caption`; true when the user typed `password`.
bool RunPasswordGate(const ustring& caption, const ustring& password);

}  // namespace vantrel
