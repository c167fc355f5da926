#include "shared/util/sys_utils.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "platform/errors.h"
#include "platform/com_ptr.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"

namespace vantrel {

using win32::FromW;
using win32::UniqueHandle;
using win32::W;

namespace {

// A path list for SHFileOperationW: the path and an extra terminating null.
std::wstring DoubleNullTerminated(const ustring& path) {
  std::wstring list(reinterpret_cast<const wchar_t*>(path.c_str()), path.size());
  list.push_back(L'\0');
  return list;
}

bool FileOperation(UINT operation, const ustring& from, const ustring* to, FILEOP_FLAGS flags) {
  const std::wstring source = DoubleNullTerminated(from);
  const std::wstring target = to ? DoubleNullTerminated(*to) : std::wstring();
  SHFILEOPSTRUCTW op = {};
  op.wFunc = operation;
  op.pFrom = source.c_str();
  op.pTo = to ? target.c_str() : nullptr;
  op.fFlags = flags;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

bool DirectoryExists(const ustring& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs the thread's pending window messages; false once WM_QUIT arrived
// (the application was told to terminate), which is posted again.
bool PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

// Waits for a process, keeping the message loop alive without burning a core.
DWORD WaitForProcessWithMessages(HANDLE process) {
  DWORD exitCode = STILL_ACTIVE;
  for (;;) {
    if (!PumpPendingMessages()) break;
    if (!GetExitCodeProcess(process, &exitCode) || exitCode != STILL_ACTIVE) break;
    MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
  }
  GetExitCodeProcess(process, &exitCode);
  return exitCode;
}

struct ProcessHandles {
  UniqueHandle process;
  UniqueHandle thread;
};

bool StartProcess(const ustring& commandLine, DWORD flags, STARTUPINFOW* startup, bool inheritHandles,
                  const ustring& folder, ProcessHandles& out) {
  std::wstring line(reinterpret_cast<const wchar_t*>(commandLine.c_str()), commandLine.size());
  line.push_back(L'\0');  // CreateProcessW may write into the command line
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, inheritHandles, flags, nullptr,
                      folder.empty() ? nullptr : W(folder), startup, &info)) {
    return false;
  }
  out.process = UniqueHandle(info.hProcess);
  out.thread = UniqueHandle(info.hThread);
  return true;
}

ustring FormatNumber(double value) {
  // "#.##" with the user's number settings: no digit for zero, at most two decimals.
  wchar_t raw[64];
  std::swprintf(raw, 64, L"%.2f", value);
  std::wstring text(raw);
  while (!text.empty() && text.back() == L'0') text.pop_back();
  if (!text.empty() && text.back() == L'.') text.pop_back();
  if (text == L"0") text.clear();
  wchar_t separator[8] = L".";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  const size_t point = text.find(L'.');
  if (point != std::wstring::npos) text.replace(point, 1, separator);
  return FromW(text.c_str(), text.size());
}

}  // namespace

ustring TSysUtils::WithTrailingBackslash(const ustring& path) {
  return !path.empty() && path.back() == u'\\' ? path : path + u'\\';
}

ustring TSysUtils::GetSpecialFolderPath(int CSIDL) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return FromW(path);
}

ustring TSysUtils::GetUserDesktopDirPath() { return WithTrailingBackslash(GetSpecialFolderPath(CSIDL_DESKTOP)); }
ustring TSysUtils::GetUserDocumentsDirPath() { return WithTrailingBackslash(GetSpecialFolderPath(CSIDL_PERSONAL)); }
ustring TSysUtils::GetUserAppDataDirPath() { return WithTrailingBackslash(GetSpecialFolderPath(CSIDL_APPDATA)); }
ustring TSysUtils::GetLocalAppDataDirPath() {
  return WithTrailingBackslash(GetSpecialFolderPath(CSIDL_LOCAL_APPDATA));
}
ustring TSysUtils::GetProgramFilesDirPath() {
  return WithTrailingBackslash(GetSpecialFolderPath(CSIDL_PROGRAM_FILES));
}
ustring TSysUtils::GetSystemAppsDirPath() {
  return WithTrailingBackslash(WithTrailingBackslash(GetSpecialFolderPath(CSIDL_WINDOWS)) + u"SystemApps");
}

