#pragma once
#include "runtime/startup_host.h"

namespace vantrel {

// Start-up services on Windows.
class TWin32StartupHost : public IStartupHost {
 public:
  std::vector<ustring> CommandLineArgs() const override;
  ustring UserLanguageCode() const override;
  int MessageDlg(const ustring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                 const std::vector<ustring>& Captions, const ustring& Title) override;
  void ShowApplicationError(const std::string& utf8Message) override;
  ustring LocalAppDataDirPath() const override;
  void ForceDirectories(const ustring& path) override;
  void SelectStyle(const ustring& name) override;
  void ProvisionBrowserRuntime(TStartupValues& values) override;
  bool PasswordGate(const ustring& caption, const ustring& password) override;
  bool CreateInstanceMutex(const ustring& name) override;
  void ActivateRunningInstance(const ustring& appId) override;
  void RunMainWindow(TStartupValues& values) override;
};

}  // namespace vantrel
