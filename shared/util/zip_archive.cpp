#include "shared/util/zip_archive.h"

#include <zip.h>

#include <algorithm>
#include <string>

namespace vantrel {

namespace {
// A damaged size field must not make us reserve gigabytes up front.
constexpr zip_uint64_t kMaxUpfrontReserve = 64u << 20;

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
  if (archive_) {
    zip_discard(archive_);
    archive_ = nullptr;
    index_.clear();
  }
  if (!stream) throw EZipError("No package stream to open");
  // An empty buffer would open as an empty archive; a package is never empty.
  if (stream->Size() == 0) throw EZipError("The package is empty");
  stream_ = std::move(stream);

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(stream_->Data(), stream_->Size(), 0, &error);
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
  // Packages use the traditional method only. Asking libzip to open an entry
  // marked for another (strong encryption, AES) fails there anyway, and leaks.
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE &&
      stat.encryption_method != ZIP_EM_TRAD_PKWARE) {
    throw EZipError("Entry \"" + utf8Name + "\" uses an encryption the package cannot have");
  }
  if (stat.size > limit) {
    throw EZipError("Entry \"" + utf8Name + "\" is larger than " + std::to_string(limit) + " bytes");
  }
  std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive_, index, 0));
  if (!file) throw EZipError("Cannot open entry \"" + utf8Name + "\": " + zip_strerror(archive_));

  // Straight into the target, never past the declared size: an entry whose
  // data inflates to more is damaged. A failure half-way puts the target back.
  const size_t start = target.Position();
  const size_t oldSize = target.Size();
  target.Reserve(start + static_cast<size_t>(std::min(stat.size, kMaxUpfrontReserve)));
  uint64_t total = 0;
  constexpr size_t kChunk = 1 << 20;
  try {
    for (;;) {
      // One byte more than declared is enough to see an overlong entry.
      const size_t want = static_cast<size_t>(std::min<uint64_t>(kChunk, stat.size - total + 1));
      uint8_t* room = target.Extend(want);
      const zip_int64_t got = zip_fread(file.get(), room, want);
      if (got < 0) throw EZipError("Cannot read entry \"" + utf8Name + "\": " + zip_file_strerror(file.get()));
      target.Truncate(std::max(oldSize, start + static_cast<size_t>(total) + static_cast<size_t>(got)));
      target.SetPosition(start + static_cast<size_t>(total) + static_cast<size_t>(got));
      total += static_cast<uint64_t>(got);
      if (total > stat.size) throw EZipError("Entry \"" + utf8Name + "\" is larger than its declared size");
      if (got == 0) break;
    }
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
    infos.push_back(std::move(info));
  }
  return infos;
}

}  // namespace vantrel