ustring TSysUtils::GetTempDirPath() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH, path);
  if (length == 0 || length > MAX_PATH) return u"\\";
  wchar_t longPath[MAX_PATH + 1] = {};
  const DWORD longLength = GetLongPathNameW(path, longPath, MAX_PATH);
  return WithTrailingBackslash(longLength && longLength <= MAX_PATH ? FromW(longPath) : FromW(path));
}

bool TSysUtils::ShellExec(const ustring& FilePath, const ustring& Arguments) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(GetActiveWindow(), L"open", W(FilePath), W(Arguments), nullptr,
                                                 SW_SHOWNORMAL)) > 32;
}

bool TSysUtils::ShellOpen(const ustring& FilePath) {
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(GetActiveWindow(), L"open", W(FilePath), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool TSysUtils::ShellExplore(const ustring& FilePath) {
  const ustring params = u"/select, \"" + FilePath + u"\"";
  return reinterpret_cast<INT_PTR>(ShellExecuteW(GetActiveWindow(), L"open", L"explorer.exe", W(params), nullptr,
                                                 SW_SHOWNORMAL)) > 32;
}

uint32_t TSysUtils::ShellExecAsAdminAndWait(HWND AHandle, const ustring& FilePath, const ustring& Params) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = AHandle;
  info.lpVerb = L"runas";
  info.lpFile = W(FilePath);
  info.lpParameters = Params.empty() ? nullptr : W(Params);
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info)) return 0;
  if (!info.hProcess) return 0;  // handed to an already running process
  UniqueHandle process(info.hProcess);
  return WaitForProcessWithMessages(process.Get());
}

uint32_t TSysUtils::ExecAndWait(const ustring& CommandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  ProcessHandles handles;
  if (!StartProcess(CommandLine, 0, &startup, false, {}, handles)) return 0;
  WaitForSingleObject(handles.process.Get(), INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(handles.process.Get(), &exitCode);
  return exitCode;
}

void TSysUtils::ExecCmd(const ustring& CMD, bool Wait) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  ProcessHandles handles;
  if (!StartProcess(CMD, CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, &startup, false, {}, handles)) return;
  if (Wait) WaitForSingleObject(handles.process.Get(), INFINITE);
}

ustring TSysUtils::GetDosOutput(const ustring& CommandLine, const ustring& Work) {
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readRaw = nullptr, writeRaw = nullptr;
  if (!CreatePipe(&readRaw, &writeRaw, &security, 0)) return {};
  UniqueHandle readPipe(readRaw), writePipe(writeRaw);
  SetHandleInformation(readPipe.Get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writePipe.Get();
  startup.hStdError = writePipe.Get();
  ProcessHandles handles;
  const bool started = StartProcess(u"cmd.exe /C " + CommandLine, 0, &startup, true, Work, handles);
  writePipe.Reset();  // only the child writes now, so the pipe ends with it
  if (!started) return {};

  ustring output;
  char buffer[255];
  DWORD got = 0;
  while (ReadFile(readPipe.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    const int length = MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(got), nullptr, 0);
    std::wstring piece(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(got), piece.data(), length);
    output += FromW(piece.c_str(), piece.size());
  }
  WaitForSingleObject(handles.process.Get(), INFINITE);
  return output;
}

void TSysUtils::RestartApplication() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  ShellOpen(FromW(path));
  PostQuitMessage(0);
}

void TSysUtils::EditWithMSPaint(const ustring& FilePath) {
  const ustring paint = WithTrailingBackslash(GetSpecialFolderPath(CSIDL_SYSTEM)) + u"mspaint.exe";
  const DWORD attributes = GetFileAttributesW(W(paint));
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShellExec(paint, u"\"" + FilePath + u"\"");
  }
}

bool TSysUtils::DeleteDirectory(const ustring& DirPath) {
  const bool deleted = FileOperation(FO_DELETE, DirPath, nullptr, FOF_SILENT | FOF_NOCONFIRMATION);
  // Some shells refuse a folder named with its trailing backslash: try the
  // plain name before reporting, so the folder is really gone.
  if (DirPath.size() > 1 && DirPath.back() == u'\\' && DirectoryExists(DirPath)) {
    return FileOperation(FO_DELETE, DirPath.substr(0, DirPath.size() - 1), nullptr,
                         FOF_SILENT | FOF_NOCONFIRMATION);
  }
  return deleted;
}

bool TSysUtils::CopyDirectory(const ustring& FromDirPath, const ustring& ToDirPath) {
  return FileOperation(FO_COPY, FromDirPath, &ToDirPath,
                       FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR);
}

