#pragma once
// The package appended to the program's own file: test, read, extract and
// append it. Offsets inside the ZIP count from the package's first byte.
#include <cstdint>
#include <functional>

#include "platform/program_image.h"
#include "platform/ustring.h"
#include "shared/util/byte_view.h"
#include "shared/util/memory_stream.h"

namespace vantrel {

class BinaryFile;

class TExeUtils {
 public:
  using TOnProgressMax = std::function<void(TExeUtils* Sender, const int64_t AMax)>;
  using TOnProgressPos = std::function<void(TExeUtils* Sender, const int64_t APos)>;

  static constexpr size_t kCopyBufferSize = 10240;

  explicit TExeUtils(const IProgramImage& program) : FProgram(program) {}

  bool ExeHasAttachedStub();
  // Copies the package into `MemoryStream` from position 0 (earlier content
  // is dropped) and leaves the position at its end.
  void GetZipFromExe(TMemoryStream& MemoryStream);
  // The package where it lies: a read-only view of the program's file,
  // mapped, so opening costs the same for any package size and only the
  // pages read are loaded. Fails like GetZipFromExe.
  TByteView MapZipFromExe();
  void ExtractZipFromExe(const ustring& ZipPath);
  void AppendZipToExe(const ustring& ZipPath, const ustring& ExePath);

  const TOnProgressMax& OnProgressMax() const { return FOnProgressMax; }
  void SetOnProgressMax(TOnProgressMax handler) { FOnProgressMax = std::move(handler); }
  const TOnProgressPos& OnProgressPos() const { return FOnProgressPos; }
  void SetOnProgressPos(TOnProgressPos handler) { FOnProgressPos = std::move(handler); }

 private:
  // Where the package ends: the file's end, or where a certificate table begins.
  int64_t GetExeFileSize() const;
  static int64_t GetFileSizeOf(const ustring& path);
  uint32_t GetExeImageSize() const;
  // Package size; shows "This is not a valid Windows application" and ends
  // the process with exit code 0 when there is none.
  uint32_t RequirePackageSize();
  void Copy(const std::function<size_t(uint8_t*, size_t)>& read,
            const std::function<void(const uint8_t*, size_t)>& write, int64_t total);

  const IProgramImage& FProgram;
  TOnProgressMax FOnProgressMax;
  TOnProgressPos FOnProgressPos;
};

}  // namespace vantrel
