#pragma once
// The bridge commands' system services on Windows: common item dialogs,
// files and folders, message boxes.
#include "shared/bridge/bridge_platform.h"

namespace vantrel {

class TWin32BridgePlatform : public IBridgePlatform {
 public:
  explicit TWin32BridgePlatform(ustring messageTitle) : FMessageTitle(std::move(messageTitle)) {}

  std::optional<ustring> ShowFileDialog(TFileDialogKind kind, const TFileDialogSettings& settings) override;
  bool FileExists(const ustring& path) override;
  bool RemoveFile(const ustring& path) override;
  bool DirectoryExists(const ustring& path) override;
  bool DeleteDirectory(const ustring& path) override;
  void ForceDirectories(const ustring& path) override;
  TWriteFileResult WriteWholeFile(const ustring& path, const std::string& bytes) override;
  ustring GetTempDirPath() override;
  ustring GetUserDocumentsDirPath() override;
  ustring GetUserDesktopDirPath() override;
  void ShowMessage(const ustring& text) override;
  ustring InvalidPathMessage() override;

 private:
  ustring FMessageTitle;
};

}  // namespace vantrel
