// Serves N requests of a 200-file package through the resource server and
// prints requests per second, next to the cost of extracting the same entries
// alone and of one content-type lookup with and without the cache. The
// system's registrations are simulated at the size of a usual Windows
// installation (about 700 extensions and 300 content types).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/startup_values.h"
#include "shared/hosting/mime_table.h"
#include "shared/hosting/package_resource_server.h"
#include "shared/util/zip_archive.h"
#include "tests/unit/test_support.h"

using Clock = std::chrono::steady_clock;
using namespace vantrel;

namespace {

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class SimulatedRegistrations : public IMimeRegistrations {
 public:
  SimulatedRegistrations() {
    for (int i = 0; i < 700; ++i) extensions_.push_back({u".ext" + AsU(i), u"application/x-sim" + AsU(i)});
    for (int i = 0; i < 300; ++i) types_.push_back({u"application/x-db" + AsU(i), u".db" + AsU(i)});
  }
  std::vector<std::pair<ustring, ustring>> ExtensionContentTypes() override { return extensions_; }
  std::vector<std::pair<ustring, ustring>> ContentTypeExtensions() override { return types_; }
  bool ChangedSinceLastCheck() override { return false; }

 private:
  static ustring AsU(int i) {
    const std::string s = std::to_string(i);
    return ustring(s.begin(), s.end());
  }
  std::vector<std::pair<ustring, ustring>> extensions_, types_;
};

// Page-like text: compressible, a few kilobytes.
std::string PageText(std::mt19937& random, size_t size) {
  static const char* words[] = {"<div class=\"card\">", "function ", "color: #1a6fd6;", "return value;", "</div>\n",
                                "margin: 0 auto;", "const item = ", "window.vtl", "<p>Lorem ipsum</p>\n"};
  std::string text;
  while (text.size() < size) text += words[random() % (sizeof words / sizeof *words)];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int requests = argc > 1 ? std::atoi(argv[1]) : 20000;
  std::mt19937 random(7);
  static const char* kinds[] = {".html", ".css", ".js", ".svg", ".json"};
  std::map<std::string, std::string> entries;
  std::vector<ustring> uris;
  std::vector<std::string> names;
  for (int i = 0; i < 200; ++i) {
    const std::string name = "pages/file" + std::to_string(i) + kinds[i % 5];
    entries["app/" + name] = PageText(random, 2000 + random() % 18000);
    names.push_back("app/" + name);
    uris.push_back(u"file:///" + ustring(name.begin(), name.end()));
  }
  const auto package = test::MakePackage(entries, kPackagePassword, /*deflate=*/true);
  auto stream = std::make_shared<TMemoryStream>();
  stream->Write(package.data(), package.size());
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(stream);

  TResourceServerInputs inputs;
  inputs.ExeZip = &zip;
  inputs.AppDirName = u"app";
  inputs.AppDirPath = u"/nonexistent-vantrel-bench/";

  size_t bytes = 0;
  auto start = Clock::now();
  for (int i = 0; i < requests; ++i) {
    auto answer = ResolvePackageResource(uris[i % uris.size()], inputs);
    if (!answer) {
      std::fprintf(stderr, "request %d not answered\n", i);
      return 1;
    }
    bytes += answer->Body.Size();
  }
  const double served = SecondsSince(start);

  start = Clock::now();
  for (int i = 0; i < requests; ++i) {
    TMemoryStream out;
    zip.Extract(names[i % names.size()], out);
  }
  const double extractOnly = SecondsSince(start);

  auto registrations = std::make_shared<SimulatedRegistrations>();
  const int lookups = 2000;
  start = Clock::now();
  for (int i = 0; i < lookups; ++i) {
    TIdMimeTable table(true, registrations);
    table.GetFileMIMEType(u"index.html");
  }
  const double uncached = SecondsSince(start) / lookups;
  TMimeTypeCache cache(registrations);
  const int cachedLookups = 1000000;
  start = Clock::now();
  size_t sink = 0;
  for (int i = 0; i < cachedLookups; ++i) sink += cache.GetFileMIMEType(i % 2 ? u"index.html" : u"a.png").size();
  const double cached = SecondsSince(start) / cachedLookups;

  std::printf("package: 200 entries, %zu bytes deflated\n", package.size());
  std::printf("served %d requests in %.3f s: %.0f requests/s, %.1f MB/s of bodies\n", requests, served,
              requests / served, bytes / served / 1e6);
  std::printf("extraction alone: %.3f s (%.0f%% of the serving time)\n", extractOnly, 100.0 * extractOnly / served);
  std::printf("content-type lookup: %.1f us rebuilding the table (both registry passes), %.3f us from the cache\n",
              uncached * 1e6, cached * 1e6);
  return sink ? 0 : 1;
}
