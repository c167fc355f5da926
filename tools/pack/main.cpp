// vantrel-pack: makes a packaged application from the runtime program, a web
// application folder and its vtl.ini.
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/pack/inspect.h"
#include "tools/pack/pack_job.h"

namespace {

const char kUsage[] =
    "Usage: vantrel-pack --runtime VantrelRuntime.exe --app DIR --ini vtl.ini --output APP.exe\n"
    "                    (--loader WebView2LoaderWin64.dll | --no-loader) [--installer WebView2Installer.exe]\n"
    "                    [--dir-name NAME] [--add STORED_NAME=FILE]... [--deflate | --store] [--quiet]\n"
    "                    [--follow-outside-links] [--sign-cert CERT.pem --sign-key KEY.pem]\n"
    "                    [--icon APP.ico] [--company TEXT] [--description TEXT] [--file-version X.Y.Z.W]\n"
    "                    [--internal-name TEXT] [--copyright TEXT] [--trademarks TEXT]\n"
    "                    [--original-filename TEXT] [--program-id TEXT] [--product-name TEXT]\n"
    "                    [--product-version X.Y.Z.W] [--comments TEXT]\n"
    "\n"
    "       vantrel-pack inspect APP.exe\n"
    "\n"
    "Puts vtl.ini, the loader, the installer and every file of DIR (under NAME, by default\n"
    "the DirName of vtl.ini, which --dir-name then replaces in the packaged vtl.ini) into an\n"
    "encrypted package and appends it to a copy of the runtime. vtl.ini must name ID, Name\n"
    "and DirName, and DIR must hold the start page. Links inside DIR are packed under their\n"
    "own names; links leading outside it only with --follow-outside-links. --sign-cert and\n"
    "--sign-key sign the finished program with osslsigncode (Authenticode).\n"
    "Text-like files (html, css, js, json, svg, wasm, ...) are deflated, others stored;\n"
    "--deflate or --store makes it one way for all.\n"
    "--icon replaces the program's icon; any version text sets all eleven (the others become\n"
    "empty, the two versions 1.0.0.0).\n";

// The resource edits alone, on a program file (used to compare the two builds).
const char kEditUsage[] = "Usage: vantrel-pack --edit-resources PROGRAM.exe EDITS.txt\n"
                          "EDITS.txt: UTF-8 lines Icon=FILE.ico and KEY=TEXT for the eleven version texts.\n";

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

int EditResources(const std::vector<std::string>& args) {
  if (args.size() != 3) {
    std::fputs(kEditUsage, stderr);
    return 2;
  }
  try {
    std::ifstream in(std::filesystem::u8path(args[2]), std::ios::binary);
    if (!in) throw vantrel::EFileError("Cannot open file \"" + args[2] + "\"");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    vantrel::pack::ApplyResourceEdits(args[1], vantrel::pack::ParseResourceEdits(text));
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vantrel-pack: %s\n", error.what());
    return 1;
  }
}

int Inspect(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fputs("Usage: vantrel-pack inspect APP.exe\n", stderr);
    return 2;
  }
  try {
    std::fputs(vantrel::pack::InspectProgram(args[1]).c_str(), stdout);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vantrel-pack: %s\n", error.what());
    return 1;
  }
}

int Main(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "--edit-resources") return EditResources(args);
  if (!args.empty() && args[0] == "inspect") return Inspect(args);
  vantrel::pack::PackJob job;
  bool quiet = false;
  vantrel::TExeVersionTexts version;
  version.FileVersion = version.ProductVersion = u"1.0.0.0";
  bool versionGiven = false;
  const std::pair<const char*, vantrel::ustring vantrel::TExeVersionTexts::*> versionOptions[] = {
      {"--company", &vantrel::TExeVersionTexts::CompanyName},
      {"--description", &vantrel::TExeVersionTexts::FileDescription},
      {"--file-version", &vantrel::TExeVersionTexts::FileVersion},
      {"--internal-name", &vantrel::TExeVersionTexts::InternalName},
      {"--copyright", &vantrel::TExeVersionTexts::LegalCopyright},
      {"--trademarks", &vantrel::TExeVersionTexts::LegalTrademarks},
      {"--original-filename", &vantrel::TExeVersionTexts::OriginalFileName},
      {"--program-id", &vantrel::TExeVersionTexts::ProgramID},
      {"--product-name", &vantrel::TExeVersionTexts::ProductName},
      {"--product-version", &vantrel::TExeVersionTexts::ProductVersion},
      {"--comments", &vantrel::TExeVersionTexts::Comments},
  };
  const int argc = static_cast<int>(args.size());
  for (int i = 0; i < argc; ++i) {
    const std::string arg = args[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "vantrel-pack: %s needs a value\n", name);
        std::exit(2);
      }
      return args[++i];
    };
    bool isVersionOption = false;
    for (const auto& [option, field] : versionOptions) {
      if (arg != option) continue;
      version.*field = vantrel::Utf8ToUtf16(value(option));
      versionGiven = isVersionOption = true;
    }
    if (isVersionOption) continue;
    if (arg == "--runtime") job.runtimePath = value("--runtime");
    else if (arg == "--app") job.appDir = value("--app");
    else if (arg == "--ini") job.iniPath = value("--ini");
    else if (arg == "--loader") job.loaderPath = value("--loader");
    else if (arg == "--installer") job.installerPath = value("--installer");
    else if (arg == "--dir-name") job.dirName = value("--dir-name");
    else if (arg == "--output" || arg == "-o") job.outputPath = value("--output");
    else if (arg == "--no-loader") job.noLoader = true;
    else if (arg == "--sign-cert") job.signing.certificatePath = value("--sign-cert");
    else if (arg == "--sign-key") job.signing.keyPath = value("--sign-key");
    else if (arg == "--follow-outside-links") job.followOutsideLinks = true;
    else if (arg == "--deflate") job.deflate = true;
    else if (arg == "--store") job.deflate = false;
    else if (arg == "--icon") job.resourceEdits.iconPath = value("--icon");
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
  if (versionGiven) job.resourceEdits.version = version;

  ProgressBar bar(!quiet && isatty(fileno(stderr)));
  job.onWarning = [&](const std::string& text) {
    bar.Finish();
    std::fprintf(stderr, "vantrel-pack: warning: %s\n", text.c_str());
  };
  job.onProgress = [&](const std::string& phase, uint64_t done, uint64_t total) { bar.Show(phase, done, total); };
  try {
    const vantrel::pack::PackResult result = vantrel::pack::RunPackJob(job);
    bar.Finish();
    if (!quiet) {
      const double saved = result.contentSize ? 100.0 * (1.0 - static_cast<double>(result.packageSize) /
                                                                   static_cast<double>(result.contentSize))
                                              : 0.0;
      std::printf("Wrote %s: package of %.1f KiB for %.1f KiB of files (%.0f%% saved)\n", job.outputPath.c_str(),
                  static_cast<double>(result.packageSize) / 1024.0, static_cast<double>(result.contentSize) / 1024.0,
                  saved);
    }
    return 0;
  } catch (const std::exception& error) {
    bar.Finish();
    std::fprintf(stderr, "vantrel-pack: %s\n", error.what());
    return 1;
  }
}

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(arg);
  }
  return Main(args);
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
