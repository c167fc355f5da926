#include "tools/pack/package_writer.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

#include "platform/errors.h"
#include "platform/ustring.h"
#include "shared/util/pkware_cipher.h"

namespace vantrel::pack {

namespace {
constexpr size_t kBuffer = 1 << 20;
constexpr uLong kEncryptedFlag = 1u << 0;
constexpr uLong kUtf8NameFlag = 1u << 11;

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

zip_fileinfo NowInfo() {
  zip_fileinfo info{};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
  info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
  info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
  info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
  info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
  info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
  return info;
}

// minizip's file access with every position counted from `base`: the
// package is written straight behind the program already in the file, and
// its offsets count from the package's first byte, as the runtime reads them.
struct OffsetFile {
  FILE* file;
  uint64_t base;
};

int64_t FileTell(FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

int FileSeek(FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, offset, origin);
#endif
}

voidpf ZCALLBACK OpenAfter(voidpf opaque, const void* path, int) {
#ifdef _WIN32
  FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(Utf8ToUtf16(static_cast<const char*>(path)).c_str()), L"r+b");
#else
  FILE* file = std::fopen(static_cast<const char*>(path), "r+b");
#endif
  if (!file) return nullptr;
  FileSeek(file, 0, SEEK_END);
  auto* offsetFile = new OffsetFile{file, static_cast<uint64_t>(FileTell(file))};
  *static_cast<uint64_t*>(opaque) = offsetFile->base;
  return offsetFile;
}
uLong ZCALLBACK ReadAfter(voidpf, voidpf stream, void* buffer, uLong size) {
  return static_cast<uLong>(std::fread(buffer, 1, size, static_cast<OffsetFile*>(stream)->file));
}
uLong ZCALLBACK WriteAfter(voidpf, voidpf stream, const void* buffer, uLong size) {
  return static_cast<uLong>(std::fwrite(buffer, 1, size, static_cast<OffsetFile*>(stream)->file));
}
ZPOS64_T ZCALLBACK TellAfter(voidpf, voidpf stream) {
  const auto* f = static_cast<OffsetFile*>(stream);
  return static_cast<ZPOS64_T>(FileTell(f->file)) - f->base;
}
long ZCALLBACK SeekAfter(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  const auto* f = static_cast<OffsetFile*>(stream);
  const int whence = origin == ZLIB_FILEFUNC_SEEK_SET ? SEEK_SET : origin == ZLIB_FILEFUNC_SEEK_CUR ? SEEK_CUR : SEEK_END;
  const int64_t position = static_cast<int64_t>(offset) + (whence == SEEK_SET ? static_cast<int64_t>(f->base) : 0);
  return FileSeek(f->file, position, whence) == 0 ? 0 : -1;
}
int ZCALLBACK CloseAfter(voidpf, voidpf stream) {
  auto* f = static_cast<OffsetFile*>(stream);
  const int result = std::fclose(f->file);
  delete f;
  return result;
}
int ZCALLBACK ErrorAfter(voidpf, voidpf stream) { return std::ferror(static_cast<OffsetFile*>(stream)->file); }

struct ZipCloser {
  void operator()(void* zip) const { zipClose(static_cast<zipFile>(zip), nullptr); }
};
struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

// An entry's bytes, read in bounded pieces from its file or its memory.
class EntrySource {
 public:
  explicit EntrySource(const PackageEntry& entry) : entry_(entry) { Rewind(); }
  void Rewind() {
    offset_ = 0;
    if (entry_.contents) return;
#ifdef _WIN32
    file_.reset(_wfopen(reinterpret_cast<const wchar_t*>(Utf8ToUtf16(entry_.sourcePath).c_str()), L"rb"));
#else
    file_.reset(std::fopen(entry_.sourcePath.c_str(), "rb"));
#endif
    if (!file_) throw EFileError("Cannot open file \"" + entry_.sourcePath + "\"");
  }
  size_t Read(uint8_t* buffer, size_t size) {
    if (entry_.contents) {
      const size_t n = std::min(size, entry_.contents->size() - offset_);
      std::copy_n(entry_.contents->data() + offset_, n, buffer);
      offset_ += n;
      return n;
    }
    const size_t n = std::fread(buffer, 1, size, file_.get());
    if (n < size && std::ferror(file_.get())) throw EFileError("Cannot read file \"" + entry_.sourcePath + "\"");
    return n;
  }

 private:
  const PackageEntry& entry_;
  std::unique_ptr<FILE, FileCloser> file_;
  size_t offset_ = 0;
};

// Encrypts pieces and hands them to minizip.
class EncryptingWriter {
 public:
  EncryptingWriter(zipFile zip, TPkwareCipher& cipher, const std::string& name, const std::string& zipPath)
      : zip_(zip), cipher_(cipher), name_(name), zipPath_(zipPath) {}
  void Write(uint8_t* data, size_t size) {
    cipher_.Encrypt(data, size);
    if (size && zipWriteInFileInZip(zip_, data, static_cast<unsigned>(size)) != ZIP_OK) {
      throw EFileError("Cannot write \"" + name_ + "\" to \"" + zipPath_ + "\"");
    }
    written_ += size;
  }
  uint64_t Written() const { return written_; }

 private:
  zipFile zip_;
  TPkwareCipher& cipher_;
  const std::string& name_;
  const std::string& zipPath_;
  uint64_t written_ = 0;
};
}  // namespace

