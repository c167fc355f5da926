// The resource server: any text as a requested address, answered from a
// small package and a folder beside it (the seeds are addresses).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "runtime/startup_values.h"
#include "shared/hosting/package_resource_server.h"
#include "tools/pack/package_writer.h"

namespace {
using namespace vantrel;

std::string folder;  // removed when the fuzzer ends

void RemoveFolder() { std::filesystem::remove_all(folder); }

struct Fixture {
  TZipArchive archive;
  TResourceServerInputs inputs;

  Fixture() {
    std::string pattern = std::filesystem::temp_directory_path() / "vantrel-fuzz-XXXXXX";
    folder = mkdtemp(pattern.data());
    std::atexit(RemoveFolder);
    const std::string& dir = folder;
    std::ofstream(dir + "/index.html") << "<h1>hi</h1>";
    std::ofstream(dir + "/beside.css") << "body{}";
    pack::PackageWriteOptions options;
    options.password = kPackagePassword;
    pack::WritePackage(dir + "/p.zip",
                       {{"app/index.html", dir + "/index.html"}, {"app/css/site.css", dir + "/beside.css"},
                        {"app/my page.html", dir + "/index.html"}},
                       options);
    std::ifstream in(dir + "/p.zip", std::ios::binary);
    auto stream = std::make_shared<TMemoryStream>();
    for (char c; in.get(c);) stream->Write(&c, 1);
    archive.SetPassword(kPackagePassword);
    archive.Open(stream);
    inputs.ExeZip = &archive;
    inputs.AppDirName = u"app";
    inputs.AppDirPath = Utf8ToUtf16(dir + "/");
    // Relative literal paths are looked for here, not in the fuzzer's folder.
    if (chdir(dir.c_str()) != 0) std::abort();
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The last source reads any literal path: keep the fuzzer inside its folder.
  if (text.size() > 8 && (text[8] == '/' || text.find("..") != std::string::npos)) return 0;
  try {
    if (auto answer = ResolvePackageResource(Utf8ToUtf16(text), fixture.inputs)) ContentTypeHeader(answer->ContentType);
  } catch (const EVantrelError&) {
  }
  return 0;
}
