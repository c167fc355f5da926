#include "shared/util/zip_archive.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace vantrel {

namespace {
std::string ErrorText(zip_error_t* error) { return zip_error_strerror(error); }

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
}  // namespace

TZipArchive::TZipArchive() = default;

TZipArchive::~TZipArchive() {
  if (archive_) zip_discard(archive_);
}

void TZipArchive::SetPassword(const std::string& password) {
  password_ = password;
  if (archive_) zip_set_default_password(archive_, password_.c_str());
}

void TZipArchive::Open(std::shared_ptr<const TMemoryStream> stream) {
  if (!stream) throw EZipError("No package stream to open");
  TByteView view;
  view.data = stream->Data();
  view.size = stream->Size();
  view.owner = std::move(stream);
  Open(std::move(view));
}

void TZipArchive::Open(TByteView bytes) {
  if (archive_) {
    zip_discard(archive_);
    archive_ = nullptr;
    index_.clear();
    directory_.clear();
    checkpoints_.clear();
  }
  // An empty buffer would open as an empty archive; a package is never empty.
  if (!bytes.data || bytes.size == 0) throw EZipError("The package is empty");
  bytes_ = std::move(bytes);

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes_.data, bytes_.size, 0, &error);
  if (!source) {
    const std::string text = ErrorText(&error);
    zip_error_fini(&error);
    throw EZipError("Cannot read the package: " + text);
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (!archive) {
    const std::string text = ErrorText(&error);
    zip_source_free(source);
    zip_error_fini(&error);
    throw EZipError("The package is not a readable ZIP archive: " + text);
  }
  zip_error_fini(&error);
  archive_ = archive;
  if (!password_.empty()) zip_set_default_password(archive_, password_.c_str());

  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name) index_.emplace(AsciiLower(name), static_cast<zip_uint64_t>(i));  // first one wins
  }
  // Our own reading of the same directory, used only where it agrees with libzip's.
  directory_ = ReadZipDirectory(bytes_.data, bytes_.size);
  bool agrees = directory_.size() == static_cast<size_t>(count);
  for (zip_int64_t i = 0; agrees && i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    agrees = name && directory_[static_cast<size_t>(i)].name == name;
  }
  if (!agrees) directory_.clear();
}

long long TZipArchive::Find(const std::string& utf8Name) const {
  if (!archive_) return -1;
  const auto it = index_.find(AsciiLower(utf8Name));
  return it == index_.end() ? -1 : static_cast<long long>(it->second);
}

bool TZipArchive::Exists(const std::string& utf8Name) const { return Find(utf8Name) >= 0; }
bool TZipArchive::Exists(ustring_view name) const { return Exists(Utf16ToUtf8(name)); }
bool TZipArchive::Extract(ustring_view name, TMemoryStream& target, uint64_t limit) {
  return Extract(Utf16ToUtf8(name), target, limit);
}

struct TZipArchive::Located {
  unsigned long long index = 0;
  const TZipDirectoryEntry* entry = nullptr;
  const uint8_t* data = nullptr;  // the entry's data, encryption header included
  uint64_t dataSize = 0;
  bool encrypted = false;
};

TZipArchive::Located TZipArchive::Locate(unsigned long long index, const std::string& utf8Name) const {
  Located located;
  located.index = index;
  located.entry = &directory_.at(static_cast<size_t>(index));
  const uint64_t at = ZipEntryDataOffset(bytes_.data, bytes_.size, *located.entry);
  if (at == 0) throw EZipError("Entry \"" + utf8Name + "\" is damaged: its data lies outside the package");
  located.data = bytes_.data + at;
  located.dataSize = located.entry->compressedSize;
  located.encrypted = located.entry->flags & 0x0001;
  return located;
}

TPkwareCipher TZipArchive::StartCipher(const Located& located, const std::string& utf8Name) const {
  TPkwareCipher cipher(password_);
  if (located.dataSize < TPkwareCipher::kHeaderSize) throw EZipError("Entry \"" + utf8Name + "\" is damaged");
  const TZipDirectoryEntry& e = *located.entry;
  if (password_.empty() || !cipher.DecryptHeader(located.data, PkwareCheckByte(e.flags, e.crc, e.dosTime))) {
    throw EZipError("Cannot read entry \"" + utf8Name + "\": Wrong password provided");
  }
  return cipher;
}