bool IsCompressibleName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return false;
  const std::string extension = AsciiLower(name.substr(dot + 1));
  for (const char* compressible : {"html", "htm", "css", "js", "mjs", "cjs", "json", "map", "svg", "wasm", "txt",
                                   "xml", "ico", "ini", "md", "csv", "webmanifest", "dll", "exe"}) {
    if (extension == compressible) return true;
  }
  return false;
}

std::vector<WrittenEntry> WritePackage(const std::string& zipPath, const std::vector<PackageEntry>& entries,
                                       const PackageWriteOptions& options) {
  // A file that is not there yet starts empty.
#ifdef _WIN32
  if (FILE* touch = _wfopen(reinterpret_cast<const wchar_t*>(Utf8ToUtf16(zipPath).c_str()), L"ab")) std::fclose(touch);
#else
  if (FILE* touch = std::fopen(zipPath.c_str(), "ab")) std::fclose(touch);
#endif
  uint64_t base = 0;
  zlib_filefunc64_def access{OpenAfter, ReadAfter, WriteAfter, TellAfter, SeekAfter, CloseAfter, ErrorAfter, &base};
  zipFile raw = zipOpen2_64(zipPath.c_str(), APPEND_STATUS_CREATE, nullptr, &access);
  if (!raw) throw EFileError("Cannot write file \"" + zipPath + "\"");
  std::unique_ptr<void, ZipCloser> zip(raw);

  const zip_fileinfo info = NowInfo();
  std::random_device entropy;
  std::vector<uint8_t> input(kBuffer), output(kBuffer);
  std::vector<WrittenEntry> written;
  uint64_t total = 0, done = 0;
  // First pass over every entry: its CRC (the encryption header's check byte
  // needs it before the data) and size.
  for (const auto& entry : entries) {
    EntrySource source(entry);
    WrittenEntry w{entry.name, static_cast<uint32_t>(crc32(0, Z_NULL, 0)), 0,
                   options.deflate.value_or(IsCompressibleName(entry.name))};
    for (size_t n; (n = source.Read(input.data(), input.size())) > 0;) {
      w.crc = static_cast<uint32_t>(crc32(w.crc, input.data(), static_cast<uInt>(n)));
      w.size += n;
    }
    total += w.size;
    written.push_back(w);
  }

  for (size_t i = 0; i < entries.size(); ++i) {
    const PackageEntry& entry = entries[i];
    const WrittenEntry& w = written[i];
    const uLong flags = kEncryptedFlag | (IsAscii(entry.name) ? 0 : kUtf8NameFlag);
    const int level = Z_DEFAULT_COMPRESSION;
    // minizip lays out the archive; the entry's bytes arrive already
    // compressed and encrypted, so it writes them as they are (raw mode).
    if (zipOpenNewFileInZip4_64(raw, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                w.deflated ? Z_DEFLATED : 0, w.deflated ? level : 0, 1, -MAX_WBITS, DEF_MEM_LEVEL,
                                Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags, w.size + 64 >= 0xFFFFFFFFu) != ZIP_OK) {
      throw EFileError("Cannot add \"" + entry.name + "\" to \"" + zipPath + "\"");
    }
    TPkwareCipher cipher(options.password);
    std::vector<uint8_t> header = cipher.Header(static_cast<uint8_t>(w.crc >> 24), entropy());
    if (zipWriteInFileInZip(raw, header.data(), static_cast<unsigned>(header.size())) != ZIP_OK) {
      throw EFileError("Cannot write \"" + entry.name + "\" to \"" + zipPath + "\"");
    }
    EncryptingWriter out(raw, cipher, entry.name, zipPath);
    EntrySource source(entry);
    uint64_t read = 0;
    z_stream z{};
    if (w.deflated && deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw EVantrelError("Cannot start compression");
    }
    const std::unique_ptr<z_stream, int (*)(z_stream*)> closer(w.deflated ? &z : nullptr, deflateEnd);
    for (;;) {
      const size_t n = source.Read(input.data(), input.size());
      read += n;
      if (!w.deflated) {
        if (n == 0) break;
        out.Write(input.data(), n);
      } else {
        z.next_in = input.data();
        z.avail_in = static_cast<uInt>(n);
        const int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
        int result;
        do {
          z.next_out = output.data();
          z.avail_out = static_cast<uInt>(output.size());
          result = deflate(&z, flush);
          if (result == Z_STREAM_ERROR) throw EVantrelError("Cannot compress \"" + entry.name + "\"");
          out.Write(output.data(), output.size() - z.avail_out);
        } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
        if (n == 0) break;
      }
      if (options.onProgress) options.onProgress(done + read, total);
    }
    // The file must not have changed between the two passes.
    if (read != w.size) throw EFileError("\"" + entry.sourcePath + "\" changed while it was packed");
    if (zipCloseFileInZipRaw64(raw, w.size, w.crc) != ZIP_OK) {
      throw EFileError("Cannot write \"" + entry.name + "\" to \"" + zipPath + "\"");
    }
    done += w.size;
    if (options.onProgress) options.onProgress(done, total);
  }
  if (zipClose(zip.release(), nullptr) != ZIP_OK) throw EFileError("Cannot write file \"" + zipPath + "\"");
  return written;
}

}  // namespace vantrel::pack
