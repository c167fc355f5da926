#include "shared/bridge/bridge_platform_win32.h"

#include <windows.h>
#include <shobjidl.h>

#include "platform/binary_file.h"
#include "platform/errors.h"
#include "platform/com_ptr.h"
#include "platform/win32/dialog_automation.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"
#include "shared/util/sys_utils.h"

namespace vantrel {

namespace {
using win32::W;

// Attributes of the path, or of its target when it is a symbolic link.
DWORD TargetAttributes(const ustring& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return attributes;
  win32::UniqueHandle target(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!target || !GetFileInformationByHandle(target.Get(), &information)) return INVALID_FILE_ATTRIBUTES;
  return information.dwFileAttributes;
}
}  // namespace

std::optional<ustring> TWin32BridgePlatform::ShowFileDialog(TFileDialogKind kind,
                                                           const TFileDialogSettings& settings) {
  ComPtr<IFileDialog> dialog;
  const CLSID& type = kind == TFileDialogKind::Open ? CLSID_FileOpenDialog : CLSID_FileSaveDialog;
  if (FAILED(CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, IID_IFileDialog,
                              reinterpret_cast<void**>(dialog.Put()))))
    return std::nullopt;
  std::vector<COMDLG_FILTERSPEC> filters;
  for (const auto& filter : settings.Filters) filters.push_back({W(filter.first), W(filter.second)});
  if (!filters.empty()) dialog->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
  if (!settings.FileName.empty()) dialog->SetFileName(W(settings.FileName));
  if (!settings.Title.empty()) dialog->SetTitle(W(settings.Title));
  // Exactly the option set: every default flag of the dialog is cleared.
  dialog->SetOptions(kind == TFileDialogKind::Save && settings.OverwritePrompt ? static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT) : 0);
  // Tests record the dialog and answer it (by default: cancel).
  win32::AutomatedDialogScope automation({"filedialog", settings.Title, settings.FileName, {}}, IDCANCEL,
                                         win32::PressDialogCommand);
  if (FAILED(dialog->Show(GetActiveWindow()))) return std::nullopt;
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(item.Put()))) return std::nullopt;
  wchar_t* path = nullptr;
  // An item outside the file system has no path: read as cancelled.
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return std::nullopt;
  ustring chosen = win32::FromW(path);
  CoTaskMemFree(path);
  return chosen;
}

bool TWin32BridgePlatform::FileExists(const ustring& path) {
  const DWORD attributes = TargetAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32BridgePlatform::RemoveFile(const ustring& path) { return DeleteFileW(W(path)) != FALSE; }

bool TWin32BridgePlatform::DirectoryExists(const ustring& path) {
  const DWORD attributes = TargetAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32BridgePlatform::DeleteDirectory(const ustring& path) { return TSysUtils::DeleteDirectory(path); }

void TWin32BridgePlatform::ForceDirectories(const ustring& path) {
  try {
    vantrel::ForceDirectories(path);
  } catch (const EFileError&) {
    // Not examined: creating the file reports what went wrong.
  }
}

TWriteFileResult TWin32BridgePlatform::WriteWholeFile(const ustring& path, const std::string& bytes) {
  win32::UniqueHandle file(
      CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {TWriteFileStatus::CannotCreate, Utf8ToUtf16(win32::SystemErrorMessage(GetLastError()))};
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return {TWriteFileStatus::WriteFailed, Utf8ToUtf16(win32::SystemErrorMessage(GetLastError()))};
    done += written;
  }
  return {};
}

ustring TWin32BridgePlatform::GetTempDirPath() { return TSysUtils::GetTempDirPath(); }
ustring TWin32BridgePlatform::GetUserDocumentsDirPath() { return TSysUtils::GetUserDocumentsDirPath(); }
ustring TWin32BridgePlatform::GetUserDesktopDirPath() { return TSysUtils::GetUserDesktopDirPath(); }

ustring TWin32BridgePlatform::InvalidPathMessage() {
  return Utf8ToUtf16(win32::SystemErrorMessage(ERROR_INVALID_NAME));
}

void TWin32BridgePlatform::ShowMessage(const ustring& text) {
  MessageBoxW(GetActiveWindow(), W(text), W(FMessageTitle), MB_OK);
}

}  // namespace vantrel
