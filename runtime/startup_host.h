#pragma once
// The services start-up asks of the system: dialogs, folders, the mutex and
// the steps that live in their own modules. The Windows program implements
// it with the real API; tests implement it with fakes.
#include <string>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

struct TStartupValues;

enum class TMsgDlgType { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Custom = 4 };

// Standard buttons as a bit set, in the order a dialog shows them.
enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0, mbNo = 1u << 1, mbOK = 1u << 2, mbCancel = 1u << 3, mbAbort = 1u << 4,
  mbRetry = 1u << 5, mbIgnore = 1u << 6, mbAll = 1u << 7, mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9, mbHelp = 1u << 10, mbClose = 1u << 11,
};
using TMsgDlgButtons = unsigned;

constexpr int kModalResultYes = 6;
constexpr int kModalResultCancel = 2;

class IStartupHost {
 public:
  virtual ~IStartupHost() = default;

  // Arguments after the program's own name.
  virtual std::vector<ustring> CommandLineArgs() const = 0;
  // Two-letter ISO 639 name of the user's language, e.g. "de".
  virtual ustring UserLanguageCode() const = 0;
  virtual int MessageDlg(const ustring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                         const std::vector<ustring>& Captions, const ustring& Title) = 0;
  // Task-modal box titled "Application Error" for an error that escaped start-up.
  virtual void ShowApplicationError(const std::string& utf8Message) = 0;

  // The user's local application-data folder, with a trailing backslash.
  virtual ustring LocalAppDataDirPath() const = 0;
  virtual void ForceDirectories(const ustring& path) = 0;
  // Selects a named visual style; reports a name that selects nothing.
  virtual void SelectStyle(const ustring& name) = 0;

  // Writes the loader library, sets the browser's environment and makes sure
  // a browser runtime is installed; ends the process when it cannot.
  virtual void ProvisionBrowserRuntime(TStartupValues& values) = 0;
  // True when the user typed `password`; false when the prompt was closed.
  virtual bool PasswordGate(const ustring& caption, const ustring& password) = 0;

  // Creates (or opens) the named mutex and keeps it for the process's life;
  // true when it already existed.
  virtual bool CreateInstanceMutex(const ustring& name) = 0;
  // Brings the main window of the instance that runs under this identifier
  // to the foreground (restoring it when minimized), if there is one.
  virtual void ActivateRunningInstance(const ustring& appId) = 0;
  // Creates the main window and runs the message loop until it closes.
  virtual void RunMainWindow(TStartupValues& values) = 0;
};

}  // namespace vantrel
