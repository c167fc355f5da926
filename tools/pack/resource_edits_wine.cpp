// On Linux the packer has the Windows packer make the edits, under Wine:
// the result then is exactly what Windows' own resource functions write
// (the version block in particular is the buffer the platform fills, which
// a rewrite here could not reproduce byte for byte).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/pack/resource_edits.h"

namespace fs = std::filesystem;

namespace vantrel::pack {

namespace {
// A path as Wine's Z: drive shows it.
std::string WinePath(const std::string& path) {
  std::string windows = "Z:" + fs::absolute(path).string();
  for (auto& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

std::string WindowsPacker() {
  if (const char* given = std::getenv("VANTREL_WINDOWS_PACKER")) return given;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  // build/native/tools/pack/vantrel-pack -> build/windows/tools/pack/vantrel-pack.exe
  return (self.parent_path() / "../../../windows/tools/pack/vantrel-pack.exe").lexically_normal().string();
}

// Runs the command, its output going to `log`; returns the exit code.
int Run(const std::vector<std::string>& command, const std::string& log) {
  const pid_t child = fork();
  if (child < 0) throw EVantrelError("Cannot start Wine");
  if (child == 0) {
    if (FILE* out = std::freopen(log.c_str(), "w", stdout)) dup2(fileno(out), STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

void ApplyResourceEdits(const std::string& exePath, const ResourceEdits& edits) {
  if (edits.version) ValidateVersionTexts(*edits.version);
  const std::string packer = WindowsPacker();
  if (!fs::is_regular_file(packer))
    throw EVantrelError("The icon and version edits need the Windows packer (not found: \"" + packer +
                        "\"; set VANTREL_WINDOWS_PACKER)");
  ResourceEdits forWindows = edits;
  if (!forWindows.iconPath.empty()) {
    if (!fs::is_regular_file(forWindows.iconPath))
      throw EVantrelError("Icon file not found: \"" + forWindows.iconPath + "\"");
    forWindows.iconPath = WinePath(forWindows.iconPath);
  }
  const std::string editsFile = exePath + ".edits", log = exePath + ".log";
  std::ofstream(editsFile, std::ios::binary) << SerializeResourceEdits(forWindows);
  const char* wine = std::getenv("WINE");
  const int code = Run({wine && *wine ? wine : "wine", packer, "--edit-resources", WinePath(exePath), WinePath(editsFile)},
                       log);
  std::string output;
  {
    std::ifstream in(log, std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::error_code ec;
  fs::remove(editsFile, ec);
  fs::remove(log, ec);
  if (code == 0) return;
  // The Windows packer's own message, e.g. "vantrel-pack: Icon file is invalid".
  const std::string prefix = "vantrel-pack: ";
  const size_t at = output.rfind(prefix);
  std::string message = at == std::string::npos ? "" : output.substr(at + prefix.size());
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (code == 127 || message.empty())
    throw EVantrelError("The icon and version edits under Wine failed (exit code " + std::to_string(code) + ")");
  throw EVantrelError(message);
}

}  // namespace vantrel::pack
