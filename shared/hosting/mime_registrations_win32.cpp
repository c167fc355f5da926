// The system's file-type registrations under HKEY_CLASSES_ROOT, every key
// opened read-only; a change of the registrations is noticed through a
// change notification on HKEY_CLASSES_ROOT.
#include <windows.h>

#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"
#include "shared/hosting/mime_table.h"

namespace vantrel {

namespace {

using win32::FromW;
using win32::W;

class UniqueKey {
 public:
  UniqueKey() = default;
  ~UniqueKey() {
    if (key_) RegCloseKey(key_);
  }
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;
  bool Open(HKEY parent, const wchar_t* path) {
    return RegOpenKeyExW(parent, path, 0, KEY_READ, &key_) == ERROR_SUCCESS;
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<ustring> SubkeyNames(HKEY key) {
  std::vector<ustring> names;
  wchar_t name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = 512;
    const LONG result = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.push_back(FromW(name, length));
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) break;
  }
  return names;
}

// A REG_SZ or REG_EXPAND_SZ value as stored; empty when absent.
ustring StringValue(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return {};
  }
  return FromW(buffer.data());
}

class RegistryMimeRegistrations : public IMimeRegistrations {
 public:
  RegistryMimeRegistrations() : changed_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) { Arm(); }

  std::vector<std::pair<ustring, ustring>> ExtensionContentTypes() override {
    std::vector<std::pair<ustring, ustring>> pairs;
    for (const ustring& name : SubkeyNames(HKEY_CLASSES_ROOT)) {
      if (name.empty() || name.front() != u'.') continue;
      UniqueKey key;
      if (!key.Open(HKEY_CLASSES_ROOT, W(name))) continue;
      const ustring type = StringValue(key.Get(), L"Content Type");
      if (!type.empty()) pairs.emplace_back(name, type);
    }
    return pairs;
  }

  std::vector<std::pair<ustring, ustring>> ContentTypeExtensions() override {
    std::vector<std::pair<ustring, ustring>> pairs;
    UniqueKey database;
    if (!database.Open(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type")) return pairs;
    for (const ustring& type : SubkeyNames(database.Get())) {
      UniqueKey key;
      if (!key.Open(database.Get(), W(type))) continue;
      const ustring extension = StringValue(key.Get(), L"Extension");
      if (!extension.empty()) pairs.emplace_back(type, extension);
    }
    return pairs;
  }

  bool ChangedSinceLastCheck() override {
    if (!changed_ || !armed_) return true;  // without notifications every build is fresh
    if (WaitForSingleObject(changed_.Get(), 0) != WAIT_OBJECT_0) return false;
    ResetEvent(changed_.Get());
    Arm();
    return true;
  }

 private:
  void Arm() {
    armed_ = changed_ && RegNotifyChangeKeyValue(HKEY_CLASSES_ROOT, TRUE,
                                                 REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                 changed_.Get(), TRUE) == ERROR_SUCCESS;
  }

  win32::UniqueHandle changed_;
  bool armed_ = false;
};

}  // namespace

std::shared_ptr<IMimeRegistrations> SystemMimeRegistrations() {
  return std::make_shared<RegistryMimeRegistrations>();
}

}  // namespace vantrel
