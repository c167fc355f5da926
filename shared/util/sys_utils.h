#pragma once
// Small operating-system services: special folders, the temporary folder,
// starting programs through the shell, deleting folders, and the test for an
// installed browser runtime. Stateless: every member is a class method.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

class TSysUtils {
 public:
  TSysUtils() = delete;

  // Special folders, each ending with a backslash ("\" when the query fails).
  static ustring GetUserDesktopDirPath();
  static ustring GetUserDocumentsDirPath();
  static ustring GetUserAppDataDirPath();
  static ustring GetLocalAppDataDirPath();
  static ustring GetProgramFilesDirPath();
  static ustring GetSystemAppsDirPath();
  static ustring GetTempDirPath();

  static bool ShellExec(const ustring& FilePath, const ustring& Arguments);
  static bool ShellOpen(const ustring& FilePath);
  static bool ShellExplore(const ustring& FilePath);
  // Starts `FilePath` elevated and waits for it while window messages keep
  // flowing; returns its exit code (0 when nothing was started).
  static uint32_t ShellExecAsAdminAndWait(HWND AHandle, const ustring& FilePath, const ustring& Params);
  static uint32_t ExecAndWait(const ustring& CommandLine);
  static void ExecCmd(const ustring& CMD, bool Wait);
  static ustring GetDosOutput(const ustring& CommandLine, const ustring& Work);
  static void RestartApplication();
  static void EditWithMSPaint(const ustring& FilePath);

  // Deletes the folder with its whole content, silently.
  static bool DeleteDirectory(const ustring& DirPath);
  static bool CopyDirectory(const ustring& FromDirPath, const ustring& ToDirPath);
  static bool CopyFile(const ustring& FromPath, const ustring& ToPath);
  static void GetDirectoryFiles(const ustring& RootDir, bool IncludeDirs, std::vector<ustring>& FileList,
                                const ustring& FileMask);
  static int64_t GetSizeOfFile(const ustring& FilePath);
  static int64_t GetSizeOfDir(const ustring& DirPath, bool IncludeSubdirs);
  static int64_t GetSubdirectoriesCount(const ustring& DirPath);
  static ustring GetParentDirPath(const ustring& Path);
  static ustring ExpandFileNameRelBaseDir(const ustring& FileName, const ustring& BaseDir);
  static bool FilesHaveSameDateTime(const ustring& File1Path, const ustring& File2Path);
  static bool IsValidFilePath(const ustring& FileName);
  static void RemoveUTFBoomFromFile(const ustring& FilePath);
  static ustring GetLnkFilePath(const ustring& LnkFilePath);
  // Draws the file's first icon into a new bitmap (the caller deletes it).
  static bool ExtractExeIcon(const ustring& FilePath, HBITMAP& Bitmap);

  static ustring FormatByteSize(int64_t Bytes);
  static ustring GetComputerNetName();
  static ustring GetUserFromWindows();
  static void PressKey(WORD VirtualKey);
  static int32_t TrueFontWidth(HFONT AFont, const ustring& Str);

  // True when the loader library at the path loads and reports an installed
  // WebView2 runtime.
  static bool CheckEdgeIsInstalled(const ustring& EdgeLoaderDllPath);

 private:
  static ustring GetSpecialFolderPath(int CSIDL);
  static ustring WithTrailingBackslash(const ustring& path);
};

}  // namespace vantrel
