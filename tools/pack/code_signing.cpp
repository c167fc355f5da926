#include "tools/pack/code_signing.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/errors.h"

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace vantrel::pack {

namespace {
constexpr char kSigner[] = "osslsigncode";

#ifndef _WIN32
std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

int Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  // Its word of success is ours to give; its errors go to our error output.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

void RequireFile(const std::string& path, const char* what) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw EVantrelError(std::string(what) + " not found: \"" + path + "\"");
}
}  // namespace

void CheckSigningKeys(const SigningKeys& keys) {
  if (keys.certificatePath.empty() || keys.keyPath.empty()) {
    throw EVantrelError("Signing needs both --sign-cert and --sign-key");
  }
  RequireFile(keys.certificatePath, "Signing certificate");
  RequireFile(keys.keyPath, "Signing key");
#ifdef _WIN32
  throw EVantrelError("This build of vantrel-pack does not sign; sign the packed program with your signing tool");
#else
  if (FindOnPath(kSigner).empty()) {
    throw EVantrelError("Cannot sign: osslsigncode is not installed (Debian package osslsigncode); or sign the "
                        "packed program yourself afterwards");
  }
#endif
}

void SignProgram(const std::string& exePath, const SigningKeys& keys) {
#ifdef _WIN32
  (void)exePath;
  (void)keys;
  throw EVantrelError("This build of vantrel-pack does not sign");
#else
  const std::string signedPath = exePath + ".signed";
  std::error_code ec;
  fs::remove(signedPath, ec);
  const int code = Run({FindOnPath(kSigner), "sign", "-certs", keys.certificatePath, "-key", keys.keyPath, "-in",
                        exePath, "-out", signedPath});
  if (code != 0) {
    fs::remove(signedPath, ec);
    throw EVantrelError("osslsigncode could not sign \"" + exePath + "\" with \"" + keys.certificatePath +
                        "\" (exit code " + std::to_string(code) + ")");
  }
  fs::rename(signedPath, exePath, ec);
  if (ec) throw EFileError("Cannot replace \"" + exePath + "\" by its signed copy: " + ec.message());
#endif
}

}  // namespace vantrel::pack
