#include "shared/hosting/mime_table.h"

#include "shared/hosting/builtin_mime_types.h"

namespace vantrel {

namespace {
constexpr char16_t kDefaultType[] = u"application/octet-stream";

// Sets the value of `key` in "key=value" lines: replaces the first line with
// that key (letter case ignored) or appends one.
void SetValue(std::vector<ustring>& lines, const ustring& key, const ustring& value) {
  for (ustring& line : lines) {
    const size_t eq = line.find(u'=');
    if (eq != ustring::npos && SameTextIgnoringCase(ustring_view(line).substr(0, eq), key)) {
      line = key + u"=" + value;
      return;
    }
  }
  lines.push_back(key + u"=" + value);
}

class NoRegistrations : public IMimeRegistrations {
 public:
  std::vector<std::pair<ustring, ustring>> ExtensionContentTypes() override { return {}; }
  std::vector<std::pair<ustring, ustring>> ContentTypeExtensions() override { return {}; }
  bool ChangedSinceLastCheck() override { return false; }
};
}  // namespace

#ifndef _WIN32
std::shared_ptr<IMimeRegistrations> SystemMimeRegistrations() { return std::make_shared<NoRegistrations>(); }
#endif

TIdMimeTable::TIdMimeTable(bool AutoFill, std::shared_ptr<IMimeRegistrations> registrations)
    : FRegistrations(registrations ? std::move(registrations) : std::make_shared<NoRegistrations>()) {
  if (AutoFill) BuildCache();
}

void TIdMimeTable::BuildCache() {
  if (FOnBuildCache) {
    FOnBuildCache(this);
    return;
  }
  if (!FFileExt.empty()) return;
  std::vector<ustring> lines;
  CollectMimeTypes(&lines, FLoadTypesFromOS);
  LoadFromStrings(lines, u'=');
}

void TIdMimeTable::AddMimeType(const ustring& Ext, const ustring& MIMEType, bool ARaiseOnError) {
  ustring ext = FoldCase(Ext);
  const ustring type = FoldCase(MIMEType);
  auto fail = [&](const char* message) {
    if (ARaiseOnError) throw EMimeTableError(message);
  };
  if (ext.empty()) return fail("Extension is empty");
  if (type.empty()) return fail("Mimetype is empty");
  if (ext.front() != u'.') ext.insert(ext.begin(), u'.');
  if (FIndex.count(ext)) return fail("Extension already exits");
  FIndex.emplace(ext, FFileExt.size());
  FFileExt.push_back(ext);
  FMIMEList.push_back(type);
}

ustring MimeExtensionOf(const ustring& fileName) {
  const size_t dot = fileName.rfind(u'.');
  if (dot == ustring::npos) return {};
  const size_t separator = fileName.find_last_of(u"\\:");
  if (separator != ustring::npos && separator > dot) return {};
  return fileName.substr(dot);
}

ustring TIdMimeTable::GetFileMIMEType(const ustring& AFileName) {
  const ustring ext = FoldCase(MimeExtensionOf(AFileName));
  if (ext.empty()) return kDefaultType;
  auto found = FIndex.find(ext);
  if (found == FIndex.end()) {
    BuildCache();
    found = FIndex.find(ext);
  }
  return found == FIndex.end() ? ustring(kDefaultType) : FMIMEList[found->second];
}

ustring TIdMimeTable::GetDefaultFileExt(const ustring& MIMEType) {
  const ustring type = FoldCase(MIMEType);
  for (int attempt = 0; attempt < 2; ++attempt) {
    for (size_t i = 0; i < FMIMEList.size(); ++i) {
      if (FMIMEList[i] == type) return FFileExt[i];
    }
    if (attempt == 0) BuildCache();
  }
  return {};
}

void TIdMimeTable::LoadFromStrings(const std::vector<ustring>& AStrings, char16_t MimeSeparator) {
  FFileExt.clear();
  FMIMEList.clear();
  FIndex.clear();
  for (const ustring& line : AStrings) {
    const size_t separator = line.find(MimeSeparator);
    if (separator == ustring::npos) continue;
    AddMimeType(FoldCase(line.substr(0, separator)), line.substr(separator + 1), false);
  }
}

void TIdMimeTable::SaveToStrings(std::vector<ustring>& AStrings, char16_t MimeSeparator) const {
  AStrings.clear();
  for (size_t i = 0; i < FFileExt.size(); ++i) AStrings.push_back(FFileExt[i] + MimeSeparator + FMIMEList[i]);
}

void TIdMimeTable::CollectMimeTypes(std::vector<ustring>* AMIMEList, bool withSystem) {
  if (!AMIMEList || !AMIMEList->empty()) return;
  AMIMEList->reserve(kBuiltinMimeTypeCount + 64);
  for (const TBuiltinMimeType& row : kBuiltinMimeTypes) {
    AMIMEList->push_back(U(row.extension) + u"=" + U(row.type));
  }
  for (const TBuiltinMimeType& row : kModernMimeTypes) {
    AMIMEList->push_back(U(row.extension) + u"=" + U(row.type));
  }
  if (!withSystem) return;
  for (const auto& [key, contentType] : FRegistrations->ExtensionContentTypes()) {
    if (key.empty() || key.front() != u'.' || contentType.empty()) continue;
    SetValue(*AMIMEList, FoldCase(key), FoldCase(contentType));
  }
  for (const auto& [contentType, extension] : FRegistrations->ContentTypeExtensions()) {
    ustring ext = FoldCase(extension);
    if (ext.empty()) continue;
    if (ext.front() != u'.') ext.insert(ext.begin(), u'.');
    SetValue(*AMIMEList, ext, FoldCase(contentType));
  }
}

TMimeTypeCache::TMimeTypeCache(std::shared_ptr<IMimeRegistrations> registrations)
    : registrations_(std::move(registrations)) {}

ustring TMimeTypeCache::GetFileMIMEType(const ustring& fileName) {
  if (!table_ || registrations_->ChangedSinceLastCheck()) {
    table_ = std::make_unique<TIdMimeTable>(true, registrations_);
  }
  return table_->GetFileMIMEType(fileName);
}

}  // namespace vantrel
