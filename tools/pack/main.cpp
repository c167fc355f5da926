// vantrel-pack: makes a packaged application from the runtime program, a web
// application folder and its vtl.ini.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/pack/pack_job.h"

namespace {

const char kUsage[] =
    "Usage: vantrel-pack --runtime VantrelRuntime.exe --app DIR --ini vtl.ini --output APP.exe\n"
    "                    [--loader WebView2LoaderWin64.dll] [--installer WebView2Installer.exe]\n"
    "                    [--dir-name NAME] [--add STORED_NAME=FILE]... [--deflate] [--quiet]\n"
    "\n"
    "Puts vtl.ini, the loader, the installer and every file of DIR (under NAME, by default\n"
    "the DirName of vtl.ini) into an encrypted package and appends it to a copy of the runtime.\n";

class ProgressBar {
 public:
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}
  ~ProgressBar() { Finish(); }
  void Show(const std::string& phase, uint64_t done, uint64_t total) {
    if (!enabled_ || total < kMinimumShown) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (phase == phase_ && percent == percent_) return;
    if (phase != phase_ && !phase_.empty()) std::fputc('\n', stderr);
    phase_ = phase;
    percent_ = percent;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r%-9s [%.*s%*s] %3d%%", phase.c_str(), filled, kBar, kWidth - filled, "", percent);
    std::fflush(stderr);
  }
  void Finish() {
    if (!phase_.empty()) std::fputc('\n', stderr);
    phase_.clear();
  }

 private:
  static constexpr uint64_t kMinimumShown = 4u << 20;  // small packages finish too fast to watch
  static constexpr int kWidth = 40;
  static constexpr const char* kBar = "########################################";
  bool enabled_;
  std::string phase_;
  int percent_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  vantrel::pack::PackJob job;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "vantrel-pack: %s needs a value\n", name);
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--runtime") job.runtimePath = value("--runtime");
    else if (arg == "--app") job.appDir = value("--app");
    else if (arg == "--ini") job.iniPath = value("--ini");
    else if (arg == "--loader") job.loaderPath = value("--loader");
    else if (arg == "--installer") job.installerPath = value("--installer");
    else if (arg == "--dir-name") job.dirName = value("--dir-name");
    else if (arg == "--output" || arg == "-o") job.outputPath = value("--output");
    else if (arg == "--deflate") job.deflate = true;
    else if (arg == "--quiet") quiet = true;
    else if (arg == "--add") {
      const std::string spec = value("--add");
      const size_t eq = spec.find('=');
      if (eq == std::string::npos || eq == 0) {
        std::fprintf(stderr, "vantrel-pack: --add takes STORED_NAME=FILE\n");
        return 2;
      }
      job.extraFiles.emplace_back(spec.substr(0, eq), spec.substr(eq + 1));
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "vantrel-pack: unknown argument \"%s\"\n\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (job.runtimePath.empty() || job.appDir.empty() || job.iniPath.empty() || job.outputPath.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  ProgressBar bar(!quiet && isatty(fileno(stderr)));
  job.onProgress = [&](const std::string& phase, uint64_t done, uint64_t total) { bar.Show(phase, done, total); };
  try {
    vantrel::pack::RunPackJob(job);
    bar.Finish();
    if (!quiet) std::printf("Wrote %s\n", job.outputPath.c_str());
    return 0;
  } catch (const std::exception& error) {
    bar.Finish();
    std::fprintf(stderr, "vantrel-pack: %s\n", error.what());
    return 1;
  }
}
