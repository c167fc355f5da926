#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/binary_file.h"
#include "platform/errors.h"

namespace vantrel {

namespace {
std::string Describe(const char* what, const ustring& path) {
  return std::string(what) + " \"" + Utf16ToUtf8(path) + "\". " + std::strerror(errno);
}
}  // namespace

struct BinaryFile::Impl {
  std::FILE* file = nullptr;
  ustring path;
};

BinaryFile::BinaryFile(const ustring& path, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = path;
  const char* flags = mode == Mode::Read ? "rb" : mode == Mode::WriteExisting ? "r+b" : "wb";
  impl_->file = std::fopen(Utf16ToUtf8(path).c_str(), flags);
  if (!impl_->file) {
    throw EFileError(Describe(mode == Mode::CreateTruncate ? "Cannot create file" : "Cannot open file", path));
  }
}

BinaryFile::~BinaryFile() {
  if (impl_ && impl_->file) std::fclose(impl_->file);
}

size_t BinaryFile::Read(void* buffer, size_t size) {
  const size_t got = std::fread(buffer, 1, size, impl_->file);
  if (got == 0 && std::ferror(impl_->file)) throw EFileError(Describe("Cannot read file", impl_->path));
  return got;
}

void BinaryFile::Write(const void* buffer, size_t size) {
  if (size && std::fwrite(buffer, 1, size, impl_->file) != size) {
    throw EFileError(Describe("Cannot write file", impl_->path));
  }
}

void BinaryFile::Seek(uint64_t position) {
  if (fseeko(impl_->file, static_cast<off_t>(position), SEEK_SET) != 0) {
    throw EFileError(Describe("Cannot seek in file", impl_->path));
  }
}

uint64_t BinaryFile::Size() {
  struct stat st {};
  std::fflush(impl_->file);
  if (fstat(fileno(impl_->file), &st) != 0) throw EFileError(Describe("Cannot read file", impl_->path));
  return static_cast<uint64_t>(st.st_size);
}

void BinaryFile::Flush() {
  if (std::fflush(impl_->file) != 0) throw EFileError(Describe("Cannot write file", impl_->path));
}

int64_t FileSizeOf(const ustring& path) {
  struct stat st {};
  if (stat(Utf16ToUtf8(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool FileExists(const ustring& path) { return FileSizeOf(path) >= 0; }

bool DirectoryExists(const ustring& path) {
  struct stat st {};
  return stat(Utf16ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ForceDirectories(const ustring& path) {
  std::string p = Utf16ToUtf8(path);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  for (size_t i = 1; i <= p.size(); ++i) {
    if (i != p.size() && p[i] != '/') continue;
    const std::string part = p.substr(0, i);
    struct stat st {};
    if (stat(part.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) throw EFileError("Cannot create folder \"" + part + "\". It is a file.");
      continue;
    }
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      throw EFileError(Describe("Cannot create folder", Utf8ToUtf16(part)));
    }
  }
}

void RenameFile(const ustring& from, const ustring& to) {
  if (std::rename(Utf16ToUtf8(from).c_str(), Utf16ToUtf8(to).c_str()) != 0) {
    throw EFileError(Describe("Cannot rename file", from));
  }
}

void DeleteFileIfPresent(const ustring& path) { ::unlink(Utf16ToUtf8(path).c_str()); }

ustring DecodeAnsi(const uint8_t* data, size_t size) {
  // Windows-1252, the usual ANSI code page of western systems.
  static const char16_t k80to9F[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  ustring out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    out.push_back(b >= 0x80 && b <= 0x9F ? k80to9F[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

}  // namespace vantrel
