#include "tools/pack/package_writer.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "tools/pack/file_bytes.h"
#include "tools/pack/pkware_cipher.h"

#include "platform/errors.h"

namespace vantrel::pack {

namespace {
constexpr size_t kWriteChunk = 1 << 20;

bool IsAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
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

constexpr uLong kEncryptedFlag = 1u << 0;
constexpr uLong kUtf8NameFlag = 1u << 11;

std::vector<unsigned char> RawDeflate(const std::vector<unsigned char>& input) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw EVantrelError("Cannot start compression");
  }
  std::vector<unsigned char> out(deflateBound(&z, static_cast<uLong>(input.size())));
  z.next_in = const_cast<Bytef*>(input.data());
  z.avail_in = static_cast<uInt>(input.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw EVantrelError("Cannot compress");
  return out;
}

struct ZipCloser {
  void operator()(void* zip) const { zipClose(static_cast<zipFile>(zip), nullptr); }
};
}  // namespace

void WritePackage(const std::string& zipPath, const std::vector<PackageEntry>& entries,
                  const PackageWriteOptions& options) {
  uint64_t total = 0;
  for (const auto& entry : entries) {
    if (entry.contents) {
      total += entry.contents->size();
      continue;
    }
    std::ifstream in(entry.sourcePath, std::ios::binary | std::ios::ate);
    if (!in) throw EFileError("Cannot open file \"" + entry.sourcePath + "\"");
    total += static_cast<uint64_t>(in.tellg());
  }

  zipFile raw = zipOpen64(zipPath.c_str(), APPEND_STATUS_CREATE);
  if (!raw) throw EFileError("Cannot create file \"" + zipPath + "\"");
  std::unique_ptr<void, ZipCloser> zip(raw);

  const zip_fileinfo info = NowInfo();
  std::random_device entropy;
  uint64_t done = 0;
  for (const auto& entry : entries) {
    const std::vector<uint8_t> bytes = entry.contents ? *entry.contents : ReadFileBytes(entry.sourcePath);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size()));
    std::vector<unsigned char> data = options.deflate ? RawDeflate(bytes) : bytes;

    // minizip lays out the archive; the entry's bytes arrive already
    // encrypted, so it writes them as they are (raw mode, flag bit 0 set).
    PkwareEncryptor cipher(options.password);
    std::vector<uint8_t> payload = cipher.Header(static_cast<uint32_t>(crc), entropy());
    cipher.Encrypt(data.data(), data.size());
    payload.insert(payload.end(), data.begin(), data.end());

    const uLong flags = kEncryptedFlag | (IsAscii(entry.name) ? 0 : kUtf8NameFlag);
    if (zipOpenNewFileInZip4_64(raw, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                options.deflate ? Z_DEFLATED : 0, options.deflate ? Z_BEST_COMPRESSION : 0,
                                1, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags,
                                payload.size() >= 0xFFFFFFFFu) != ZIP_OK) {
      throw EFileError("Cannot add \"" + entry.name + "\" to \"" + zipPath + "\"");
    }
    for (size_t offset = 0; offset < payload.size(); offset += kWriteChunk) {
      const size_t n = std::min(kWriteChunk, payload.size() - offset);
      if (zipWriteInFileInZip(raw, payload.data() + offset, static_cast<unsigned>(n)) != ZIP_OK) {
        throw EFileError("Cannot write \"" + entry.name + "\" to \"" + zipPath + "\"");
      }
    }
    if (zipCloseFileInZipRaw64(raw, bytes.size(), crc) != ZIP_OK) {
      throw EFileError("Cannot write \"" + entry.name + "\" to \"" + zipPath + "\"");
    }
    done += bytes.size();
    if (options.onProgress) options.onProgress(done, total);
  }
  if (zipClose(zip.release(), nullptr) != ZIP_OK) throw EFileError("Cannot write file \"" + zipPath + "\"");
}

}  // namespace vantrel::pack
