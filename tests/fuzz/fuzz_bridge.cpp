// The bridge's call reader and dispatcher: any text as a web message, against
// a platform that answers without touching the system.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/bridge/browser_external_module.h"

namespace {
using namespace vantrel;

class InertPlatform : public IBridgePlatform {
 public:
  std::optional<ustring> ShowFileDialog(TFileDialogKind, const TFileDialogSettings&) override { return u"C:\\a.txt"; }
  bool FileExists(const ustring&) override { return true; }
  bool RemoveFile(const ustring&) override { return true; }
  bool DirectoryExists(const ustring&) override { return true; }
  bool DeleteDirectory(const ustring&) override { return true; }
  void ForceDirectories(const ustring&) override {}
  TWriteFileResult WriteWholeFile(const ustring&, const std::string&) override { return {}; }
  ustring GetTempDirPath() override { return u"C:\\Temp\\"; }
  ustring GetUserDocumentsDirPath() override { return u"C:\\Docs\\"; }
  ustring GetUserDesktopDirPath() override { return u"C:\\Desk\\"; }
  void ShowMessage(const ustring&) override {}
  ustring InvalidPathMessage() override { return u"Invalid name."; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InertPlatform platform;
  TBrowserExternalModule module(platform);
  const ustring text = Utf8ToUtf16(std::string(reinterpret_cast<const char*>(data), size));
  module.HandleWebMessage(text, text);
  return 0;
}
