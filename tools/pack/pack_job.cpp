#include "tools/pack/pack_job.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/binary_file.h"
#include "platform/errors.h"
#include "platform/mapped_file.h"
#include "runtime/startup_values.h"
#include "shared/util/package_bounds.h"
#include "shared/util/pe_image.h"
#include "shared/util/zip_archive.h"
#include "tools/pack/app_config.h"
#include "tools/pack/app_files.h"
#include "tools/pack/file_bytes.h"

namespace fs = std::filesystem;

namespace vantrel::pack {

namespace {
void RequireFile(const std::string& path, const char* what) {
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) {
    throw EVantrelError(std::string(what) + " not found: \"" + path + "\"");
  }
}

std::string OutputTempPath(const fs::path& output) { return output.string() + ".partial"; }

// The first HTML page that loads a module script (<script type="module">),
// or empty.
std::string PageWithModuleScripts(const std::vector<PackageEntry>& files) {
  for (const PackageEntry& file : files) {
    const std::string lower = AsciiLower(file.name);
    if (lower.size() < 5 || (lower.compare(lower.size() - 5, 5, ".html") != 0 &&
                             lower.compare(lower.size() - 4, 4, ".htm") != 0)) {
      continue;
    }
    std::ifstream in(fs::u8path(file.sourcePath), std::ios::binary);
    std::string text(256 * 1024, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    text = AsciiLower(text);
    for (size_t at = text.find("<script"); at != std::string::npos; at = text.find("<script", at + 7)) {
      const std::string tag = text.substr(at, text.find('>', at) - at);
      for (const char* module : {"type=\"module\"", "type='module'", "type=module"}) {
        if (tag.find(module) != std::string::npos) return file.sourcePath;
      }
    }
  }
  return {};
}

// The start page's entry name: IndexHtml without query or fragment.
std::string StartPageEntry(const std::string& dirName, const std::string& indexHtml) {
  std::string page = indexHtml.substr(0, indexHtml.find_first_of("?#"));
  std::replace(page.begin(), page.end(), '\\', '/');
  while (!page.empty() && page.front() == '/') page.erase(0, 1);
  return dirName + "/" + page;
}

// Only the program proper may be the runtime: a file that already carries a
// package would get a second archive the runtime cannot read.
void CheckRuntime(const std::string& path) {
  RequireFile(path, "Runtime program");
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  const auto imageEnd = PeImageEnd(bytes.data(), bytes.size());
  if (!imageEnd) throw EVantrelError("\"" + path + "\" is not a Windows program (no PE headers)");
  if (PeCertificateTable(bytes.data(), bytes.size())) {
    throw EVantrelError("\"" + path + "\" is signed: a package behind its signature would break it; pack the "
                        "unsigned runtime and sign the packed program (--sign-cert, --sign-key)");
  }
  if (bytes.size() > *imageEnd) {
    throw EVantrelError("\"" + path + "\" already carries a package; use the runtime program as built");
  }
}

// Reads the package's directory back from `path` (mapped: only the pages of
// the directory are read) and compares it with what was written.
void VerifyPackage(const std::string& path, uint64_t packageStart, const std::vector<WrittenEntry>& written) {
  const auto file = TMappedFile::Open(Utf8ToUtf16(path));
  const size_t end = PackageEndInFile(file->Data(), static_cast<size_t>(file->Size()), static_cast<uint32_t>(packageStart));
  if (end <= packageStart) throw EVantrelError("The package of \"" + path + "\" does not read back");
  TByteView view{file, file->Data() + packageStart, static_cast<size_t>(end - packageStart)};
  TZipArchive archive;
  archive.SetPassword(kPackagePassword);
  archive.Open(view);
  const auto infos = archive.EntryInfos();
  bool same = infos.size() == written.size();
  for (size_t i = 0; same && i < infos.size(); ++i) {
    same = infos[i].name == written[i].name && infos[i].size == written[i].size && infos[i].crc == written[i].crc &&
           infos[i].encrypted && infos[i].deflated == written[i].deflated;
  }
  if (!same) throw EVantrelError("The package written to \"" + path + "\" does not read back as written");
}

class TempFile {
 public:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  ~TempFile() {
    std::error_code ec;
    fs::remove(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

std::vector<PackageEntry> CollectEntries(const PackJob& job) {
  RequireFile(job.iniPath, "Configuration file");
  const AppConfig config = ReadAppConfig(job.iniPath);
  AppConfig checked = config;
  if (!job.dirName.empty()) checked.dirName = job.dirName;
  CheckAppConfig(checked);
  if (job.onWarning) {
    for (const std::string& key : config.unknownKeys) {
      job.onWarning("\"" + job.iniPath + "\": the program does not know [App] key \"" + key + "\" (a typo?)");
    }
  }
  std::string dirName = checked.dirName;
  while (!dirName.empty() && (dirName.back() == '/' || dirName.back() == '\\')) dirName.pop_back();

  std::vector<PackageEntry> entries;
  PackageEntry ini{"vtl.ini", job.iniPath, std::nullopt};
  if (checked.dirName != config.dirName) ini.contents = WithDirName(config, checked.dirName);
  entries.push_back(std::move(ini));
  if (!job.loaderPath.empty()) {
    RequireFile(job.loaderPath, "Loader library");
    entries.push_back({"WebView2LoaderWin64.dll", job.loaderPath});
  } else if (!job.noLoader) {
    throw EVantrelError("No loader library given: pass --loader WebView2LoaderWin64.dll, or --no-loader when the "
                        "program will find one already installed beside it");
  }
  if (!job.installerPath.empty()) {
    RequireFile(job.installerPath, "Runtime installer");
    entries.push_back({"WebView2Installer.exe", job.installerPath});
  }
  for (const auto& [name, path] : job.extraFiles) {
    RequireFile(path, "File");
    entries.push_back({name, path});
  }

  AppFolderOptions folder;
  folder.folder = job.appDir;
  folder.entryPrefix = dirName + "/";
  folder.followOutsideLinks = job.followOutsideLinks;
  if (!job.outputPath.empty()) {
    const fs::path output = fs::absolute(job.outputPath);
    folder.excluded = {output.string(), OutputTempPath(output), OutputTempPath(output) + ".signed"};
  }
  const std::vector<PackageEntry> appFiles = CollectAppFiles(folder);
  const ustring startPage = Utf8ToUtf16(StartPageEntry(dirName, config.indexHtml));
  if (std::none_of(appFiles.begin(), appFiles.end(),
                   [&](const PackageEntry& e) { return SameTextIgnoringCase(Utf8ToUtf16(e.name), startPage); })) {
    throw EVantrelError("The start page \"" + config.indexHtml + "\" (IndexHtml of \"" + job.iniPath +
                        "\") is not in \"" + job.appDir + "\"");
  }
  if (!config.secureOrigin && job.onWarning) {
    const std::string page = PageWithModuleScripts(appFiles);
    if (!page.empty()) {
      job.onWarning("\"" + page + "\" loads module scripts, which browsers refuse on file:/// pages: set "
                    "SecureOrigin=1 in vtl.ini (the app then lives at https://app.localhost/)");
    }
  }
  entries.insert(entries.end(), appFiles.begin(), appFiles.end());
  return entries;
}

PackResult RunPackJob(const PackJob& job) {
  if (!job.signing.Empty()) CheckSigningKeys(job.signing);
  CheckRuntime(job.runtimePath);
  const std::vector<PackageEntry> entries = CollectEntries(job);
  if (job.outputPath.empty()) throw EVantrelError("No output file given");

  const fs::path output = fs::absolute(job.outputPath);
  std::error_code ec;
  if (!fs::is_directory(output.parent_path(), ec)) {
    throw EVantrelError("Cannot write \"" + job.outputPath + "\": its folder does not exist");
  }
  TempFile tempExe(OutputTempPath(output));

  fs::copy_file(job.runtimePath, tempExe.Path(), fs::copy_options::overwrite_existing, ec);
  if (ec) throw EFileError("Cannot write \"" + tempExe.Path() + "\": " + ec.message());
  if (!job.resourceEdits.Empty()) {
    ApplyResourceEdits(tempExe.Path(), job.resourceEdits);
    // The package is found after the image's last section: nothing may follow it yet.
    const std::vector<uint8_t> edited = ReadFileBytes(tempExe.Path());
    const auto imageEnd = PeImageEnd(edited.data(), edited.size());
    if (!imageEnd || *imageEnd != edited.size())
      throw EVantrelError("The resource edits left \"" + tempExe.Path() + "\" with data after its image");
  }
  const size_t runtimeSize = static_cast<size_t>(fs::file_size(tempExe.Path()));

  // The package goes straight behind the program, streamed: no copy of it
  // is ever made.
  PackageWriteOptions options;
  options.password = kPackagePassword;
  options.deflate = job.deflate;
  if (job.onProgress) {
    options.onProgress = [&](uint64_t done, uint64_t total) { job.onProgress("Packing", done, total); };
  }
  const std::vector<WrittenEntry> written = WritePackage(tempExe.Path(), entries, options);
  const uint64_t packageSize = fs::file_size(tempExe.Path()) - runtimeSize;

  if (!job.signing.Empty()) SignProgram(tempExe.Path(), job.signing);
  VerifyPackage(tempExe.Path(), runtimeSize, written);
  fs::permissions(tempExe.Path(), fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  PackResult result;
  for (const auto& w : written) result.contentSize += w.size;
  result.packageSize = packageSize;
  RenameFile(Utf8ToUtf16(tempExe.Path()), Utf8ToUtf16(output.string()));
  return result;
}

}  // namespace vantrel::pack
