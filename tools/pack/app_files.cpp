#include "tools/pack/app_files.h"

#include <algorithm>
#include <filesystem>

#include "platform/errors.h"

namespace fs = std::filesystem;

namespace vantrel::pack {

namespace {
// Canonical path, or empty when the path does not lead anywhere.
fs::path Resolved(const fs::path& path) {
  std::error_code ec;
  fs::path resolved = fs::canonical(path, ec);
  return ec ? fs::path() : resolved;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (p == path.end() || *p != *f) return false;
  }
  return true;
}

class AppFolderWalker {
 public:
  explicit AppFolderWalker(const AppFolderOptions& options) : options_(options) {
    root_ = Resolved(options.folder);
    if (root_.empty() || !fs::is_directory(root_)) {
      throw EVantrelError("Web application folder not found: \"" + options.folder + "\"");
    }
    for (const std::string& path : options.excluded) {
      excluded_.push_back(fs::weakly_canonical(fs::absolute(path)));
    }
  }

  std::vector<PackageEntry> Walk() {
    Folder(root_, fs::path(options_.folder), "");
    std::sort(entries_.begin(), entries_.end(),
              [](const PackageEntry& a, const PackageEntry& b) { return a.name < b.name; });
    return std::move(entries_);
  }

 private:
  // `real` is the folder's canonical path (for cycle checks), `shown` the
  // path as the user knows it (for messages), `name` its place in the package.
  void Folder(const fs::path& real, const fs::path& shown, const std::string& name) {
    chain_.push_back(real);
    std::vector<fs::directory_entry> children;
    for (const auto& child : fs::directory_iterator(real)) children.push_back(child);
    for (const auto& child : children) {
      const fs::path childShown = shown / child.path().filename();
      const std::string childName = name + child.path().filename().u8string();
      if (child.is_symlink()) {
        Link(child.path(), childShown, childName);
      } else if (child.is_directory()) {
        Folder(Resolved(child.path()), childShown, childName + "/");
      } else if (child.is_regular_file()) {
        File(child.path(), childName);
      }
    }
    chain_.pop_back();
  }

  void Link(const fs::path& link, const fs::path& shown, const std::string& name) {
    const fs::path target = Resolved(link);
    if (target.empty()) throw EVantrelError("Broken link \"" + shown.string() + "\": its target does not exist");
    if (!IsInside(target, root_) && !options_.followOutsideLinks) {
      throw EVantrelError("Link \"" + shown.string() + "\" leads outside the web application folder (to \"" +
                          target.string() + "\"); pass --follow-outside-links to pack it anyway");
    }
    if (fs::is_directory(target)) {
      if (std::find(chain_.begin(), chain_.end(), target) != chain_.end()) {
        throw EVantrelError("Link \"" + shown.string() + "\" leads back into a folder that contains it (a cycle)");
      }
      Folder(target, shown, name + "/");
    } else if (fs::is_regular_file(target)) {
      File(target, name);
    }
  }

  void File(const fs::path& path, const std::string& name) {
    const fs::path real = Resolved(path);
    if (std::find(excluded_.begin(), excluded_.end(), real) != excluded_.end()) return;
    entries_.push_back({options_.entryPrefix + name, path.string()});
  }

  const AppFolderOptions& options_;
  fs::path root_;
  std::vector<fs::path> excluded_;
  std::vector<fs::path> chain_;  // canonical folders from the root to the current one
  std::vector<PackageEntry> entries_;
};
}  // namespace

std::vector<PackageEntry> CollectAppFiles(const AppFolderOptions& options) {
  return AppFolderWalker(options).Walk();
}

}  // namespace vantrel::pack