bool TSysUtils::CopyFile(const ustring& FromPath, const ustring& ToPath) {
  return FileOperation(FO_COPY, FromPath, &ToPath, FOF_NOCONFIRMATION | FOF_FILESONLY);
}

void TSysUtils::GetDirectoryFiles(const ustring& RootDir, bool IncludeDirs, std::vector<ustring>& FileList,
                                  const ustring& FileMask) {
  FileList.clear();
  if (!DirectoryExists(RootDir)) return;
  const ustring root = WithTrailingBackslash(RootDir);
  for (const bool wantDirs : {true, false}) {
    if (wantDirs && !IncludeDirs) continue;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(W(root + FileMask), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const ustring name = FromW(data.cFileName);
      if (name == u"." || name == u"..") continue;
      const bool isDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isDir == wantDirs) FileList.push_back(root + name);
    } while (FindNextFileW(search, &data));
    FindClose(search);
  }
}

int64_t TSysUtils::GetSizeOfFile(const ustring& FilePath) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(W(FilePath), &data);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return data.nFileSizeLow;  // 4 GiB and more are not supported
}

int64_t TSysUtils::GetSizeOfDir(const ustring& DirPath, bool IncludeSubdirs) {
  std::vector<ustring> files;
  GetDirectoryFiles(DirPath, IncludeSubdirs, files, u"*.*");
  int64_t total = 0;
  for (const ustring& file : files) {
    if (!DirectoryExists(file)) total += GetSizeOfFile(file);
  }
  return total;
}

int64_t TSysUtils::GetSubdirectoriesCount(const ustring& DirPath) {
  std::vector<ustring> entries;
  GetDirectoryFiles(DirPath, true, entries, u"*.*");
  int64_t count = 0;
  for (const ustring& entry : entries) count += DirectoryExists(entry) ? 1 : 0;
  return count;
}

ustring TSysUtils::GetParentDirPath(const ustring& Path) {
  const ustring up = Path + u"\\..";
  wchar_t full[MAX_PATH * 4] = {};
  const DWORD length = GetFullPathNameW(W(up), MAX_PATH * 4, full, nullptr);
  return WithTrailingBackslash(length ? FromW(full, length) : up);
}

ustring TSysUtils::ExpandFileNameRelBaseDir(const ustring& FileName, const ustring& BaseDir) {
  const ustring joined = PathIsRelativeW(W(FileName)) ? WithTrailingBackslash(BaseDir) + FileName : FileName;
  wchar_t canonical[MAX_PATH] = {};
  if (joined.size() < MAX_PATH && PathCanonicalizeW(canonical, W(joined))) return FromW(canonical);
  return joined;
}

bool TSysUtils::FilesHaveSameDateTime(const ustring& File1Path, const ustring& File2Path) {
  WIN32_FILE_ATTRIBUTE_DATA first, second;
  if (!GetFileAttributesExW(W(File1Path), GetFileExInfoStandard, &first)) {
    throw EFileError("File not found: \"" + Utf16ToUtf8(File1Path) + "\"");
  }
  if (!GetFileAttributesExW(W(File2Path), GetFileExInfoStandard, &second)) {
    throw EFileError("File not found: \"" + Utf16ToUtf8(File2Path) + "\"");
  }
  auto ticks = [](const FILETIME& t) { return (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const int64_t difference = ticks(first.ftLastWriteTime) - ticks(second.ftLastWriteTime);
  return difference < 10000 && difference > -10000;  // 100 ns ticks: within a millisecond
}

bool TSysUtils::IsValidFilePath(const ustring& FileName) {
  ustring rest = FileName;
  while (!rest.empty()) {
    const size_t separator = rest.find_last_of(u"\\/");
    if (!MoveFileW(nullptr, W(rest)) && GetLastError() == ERROR_ALREADY_EXISTS) return false;
    const ustring part = separator == ustring::npos ? rest : rest.substr(separator + 1);
    if (GetFileAttributesW(W(part)) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_INVALID_NAME) return false;
    if (separator == ustring::npos) break;
    rest = rest.substr(0, separator);
  }
  return true;
}

void TSysUtils::RemoveUTFBoomFromFile(const ustring& FilePath) {
  UniqueHandle file(CreateFileW(W(FilePath), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw EFileError("Cannot open file \"" + Utf16ToUtf8(FilePath) + "\"");
  unsigned char head[3];
  DWORD got = 0;
  if (!ReadFile(file.Get(), head, 3, &got, nullptr) || got < 3) {
    throw EFileError("Cannot read file \"" + Utf16ToUtf8(FilePath) + "\"");
  }
  if (head[0] != 0xEF || head[1] != 0xBB || head[2] != 0xBF) return;
  std::vector<char> chunk(1048576);
  LARGE_INTEGER readAt{}, writeAt{};
  readAt.QuadPart = 3;
  for (;;) {
    SetFilePointerEx(file.Get(), readAt, nullptr, FILE_BEGIN);
    if (!ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) || got == 0) break;
    SetFilePointerEx(file.Get(), writeAt, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file.Get(), chunk.data(), got, &written, nullptr);
    readAt.QuadPart += got;
    writeAt.QuadPart += got;
  }
  SetFilePointerEx(file.Get(), writeAt, nullptr, FILE_BEGIN);
  SetEndOfFile(file.Get());
}

ustring TSysUtils::GetLnkFilePath(const ustring& LnkFilePath) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Put())))) {
    return {};
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) ||
      FAILED(file->Load(W(LnkFilePath), STGM_READ))) {
    return {};
  }
  wchar_t target[MAX_PATH] = {};
  WIN32_FIND_DATAW data;
  if (FAILED(link->GetPath(target, MAX_PATH, &data, SLGP_UNCPRIORITY))) return {};
  return FromW(target);
}

