#include "platform/binary_file.h"

#include "platform/path_root.h"
#include "platform/errors.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"

namespace vantrel {

using win32::FromW;
using win32::W;

namespace {
std::string Describe(const char* what, const ustring& path, DWORD code = GetLastError()) {
  return std::string(what) + " \"" + Utf16ToUtf8(path) + "\". " + win32::SystemErrorMessage(code);
}
}  // namespace

struct BinaryFile::Impl {
  win32::UniqueHandle file;
  ustring path;
};

BinaryFile::BinaryFile(const ustring& path, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = path;
  const DWORD access = mode == Mode::Read ? GENERIC_READ : GENERIC_WRITE;
  const DWORD disposition = mode == Mode::CreateTruncate ? CREATE_ALWAYS : OPEN_EXISTING;
  impl_->file = win32::UniqueHandle(CreateFileW(W(path), access, FILE_SHARE_READ, nullptr, disposition,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!impl_->file) {
    throw EFileError(Describe(mode == Mode::CreateTruncate ? "Cannot create file" : "Cannot open file", path));
  }
}

BinaryFile::~BinaryFile() = default;

size_t BinaryFile::Read(void* buffer, size_t size) {
  DWORD got = 0;
  if (!ReadFile(impl_->file.Get(), buffer, static_cast<DWORD>(size), &got, nullptr)) {
    throw EFileError(Describe("Cannot read file", impl_->path));
  }
  return got;
}

void BinaryFile::Write(const void* buffer, size_t size) {
  DWORD written = 0;
  if (size && (!WriteFile(impl_->file.Get(), buffer, static_cast<DWORD>(size), &written, nullptr) ||
               written != size)) {
    throw EFileError(Describe("Cannot write file", impl_->path));
  }
}

void BinaryFile::Seek(uint64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!SetFilePointerEx(impl_->file.Get(), to, nullptr, FILE_BEGIN)) {
    throw EFileError(Describe("Cannot seek in file", impl_->path));
  }
}

uint64_t BinaryFile::Size() {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(impl_->file.Get(), &size)) throw EFileError(Describe("Cannot read file", impl_->path));
  return static_cast<uint64_t>(size.QuadPart);
}

void BinaryFile::Flush() {
  if (!FlushFileBuffers(impl_->file.Get())) throw EFileError(Describe("Cannot write file", impl_->path));
}

int64_t FileSizeOf(const ustring& path) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(W(path), &data);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FileExists(const ustring& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const ustring& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ForceDirectories(const ustring& path) {
  ustring p = path;
  while (p.size() > 3 && (p.back() == u'\\' || p.back() == u'/')) p.pop_back();
  // A drive, share or long-path prefix is there or not: never created.
  const size_t root = WindowsPathRootLength(p);
  for (size_t i = root + 1; i <= p.size(); ++i) {
    if (i != p.size() && p[i] != u'\\' && p[i] != u'/') continue;
    const ustring part = p.substr(0, i);
    const DWORD attributes = GetFileAttributesW(W(part));
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw EFileError("Cannot create folder \"" + Utf16ToUtf8(part) + "\". It is a file.");
      }
      continue;
    }
    if (!CreateDirectoryW(W(part), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      throw EFileError(Describe("Cannot create folder", part));
    }
  }
}

void RenameFile(const ustring& from, const ustring& to) {
  if (!MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING)) {
    throw EFileError(Describe("Cannot rename file", from));
  }
}

void DeleteFileIfPresent(const ustring& path) { DeleteFileW(W(path)); }

ustring DecodeAnsi(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data),
                                         static_cast<int>(size), nullptr, 0);
  std::wstring out(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), out.data(),
                      length);
  return FromW(out.c_str(), out.size());
}

}  // namespace vantrel
