#include "shared/util/exe_utils.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/binary_file.h"
#include "platform/errors.h"
#include "platform/mapped_file.h"
#include "shared/util/package_bounds.h"

namespace vantrel {

namespace {
// Sizes are 32-bit: larger programs and packages are not supported.
constexpr int64_t kMaxSupportedSize = 0xFFFFFFFFLL;

// Reads from `source` but never more than `limit` bytes in all, so a copy
// takes exactly the package even if the file grew meanwhile.
std::function<size_t(uint8_t*, size_t)> ReaderOfAtMost(BinaryFile& source, int64_t limit) {
  return [&source, left = limit](uint8_t* buffer, size_t size) mutable {
    const size_t got = source.Read(buffer, static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(size))));
    left -= static_cast<int64_t>(got);
    return got;
  };
}
}  // namespace

int64_t TExeUtils::GetFileSizeOf(const ustring& path) { return FileSizeOf(path); }

int64_t TExeUtils::GetExeFileSize() const {
  // A signature added after packing follows the package: the package ends
  // where the certificate table begins.
  const int64_t fileSize = GetFileSizeOf(FProgram.ExePath());
  const auto signature = FProgram.CertificateTableOffset();
  const int64_t imageEnd = GetExeImageSize();
  if (!signature || *signature < imageEnd || *signature > fileSize) return fileSize;
  // The signing tool may have put up to 7 zero bytes before the table.
  const size_t tailSize = static_cast<size_t>(std::min<int64_t>(*signature - imageEnd, kPackageTailToScan));
  std::vector<uint8_t> tail(tailSize);
  BinaryFile file(FProgram.ExePath(), BinaryFile::Mode::Read);
  file.Seek(*signature - tailSize);
  if (file.Read(tail.data(), tailSize) != tailSize) return *signature;
  return *signature - static_cast<int64_t>(SignaturePadding(tail.data(), tailSize));
}

uint32_t TExeUtils::GetExeImageSize() const { return FProgram.ImageEnd(); }

bool TExeUtils::ExeHasAttachedStub() { return GetExeFileSize() - GetExeImageSize() > 0; }

uint32_t TExeUtils::RequirePackageSize() {
  const int64_t fileSize = GetExeFileSize();
  if (fileSize > kMaxSupportedSize) throw EVantrelError("The program file is larger than 4 GiB");
  const int64_t size = fileSize - GetExeImageSize();
  if (size == 0) {
    FProgram.ShowPlainErrorBox(U("This is not a valid Windows application"), U("Error"));
    throw EProcessExit{0};
  }
  if (size < 0) throw EVantrelError("The program file is shorter than its own image");
  return static_cast<uint32_t>(size);
}

void TExeUtils::Copy(const std::function<size_t(uint8_t*, size_t)>& read,
                     const std::function<void(const uint8_t*, size_t)>& write, int64_t total) {
  if (FOnProgressMax) FOnProgressMax(this, total);
  auto buffer = std::make_unique<uint8_t[]>(kCopyBufferSize);
  int64_t count = 0;
  while (count < total) {
    const size_t got = read(buffer.get(), kCopyBufferSize);
    if (got == 0) {
      // The source shrank or was cut: stop instead of waiting for bytes that never come.
      throw EFileError("The file ended after " + std::to_string(count) + " of " + std::to_string(total) +
                       " bytes");
    }
    write(buffer.get(), got);
    count += static_cast<int64_t>(got);
    if (FOnProgressPos) FOnProgressPos(this, count);
  }
}

void TExeUtils::GetZipFromExe(TMemoryStream& MemoryStream) {
  const uint32_t total = RequirePackageSize();
  BinaryFile source(FProgram.ExePath(), BinaryFile::Mode::Read);
  source.Seek(GetExeImageSize());
  MemoryStream.Clear();
  MemoryStream.Reserve(total);
  Copy(ReaderOfAtMost(source, total),
      [&](const uint8_t* data, size_t size) { MemoryStream.Write(data, size); }, total);
}

TByteView TExeUtils::MapZipFromExe() {
  const uint32_t total = RequirePackageSize();
  const uint32_t imageEnd = GetExeImageSize();
  auto file = TMappedFile::Open(FProgram.ExePath());
  // The file may have changed since its size was taken: never read past it.
  if (file->Size() < static_cast<uint64_t>(imageEnd) + total) {
    throw EFileError("The program file ended after " + std::to_string(file->Size()) + " bytes");
  }
  TByteView view;
  view.data = file->Data() + imageEnd;
  view.size = total;
  view.owner = std::move(file);
  return view;
}

void TExeUtils::ExtractZipFromExe(const ustring& ZipPath) {
  const uint32_t total = RequirePackageSize();
  BinaryFile source(FProgram.ExePath(), BinaryFile::Mode::Read);
  source.Seek(GetExeImageSize());
  BinaryFile target(ZipPath, BinaryFile::Mode::CreateTruncate);
  Copy(ReaderOfAtMost(source, total),
      [&](const uint8_t* data, size_t size) { target.Write(data, size); }, total);
  target.Flush();
}

void TExeUtils::AppendZipToExe(const ustring& ZipPath, const ustring& ExePath) {
  BinaryFile source(ZipPath, BinaryFile::Mode::Read);
  const int64_t total = static_cast<int64_t>(source.Size());
  BinaryFile target(ExePath, BinaryFile::Mode::WriteExisting);
  target.Seek(target.Size());
  Copy([&](uint8_t* buffer, size_t size) { return source.Read(buffer, size); },
       [&](const uint8_t* data, size_t size) { target.Write(data, size); }, total);
  target.Flush();
}

}  // namespace vantrel
