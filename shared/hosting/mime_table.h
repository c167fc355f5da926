#pragma once
// The content-type table: file-name extensions to content types, from 384
// built-in rows overridden by the system's file-type registrations.
#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/ustring.h"

namespace vantrel {

// Where the system's registrations come from: on Windows two passes over
// HKEY_CLASSES_ROOT; elsewhere whatever the caller supplies.
class IMimeRegistrations {
 public:
  virtual ~IMimeRegistrations() = default;
  // Pass 1: (extension key name, its "Content Type" value), in enumeration order.
  virtual std::vector<std::pair<ustring, ustring>> ExtensionContentTypes() = 0;
  // Pass 2: (content type, its "Extension" value) of the content-type database.
  virtual std::vector<std::pair<ustring, ustring>> ContentTypeExtensions() = 0;
  // True when the registrations may have changed since the last call.
  virtual bool ChangedSinceLastCheck() = 0;
};

// The system's registrations of this platform (none outside Windows).
std::shared_ptr<IMimeRegistrations> SystemMimeRegistrations();

class TIdMimeTable {
 public:
  explicit TIdMimeTable(bool AutoFill = true,
                        std::shared_ptr<IMimeRegistrations> registrations = SystemMimeRegistrations());
  virtual ~TIdMimeTable() = default;

  virtual void BuildCache();
  void AddMimeType(const ustring& Ext, const ustring& MIMEType, bool ARaiseOnError = true);
  ustring GetFileMIMEType(const ustring& AFileName);
  ustring GetDefaultFileExt(const ustring& MIMEType);
  void LoadFromStrings(const std::vector<ustring>& AStrings, char16_t MimeSeparator = u'=');
  void SaveToStrings(std::vector<ustring>& AStrings, char16_t MimeSeparator = u'=') const;
  // Appends the built-in rows (and, with `withSystem`, the system passes) to
  // an empty list of "ext=type" lines; does nothing to a list with lines.
  void CollectMimeTypes(std::vector<ustring>* AMIMEList, bool withSystem);

  bool LoadTypesFromOS() const { return FLoadTypesFromOS; }
  void SetLoadTypesFromOS(bool value) { FLoadTypesFromOS = value; }
  const std::function<void(TIdMimeTable*)>& OnBuildCache() const { return FOnBuildCache; }
  void SetOnBuildCache(std::function<void(TIdMimeTable*)> handler) { FOnBuildCache = std::move(handler); }
  size_t Count() const { return FFileExt.size(); }
  const std::vector<ustring>& FileExtensions() const { return FFileExt; }
  const std::vector<ustring>& MIMETypes() const { return FMIMEList; }

 private:
  bool FLoadTypesFromOS = true;
  std::function<void(TIdMimeTable*)> FOnBuildCache;
  std::vector<ustring> FMIMEList;
  std::vector<ustring> FFileExt;
  std::unordered_map<ustring, size_t> FIndex;  // folded extension -> row
  std::shared_ptr<IMimeRegistrations> FRegistrations;
};

class EMimeTableError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

// The extension of a file name as the table sees it: from the last "." on,
// if that dot comes after the last backslash and the last colon.
ustring MimeExtensionOf(const ustring& fileName);

// A table built once and rebuilt only when the system's registrations
// changed, so that looking a type up costs no registry walk per request.
class TMimeTypeCache {
 public:
  explicit TMimeTypeCache(std::shared_ptr<IMimeRegistrations> registrations = SystemMimeRegistrations());
  ustring GetFileMIMEType(const ustring& fileName);

 private:
  std::shared_ptr<IMimeRegistrations> registrations_;
  std::unique_ptr<TIdMimeTable> table_;
};

}  // namespace vantrel