bool TSysUtils::ExtractExeIcon(const ustring& FilePath, HBITMAP& Bitmap) {
  HICON icon = ExtractIconW(GetModuleHandleW(nullptr), W(FilePath), 0);
  if (!icon || reinterpret_cast<INT_PTR>(icon) == 1) return false;
  ICONINFO info = {};
  GetIconInfo(icon, &info);
  BITMAP bits = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
  const int width = bits.bmWidth;
  const int height = info.hbmColor ? bits.bmHeight : bits.bmHeight / 2;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  Bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, Bitmap);
  DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyIcon(icon);
  return true;
}

ustring TSysUtils::FormatByteSize(int64_t Bytes) {
  constexpr double kKB = 1024.0, kMB = 1048576.0, kGB = 1073741824.0;
  const double value = static_cast<double>(Bytes);
  if (value > kGB) return FormatNumber(value / kGB) + u" GB";
  if (value > kMB) return FormatNumber(value / kMB) + u" MB";
  if (value > kKB) return FormatNumber(value / kKB) + u" KB";
  return FormatNumber(value) + u" bytes";
}

ustring TSysUtils::GetComputerNetName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  return GetComputerNameW(name, &size) ? FromW(name) : ustring();
}

ustring TSysUtils::GetUserFromWindows() {
  wchar_t name[260] = {};
  DWORD size = 260;
  return GetUserNameW(name, &size) ? FromW(name) : u"Unknown";
}

void TSysUtils::PressKey(WORD VirtualKey) {
  const auto scan = static_cast<BYTE>(MapVirtualKeyW(VirtualKey, MAPVK_VK_TO_VSC));
  keybd_event(static_cast<BYTE>(VirtualKey), scan, KEYEVENTF_EXTENDEDKEY, 0);
  keybd_event(static_cast<BYTE>(VirtualKey), scan, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

int32_t TSysUtils::TrueFontWidth(HFONT AFont, const ustring& Str) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, AFont);
  SIZE size = {};
  GetTextExtentPoint32W(screen, W(Str), static_cast<int>(Str.size()), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return size.cx;
}

bool TSysUtils::CheckEdgeIsInstalled(const ustring& EdgeLoaderDllPath) {
  const DWORD attributes = GetFileAttributesW(W(EdgeLoaderDllPath));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  HMODULE library = LoadLibraryW(W(EdgeLoaderDllPath));
  if (!library) return false;
  using GetVersionFn = HRESULT(STDAPICALLTYPE*)(PCWSTR, LPWSTR*);
  const auto getVersion = reinterpret_cast<GetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "GetAvailableCoreWebView2BrowserVersionString")));
  bool installed = false;
  if (getVersion) {
    LPWSTR version = nullptr;
    getVersion(nullptr, &version);  // its status code is not examined
    installed = version && version[0] != L'\0';
    if (version) CoTaskMemFree(version);
  }
  FreeLibrary(library);
  return installed;
}

}  // namespace vantrel
