#include "runtime/win32/running_instance.h"

#include "platform/win32/win_text.h"

namespace vantrel {

namespace {
constexpr wchar_t kMainWindowClass[] = L"TMainForm";

// The identifier never holds a backslash, so this is a plain name in the
// session's namespace, like the single-instance mutex.
ustring RecordName(const ustring& appId) { return appId + u".MainWindow"; }

bool IsLiveMainWindow(HWND window) {
  if (!window || !IsWindow(window)) return false;
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  return lstrcmpW(className, kMainWindowClass) == 0;
}

// The shared record: one 64-bit window handle.
volatile LONG64* MapRecord(HANDLE mapping) {
  return static_cast<volatile LONG64*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(LONG64)));
}
}  // namespace

TRunningInstanceWindow::TRunningInstanceWindow(const ustring& appId, HWND window) : FWindow(window) {
  FMapping = win32::UniqueHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                    sizeof(LONG64), win32::W(RecordName(appId))));
  if (!FMapping) return;  // a convenience: the program runs on without it
  FSlot = MapRecord(FMapping.Get());
  if (!FSlot) return;
  const LONG64 published = *FSlot;
  if (!IsLiveMainWindow(reinterpret_cast<HWND>(published))) {
    InterlockedCompareExchange64(FSlot, reinterpret_cast<LONG64>(window), published);
  }
}

TRunningInstanceWindow::~TRunningInstanceWindow() {
  if (!FSlot) return;
  InterlockedCompareExchange64(FSlot, 0, reinterpret_cast<LONG64>(FWindow));
  UnmapViewOfFile(const_cast<LONG64*>(FSlot));
}

bool BringRunningInstanceForward(const ustring& appId) {
  const win32::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, win32::W(RecordName(appId))));
  if (!mapping) return false;
  volatile LONG64* slot = MapRecord(mapping.Get());
  if (!slot) return false;
  const HWND window = reinterpret_cast<HWND>(*slot);
  UnmapViewOfFile(const_cast<LONG64*>(slot));
  if (!IsLiveMainWindow(window)) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}

}  // namespace vantrel
