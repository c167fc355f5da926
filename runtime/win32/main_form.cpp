#include "runtime/win32/main_form.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/win32/win_text.h"
#include "shared/hosting/browser_form_win32.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TMainForm";

struct MainFormState {
  std::unique_ptr<TBrowserForm> browserForm;
};

LRESULT CALLBACK MainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    auto* state = reinterpret_cast<MainFormState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
      case WM_SIZE:
        if (state && state->browserForm) state->browserForm->SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        break;
    }
  } catch (...) {
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The child-instance form of the command line: the identifier, then the address.
ustring StartPage(const TStartupValues& values) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  ustring page = u"file:///" + values.AppIndexHtml;
  if (argv && count == 3 && win32::FromW(argv[1]) == values.AppID) page = win32::FromW(argv[2]);
  if (argv) LocalFree(argv);
  return page;
}
}  // namespace

void RunMainForm(TStartupValues& values) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainFormProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  const TMemIniFile& ini = *values.ProjectINI;
  const int width = ini.ReadInteger(kAppSection, u"Width", 800);
  const int height = ini.ReadInteger(kAppSection, u"Height", 600);
  HWND window = CreateWindowExW(0, kClassName, win32::W(values.AppName), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, width > 0 ? width : 800, height > 0 ? height : 600,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return;

  MainFormState state;
  state.browserForm = std::make_unique<TBrowserForm>(window);
  TBrowserForm& form = *state.browserForm;
  form.SetIsRuntime(true);
  form.SetHandleRequests(true);
  form.SetWithExternal(true);
  form.SetExeZip(values.ExeZip.get());
  form.SetRuntimeAppID(values.AppID);
  form.SetAppDirName(values.AppDirName);
  form.SetAllowDebug(ini.ReadBool(kAppSection, u"AllowDebug", false));
  form.SetAllowContextMenu(ini.ReadBool(kAppSection, u"AllowContextMenu", false));
  form.SetStartPageURL(StartPage(values));
  form.Browser()->SetOnDocumentTitleChanged([window](TCustomEdgeBrowser*, const ustring& title) {
    SetWindowTextW(window, win32::W(title));
  });
  form.Browser()->SetOnWindowCloseRequested([window](void*) { PostMessageW(window, WM_CLOSE, 0, 0); });
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  RECT client;
  GetClientRect(window, &client);
  form.SetBounds(0, 0, client.right, client.bottom);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace vantrel
