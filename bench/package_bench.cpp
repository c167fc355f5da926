// Times opening a 50 MB package from memory and extracting a 1 MB entry,
// against the unzip tool extracting the same entry of the same archive to a
// pipe. Prints both and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "runtime/startup_values.h"
#include "shared/util/zip_archive.h"
#include "tests/unit/test_support.h"

using Clock = std::chrono::steady_clock;
using vantrel::TMemoryStream;

namespace {

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string RandomBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  std::mt19937 random(42);
  std::map<std::string, std::string> entries;
  entries["vtl.ini"] = "[App]\r\nID=bench\r\n";
  for (int i = 0; i < 49; ++i) entries["app/data/file" + std::to_string(i) + ".bin"] = RandomBytes(random, 1 << 20);
  entries["app/target.bin"] = RandomBytes(random, 1 << 20);

  std::printf("Building a 50 MB package...\n");
  const auto package = vantrel::test::MakePackage(entries, vantrel::kPackagePassword);
  vantrel::test::TempDir dir;
  vantrel::test::WriteBytes(dir.File("package.zip"), package);

  double copy = 0, open = 0, extract = 0;
  for (int i = 0; i < rounds; ++i) {
    auto start = Clock::now();
    auto stream = std::make_shared<TMemoryStream>();
    stream->Write(package.data(), package.size());
    copy += MillisecondsSince(start);
    start = Clock::now();
    vantrel::TZipArchive zip;
    zip.SetPassword(vantrel::kPackagePassword);
    zip.Open(stream);
    open += MillisecondsSince(start);
    start = Clock::now();
    TMemoryStream out;
    if (!zip.Extract(std::string("APP/TARGET.BIN"), out) || out.Size() != (1u << 20)) {
      std::fprintf(stderr, "extraction failed\n");
      return 1;
    }
    extract += MillisecondsSince(start);
  }
  copy /= rounds, open /= rounds, extract /= rounds;
  const double ours = open + extract;

  const std::string command = "unzip -qq -p -P " + std::string(vantrel::kPackagePassword) + " '" +
                              dir.File("package.zip") + "' app/target.bin > /dev/null";
  double theirs = 0;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "unzip failed (is it installed?)\n");
      return 1;
    }
    theirs += MillisecondsSince(start);
  }
  theirs /= rounds;

  std::printf("package: %.1f MB, %zu entries, %d rounds\n", package.size() / 1048576.0, entries.size(), rounds);
  std::printf("package into memory (not counted):      %8.3f ms\n", copy);
  std::printf("open from memory:                       %8.3f ms\n", open);
  std::printf("extract the 1 MB entry:                 %8.3f ms\n", extract);
  std::printf("open + extract:                         %8.3f ms\n", ours);
  std::printf("unzip -P of the same entry to a pipe:   %8.3f ms\n", theirs);
  std::printf("ratio (ours / unzip): %.2f\n", ours / theirs);
  return 0;
}
