#pragma once
// Routes a window's messages to the C++ object that created it. The object
// passes `this` as the creation parameter of CreateWindowExW and provides
//   void AttachHandle(HWND)                      (called on WM_NCCREATE)
//   LRESULT OnMessage(UINT, WPARAM, LPARAM)
// No exception leaves the window procedure: a failing handler falls back to
// the default processing.
#include <windows.h>

namespace vantrel::win32 {

template <typename Form>
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->AttachHandle(window);  // messages arrive before CreateWindowExW returns
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return form->OnMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A window class of a form; registered once per process.
struct FormClass {
  const wchar_t* name;
  WNDPROC proc;
  UINT style = 0;
  LPCWSTR cursor = IDC_ARROW;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

inline void RegisterFormClass(HINSTANCE instance, const FormClass& form) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, form.name, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = form.style;
  windowClass.lpfnWndProc = form.proc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, form.cursor);
  windowClass.hbrBackground = form.background;
  windowClass.hIcon = form.icon;
  windowClass.lpszClassName = form.name;
  RegisterClassExW(&windowClass);
}

// Detaches the object before the window goes, so late messages find none.
inline void DestroyFormWindow(HWND window) {
  if (!window) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

}  // namespace vantrel::win32
