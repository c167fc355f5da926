#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win_text.h"
#include "shared/util/exe_resources.h"
#include "shared/util/icon_file.h"

namespace vantrel {

namespace {
using win32::W;
constexpr WORD kLanguage1033 = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

[[noreturn]] void Fail(const char* message) { throw EResourceError(message); }

// A pending resource update, discarded unless committed.
class ResourceUpdate {
 public:
  explicit ResourceUpdate(const ustring& exePath) : handle_(BeginUpdateResourceW(W(exePath), FALSE)) {}
  ~ResourceUpdate() {
    if (handle_) EndUpdateResourceW(handle_, TRUE);
  }
  ResourceUpdate(const ResourceUpdate&) = delete;
  ResourceUpdate& operator=(const ResourceUpdate&) = delete;
  HANDLE Get() const { return handle_; }
  bool Commit() { return EndUpdateResourceW(std::exchange(handle_, nullptr), FALSE) != FALSE; }

 private:
  HANDLE handle_;
};

class DataFile {
 public:
  explicit DataFile(const ustring& path) : module_(LoadLibraryExW(W(path), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataFile() {
    if (module_) FreeLibrary(module_);
  }
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

BOOL CALLBACK TakeFirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  *reinterpret_cast<WORD*>(found) = language;
  return FALSE;  // the first one is enough
}

// The first language listed for the resource, or 0 (neutral) when none is.
WORD LanguageOf(HMODULE module, LPCWSTR type, LPCWSTR name) {
  WORD language = 0;
  EnumResourceLanguagesW(module, type, name, TakeFirstLanguage, reinterpret_cast<LONG_PTR>(&language));
  return language;
}

std::vector<uint8_t> ReadIconFile(const ustring& icoPath) {
  win32::UniqueHandle file(
      CreateFileW(W(icoPath), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw EFileError("Cannot open file \"" + Utf16ToUtf8(icoPath) + "\"");
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) throw EFileError("Cannot read file \"" + Utf16ToUtf8(icoPath) + "\"");
  if (size.QuadPart > static_cast<LONGLONG>(kMaxIconFileSize)) Fail("Icon file is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    throw EFileError("Cannot read file \"" + Utf16ToUtf8(icoPath) + "\"");
  return bytes;
}
}  // namespace

void TExeResources::ChangeExeIcon(const ustring& ExePath, const ustring& IcoPath) {
  if (GetVersion() & 0x80000000u) Fail("Only supported on Windows NT and above");
  const std::vector<uint8_t> icon = ReadIconFile(IcoPath);
  const std::vector<TIconImageEntry> entries = ParseIconFile(icon);

  ResourceUpdate update(ExePath);
  if (!update.Get()) Fail("BeginUpdateResource failed (1)");
  std::vector<uint8_t> group;
  {
    DataFile image(ExePath);
    if (!image.Get()) Fail("LoadLibraryEx failed (1)");
    HRSRC found = FindResourceW(image.Get(), L"MAINICON", RT_GROUP_ICON);
    if (!found) Fail("FindResource failed (1)");
    HGLOBAL loaded = LoadResource(image.Get(), found);
    if (!loaded) Fail("LoadResource failed (1)");
    const auto* oldBytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (!oldBytes) Fail("LockResource failed (1)");
    const TIconGroup old = ParseIconGroup(oldBytes, SizeofResource(image.Get(), found));

    if (!UpdateResourceW(update.Get(), RT_GROUP_ICON, L"MAINICON",
                         LanguageOf(image.Get(), RT_GROUP_ICON, L"MAINICON"), nullptr, 0))
      Fail("UpdateResource failed (1)");
    for (const uint16_t id : old.IconIds) {
      if (!UpdateResourceW(update.Get(), RT_ICON, MAKEINTRESOURCEW(id),
                           LanguageOf(image.Get(), RT_ICON, MAKEINTRESOURCEW(id)), nullptr, 0))
        Fail("UpdateResource failed (2)");
    }
    group = BuildIconGroup(old.Reserved, old.Type, entries);
    for (size_t i = 0; i < entries.size(); ++i) {
      auto* data = const_cast<uint8_t*>(icon.data() + entries[i].ImageOffset);
      if (!UpdateResourceW(update.Get(), RT_ICON, MAKEINTRESOURCEW(i + 1), kLanguage1033, data,
                           entries[i].BytesInImage))
        Fail("UpdateResource failed (3)");
    }
    if (!UpdateResourceW(update.Get(), RT_GROUP_ICON, L"MAINICON", kLanguage1033, group.data(),
                         static_cast<DWORD>(group.size())))
      Fail("UpdateResource failed (4)");
  }
  if (!update.Commit()) Fail("EndUpdateResource failed");
}

bool TExeResources::UpdateExeInfo(const ustring& ExePath, const TExeVersionTexts& texts) {
  if (GetFileAttributesW(W(ExePath)) == INVALID_FILE_ATTRIBUTES) return false;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(W(ExePath), &ignored);
  if (size == 0) return false;
  std::vector<uint8_t> buffer(size);
  if (!GetFileVersionInfoW(W(ExePath), 0, size, buffer.data())) return false;

  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT translationBytes = 0;
  if (!VerQueryValueW(buffer.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &translationBytes))
    translationBytes = 0;

  for (UINT t = 0; t < translationBytes / sizeof(Translation); ++t) {
    wchar_t block[32];
    swprintf(block, 32, L"\\StringFileInfo\\%04X%04X\\", translations[t].language, translations[t].codePage);
    for (const auto& [key, field] : VersionTextFields()) {
      const ustring* text = &(texts.*field);
      const ustring path = win32::FromW(block) + key;
      wchar_t* slot = nullptr;
      UINT length = 0;
      if (!VerQueryValueW(buffer.data(), W(path), reinterpret_cast<void**>(&slot), &length) || !slot) continue;
      // A text must fit with its terminating zero: never write past a slot.
      if (length == 0 || text->size() > length - 1) return false;
      std::memset(slot, 0, length * sizeof(wchar_t));
      std::memcpy(slot, text->data(), text->size() * sizeof(wchar_t));
    }
  }

  ResourceUpdate update(ExePath);
  if (!update.Get()) return false;
  if (!UpdateResourceW(update.Get(), RT_VERSION, MAKEINTRESOURCEW(1), 0, buffer.data(), size)) return false;
  return update.Commit();
}

}  // namespace vantrel
