// System utilities and localized messages on (Wine's) Windows.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/win_text.h"
#include "runtime/win32/localized_message_dlg.h"
#include "shared/util/command_line.h"
#include "shared/util/str_utils.h"
#include "shared/util/sys_utils.h"
#include "tests/win32/check.h"

using namespace vantrel;
using win32::W;

namespace {

bool EndsWithBackslash(const ustring& s) { return !s.empty() && s.back() == u'\\'; }

bool DirectoryExists(const ustring& path) {
  const DWORD a = GetFileAttributesW(W(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFile(const ustring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

}  // namespace

int wmain() {
  wintest::Checker c{"sys utils"};

  c.Throws([] { GetLocalizedMessage(10); }, "MessageIndex is out of range!", "message index 10");
  c.Throws([] { GetLocalizedMessage(-1); }, "MessageIndex is out of range!", "message index -1");
  c.Check(GetLocalizedMessage(0) == GetUserLanguageCode() || GetLocalizedMessage(0) == u"en",
          "index 0 is the table's language code");
  c.Check(GetUserLanguageCode().size() == 2, "the user's language is a two-letter code");

  for (const ustring& folder : {TSysUtils::GetUserDesktopDirPath(), TSysUtils::GetUserDocumentsDirPath(),
                                TSysUtils::GetUserAppDataDirPath(), TSysUtils::GetLocalAppDataDirPath(),
                                TSysUtils::GetProgramFilesDirPath(), TSysUtils::GetSystemAppsDirPath(),
                                TSysUtils::GetTempDirPath()}) {
    c.Check(EndsWithBackslash(folder) && folder.size() > 3, "folder ends with a backslash: " + Utf16ToUtf8(folder));
  }

  const ustring root = TSysUtils::GetTempDirPath() + u"vantrel-sysutils-test\\";
  TSysUtils::DeleteDirectory(root);
  CreateDirectoryW(W(root), nullptr);
  CreateDirectoryW(W(root + u"sub"), nullptr);
  CreateDirectoryW(W(root + u"sub\\deeper"), nullptr);
  WriteFile(root + u"a.txt", "12345");
  WriteFile(root + u"sub\\b.txt", "xy");
  WriteFile(root + u"bom.txt", "\xEF\xBB\xBFhello");

  std::vector<ustring> files;
  TSysUtils::GetDirectoryFiles(root, true, files, u"*.*");
  c.Check(files.size() == 3 && files[0] == root + u"sub", "directory listing: folders first, not recursive");
  c.Check(TSysUtils::GetSizeOfFile(root + u"a.txt") == 5, "size of a file");
  c.Check(TSysUtils::GetSizeOfFile(root + u"none.txt") == -1, "size of a missing file is -1");
  c.Check(TSysUtils::GetSizeOfDir(root, true) == 13, "size of a folder counts its own files");
  c.Check(TSysUtils::GetSubdirectoriesCount(root) == 1, "one immediate sub-folder");
  c.Check(TSysUtils::GetSubdirectoriesCount(root + u"missing") == 0, "missing folder has no sub-folders");
  TSysUtils::RemoveUTFBoomFromFile(root + u"bom.txt");
  c.Check(TSysUtils::GetSizeOfFile(root + u"bom.txt") == 5, "byte-order mark removed");
  c.Check(TSysUtils::ExpandFileNameRelBaseDir(u"x\\..\\y.txt", u"C:\\base") == u"C:\\base\\y.txt",
          "relative name expanded against the base");
  c.Check(TSysUtils::ExpandFileNameRelBaseDir(u"D:\\abs.txt", u"C:\\base") == u"D:\\abs.txt",
          "absolute name kept");
  c.Check(TSysUtils::GetParentDirPath(u"C:\\a\\b") == u"C:\\a\\", "parent folder");
  c.Check(TSysUtils::FilesHaveSameDateTime(root + u"a.txt", root + u"a.txt"), "a file has its own time");
  c.Check(TSysUtils::IsValidFilePath(u"C:\\fine\\name.txt"), "a plain path is valid");
  c.Check(!TSysUtils::IsValidFilePath(u"C:\\bad\\na|me.txt"), "a path with | is not valid");
  c.Check(TSysUtils::FormatByteSize(1536) == u"1.5 KB", "1536 bytes is 1.5 KB");
  c.Check(TSysUtils::FormatByteSize(0) == u" bytes", "0 bytes prints no digit");
  c.Check(TSysUtils::FormatByteSize(3 * 1048576 + 1) == u"3 MB", "just over 3 MB");
  c.Check(!TSysUtils::GetComputerNetName().empty(), "computer name");
  c.Check(!TSysUtils::GetUserFromWindows().empty(), "user name");

  c.Check(!TSysUtils::CheckEdgeIsInstalled(root + u"a.txt"), "a file that is no library: runtime missing");
  c.Check(!TSysUtils::CheckEdgeIsInstalled(root + u"none.dll"), "a missing loader: runtime missing");

  // Deleting with the trailing backslash removes the folder for real.
  c.Check(TSysUtils::DeleteDirectory(root), "folder deleted");
  c.Check(!DirectoryExists(root), "folder gone afterwards");
  c.Check(!TSysUtils::DeleteDirectory(root), "deleting a missing folder gives false");

  // An address with quotes reaches a child process as one argument.
  const ustring hostile = u"file:///a\" --evil \"b\\";
  const ustring line = u"prog.exe com.example " + QuoteCommandLineArgument(hostile);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(W(line), &argc);
  c.Check(argc == 3 && win32::FromW(argv[2]) == hostile, "quoted address stays one argument");
  LocalFree(argv);

  {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = -42;
    c.Check(TStrUtils::OleVarToStr(v) == u"-42", "integer variant");
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = VARIANT_TRUE;
    c.Check(TStrUtils::OleVarToStr(v).empty(), "boolean variant gives no text");
    V_VT(&v) = VT_EMPTY;
    c.Check(TStrUtils::OleVarToStr(v).empty(), "empty variant");
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(L"caf\u00e9");
    c.Check(TStrUtils::OleVarToStr(v) == u"caf\u00e9", "string variant");
    VariantClear(&v);
    V_VT(&v) = VT_DATE;
    V_DATE(&v) = 45000.5;
    c.Check(!TStrUtils::OleVarToStr(v).empty(), "date variant has a text");
  }
  return c.Finish();
}