namespace {
constexpr size_t kBlock = 1u << 20;

std::string Damaged(const std::string& name, const char* what) { return "Entry \"" + name + "\" " + what; }

// Decrypts (or copies) stored data block by block from `position` to `end`,
// saving the cipher's state at every checkpoint it passes; `out` receives
// the bytes, or nothing when null (the cipher is only moved forward).
void DecryptForward(TPkwareCipher* cipher, std::vector<TPkwareCipher::TState>* states, const uint8_t* data,
                    uint64_t position, uint64_t end, uint8_t* out, uint32_t* crc) {
  std::vector<uint8_t> scratch;
  while (position < end) {
    if (cipher && position % TZipArchive::kCheckpointInterval == 0 &&
        states->size() == position / TZipArchive::kCheckpointInterval) {
      states->push_back(cipher->State());
    }
    const uint64_t boundary = (position / TZipArchive::kCheckpointInterval + 1) * TZipArchive::kCheckpointInterval;
    const size_t n = static_cast<size_t>(std::min(end, boundary) - position);
    uint8_t* target = out;
    if (!target) {
      scratch.resize(n);
      target = scratch.data();
    }
    if (cipher) {
      cipher->Decrypt(data + position, target, n);
    } else {
      std::memcpy(target, data + position, n);
    }
    if (crc) *crc = static_cast<uint32_t>(crc32(*crc, target, static_cast<uInt>(n)));
    if (out) out += n;
    position += n;
  }
}
}  // namespace

void TZipArchive::ExtractDirect(const Located& located, const std::string& utf8Name, TMemoryStream& target) {
  const TZipDirectoryEntry& e = *located.entry;
  std::optional<TPkwareCipher> cipher;
  if (located.encrypted) cipher = StartCipher(located, utf8Name);
  const uint8_t* data = located.data + (located.encrypted ? TPkwareCipher::kHeaderSize : 0);
  const uint64_t dataSize = located.dataSize - (located.encrypted ? TPkwareCipher::kHeaderSize : 0);
  uint32_t crc = static_cast<uint32_t>(crc32(0, Z_NULL, 0));

  if (e.method == 0) {
    if (dataSize > e.size) throw EZipError(Damaged(utf8Name, "is larger than its declared size"));
    if (dataSize < e.size) throw EZipError(Damaged(utf8Name, "is shorter than its declared size"));
    std::vector<TPkwareCipher::TState> states;
    uint8_t* out = target.Extend(static_cast<size_t>(e.size));
    DecryptForward(cipher ? &*cipher : nullptr, &states, data, 0, e.size, out, &crc);
    if (cipher) checkpoints_[located.index] = std::move(states);
  } else {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw EZipError("Cannot start decompression");
    const std::unique_ptr<z_stream, int (*)(z_stream*)> closer(&z, inflateEnd);
    std::vector<uint8_t> input(256u << 10);
    uint64_t consumed = 0, produced = 0;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (consumed == dataSize) throw EZipError(Damaged(utf8Name, "is damaged: its data ends early"));
        const size_t n = static_cast<size_t>(std::min<uint64_t>(input.size(), dataSize - consumed));
        if (cipher) {
          cipher->Decrypt(data + consumed, input.data(), n);
        } else {
          std::memcpy(input.data(), data + consumed, n);
        }
        consumed += n;
        z.next_in = input.data();
        z.avail_in = static_cast<uInt>(n);
      }
      // Never past the declared size: one byte more is enough to see that.
      const size_t room = static_cast<size_t>(std::min<uint64_t>(kBlock, e.size - produced + 1));
      uint8_t* out = target.Extend(room);
      z.next_out = out;
      z.avail_out = static_cast<uInt>(room);
      result = inflate(&z, Z_NO_FLUSH);
      const size_t got = room - z.avail_out;
      target.GiveBack(z.avail_out);
      crc = static_cast<uint32_t>(crc32(crc, out, static_cast<uInt>(got)));
      produced += got;
      if (produced > e.size) throw EZipError(Damaged(utf8Name, "is larger than its declared size"));
      if (result != Z_OK && result != Z_STREAM_END && !(result == Z_BUF_ERROR && z.avail_in == 0)) {
        throw EZipError(Damaged(utf8Name, "is damaged: its data does not inflate"));
      }
    }
    if (produced != e.size) throw EZipError(Damaged(utf8Name, "is shorter than its declared size"));
  }
  if (crc != e.crc) throw EZipError(Damaged(utf8Name, "is damaged: its CRC does not match"));
}

void TZipArchive::ExtractWithLibzip(unsigned long long index, const std::string& utf8Name, uint64_t declaredSize,
                                    TMemoryStream& target) {
  std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive_, index, 0));
  if (!file) throw EZipError("Cannot open entry \"" + utf8Name + "\": " + zip_strerror(archive_));
  uint64_t total = 0;
  for (;;) {
    // One byte more than declared is enough to see an overlong entry.
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kBlock, declaredSize - total + 1));
    uint8_t* room = target.Extend(want);
    const zip_int64_t got = zip_fread(file.get(), room, want);
    if (got < 0) throw EZipError("Cannot read entry \"" + utf8Name + "\": " + zip_file_strerror(file.get()));
    target.GiveBack(want - static_cast<size_t>(got));
    total += static_cast<uint64_t>(got);
    if (total > declaredSize) throw EZipError(Damaged(utf8Name, "is larger than its declared size"));
    if (got == 0) break;
  }
}

