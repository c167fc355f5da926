#pragma once
// What the bridge commands need from the system and from the main window.
// Windows supplies the real ones; tests supply fakes.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

// A file dialog's settings, kept between calls like a dialog component.
struct TFileDialogSettings {
  std::vector<std::pair<ustring, ustring>> Filters;  // display name, pattern
  ustring FileName;
  ustring Title;
  bool OverwritePrompt = false;  // the option set: nothing or this flag only
};

enum class TFileDialogKind { Open, Save };

enum class TWriteFileStatus { Written, CannotCreate, WriteFailed };

struct TWriteFileResult {
  TWriteFileStatus Status = TWriteFileStatus::Written;
  ustring SystemMessage;  // the platform's description of the error
};

class IBridgePlatform {
 public:
  virtual ~IBridgePlatform() = default;
  // Shows the dialog modally over the active window; the chosen full path,
  // or nothing when the user cancelled.
  virtual std::optional<ustring> ShowFileDialog(TFileDialogKind kind, const TFileDialogSettings& settings) = 0;
  virtual bool FileExists(const ustring& path) = 0;  // an existing file, not a folder
  virtual bool RemoveFile(const ustring& path) = 0;
  virtual bool DirectoryExists(const ustring& path) = 0;
  virtual bool DeleteDirectory(const ustring& path) = 0;
  virtual void ForceDirectories(const ustring& path) = 0;  // outcome not examined
  // Creates (or replaces) the file with exactly these bytes.
  virtual TWriteFileResult WriteWholeFile(const ustring& path, const std::string& bytes) = 0;
  virtual ustring GetTempDirPath() = 0;
  virtual ustring GetUserDocumentsDirPath() = 0;
  virtual ustring GetUserDesktopDirPath() = 0;
  // A plain message box with an OK button.
  virtual void ShowMessage(const ustring& text) = 0;
  // The system's text for a path that cannot name a file (wildcards, NUL).
  virtual ustring InvalidPathMessage() = 0;
};

// Border styles by their configuration numbers.
enum class TFormBorderStyle { None = 0, Single = 1, Sizeable = 2, Dialog = 3, ToolWindow = 4, SizeToolWin = 5 };
enum class TWindowState { Normal, Maximized };

// The border style of a configuration value; values outside 0..5 are
// taken as the default, sizeable.
TFormBorderStyle BorderStyleFromConfig(int value);

class IBridgeMainWindow {
 public:
  virtual ~IBridgeMainWindow() = default;
  virtual void SetBorderStyle(TFormBorderStyle style) = 0;
  virtual void SetWindowState(TWindowState state) = 0;
};

}  // namespace vantrel