bool TZipArchive::Extract(const std::string& utf8Name, TMemoryStream& target, uint64_t limit) {
  const long long found = Find(utf8Name);
  if (found < 0) return false;
  const auto index = static_cast<zip_uint64_t>(found);

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, index, 0, &stat) != 0) {
    throw EZipError("Cannot read entry \"" + utf8Name + "\": " + zip_strerror(archive_));
  }
  if (!(stat.valid & ZIP_STAT_SIZE)) throw EZipError("Entry \"" + utf8Name + "\" has no size");
  if (stat.size > limit) {
    throw EZipError("Entry \"" + utf8Name + "\" is larger than " + std::to_string(limit) + " bytes");
  }
  // Packages use the traditional method only. Asking libzip to open an entry
  // marked for another (strong encryption, AES) fails there anyway, and leaks.
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE &&
      stat.encryption_method != ZIP_EM_TRAD_PKWARE) {
    throw EZipError("Entry \"" + utf8Name + "\" uses an encryption the package cannot have");
  }

  // Straight into the target; a failure half-way puts the target back.
  const size_t start = target.Position();
  const size_t oldSize = target.Size();
  try {
    const bool direct = !directory_.empty() && (directory_[index].method == 0 || directory_[index].method == 8);
    if (direct) {
      ExtractDirect(Locate(index, utf8Name), utf8Name, target);
    } else {
      ExtractWithLibzip(index, utf8Name, stat.size, target);
    }
  } catch (...) {
    target.Truncate(std::max(oldSize, start));
    target.SetPosition(start);
    throw;
  }
  return true;
}

std::optional<uint64_t> TZipArchive::EntrySize(const std::string& utf8Name) const {
  const long long found = Find(utf8Name);
  if (found < 0) return std::nullopt;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(found), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
    return std::nullopt;
  }
  return stat.size;
}

bool TZipArchive::ExtractRange(const std::string& utf8Name, uint64_t offset, uint64_t length, TMemoryStream& target,
                               uint64_t limit) {
  const long long found = Find(utf8Name);
  if (found < 0) return false;
  const auto index = static_cast<unsigned long long>(found);
  const bool stored = !directory_.empty() && directory_[index].method == 0;
  if (!stored) {
    TMemoryStream whole;
    Extract(utf8Name, whole, limit);
    if (offset < whole.Size()) {
      target.Write(whole.Data() + offset, static_cast<size_t>(std::min<uint64_t>(length, whole.Size() - offset)));
    }
    return true;
  }
  const Located located = Locate(index, utf8Name);
  const uint64_t size = located.entry->size;
  const uint64_t dataSize = located.dataSize - (located.encrypted ? TPkwareCipher::kHeaderSize : 0);
  if (dataSize != size) throw EZipError(Damaged(utf8Name, "is damaged: its sizes disagree"));
  if (offset >= size) return true;
  const uint64_t end = offset + std::min(length, size - offset);
  const uint8_t* data = located.data + (located.encrypted ? TPkwareCipher::kHeaderSize : 0);
  const size_t start = target.Position(), oldSize = target.Size();
  try {
    uint8_t* out = target.Extend(static_cast<size_t>(end - offset));
    if (!located.encrypted) {
      std::memcpy(out, data + offset, static_cast<size_t>(end - offset));
      return true;
    }
    TPkwareCipher cipher = StartCipher(located, utf8Name);
    std::vector<TPkwareCipher::TState>& states = checkpoints_[index];
    // From the last saved state at or before the offset; states are saved
    // on the way, so the next range nearby starts close to where it is needed.
    uint64_t position = 0;
    if (!states.empty()) {
      const size_t k = static_cast<size_t>(std::min<uint64_t>(offset / kCheckpointInterval, states.size() - 1));
      cipher.SetState(states[k]);
      position = k * kCheckpointInterval;
    }
    DecryptForward(&cipher, &states, data, position, offset, nullptr, nullptr);
    DecryptForward(&cipher, &states, data, offset, end, out, nullptr);
  } catch (...) {
    target.Truncate(std::max(oldSize, start));
    target.SetPosition(start);
    throw;
  }
  return true;
}

std::vector<std::string> TZipArchive::EntryNames() const {
  std::vector<std::string> names;
  if (!archive_) return names;
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    names.emplace_back(name ? name : "");
  }
  return names;
}

std::vector<TZipEntryInfo> TZipArchive::EntryInfos() const {
  std::vector<TZipEntryInfo> infos;
  if (!archive_) return infos;
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &stat) != 0) continue;
    TZipEntryInfo info;
    info.name = (stat.valid & ZIP_STAT_NAME) && stat.name ? stat.name : "";
    info.deflated = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_DEFLATE;
    info.encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    info.compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
    info.size = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    info.crc = (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0;
    infos.push_back(std::move(info));
  }
  return infos;
}

}  // namespace vantrel
