// The package reader against its anchors, in one run:
//  - extracting a stored 1 MB and a 20 MB entry vs a bare loop of the cipher
//    over the same bytes (the cipher is serial: that loop is its limit) and
//    vs `unzip -p -P` of the same entry;
//  - a 1 MB range near the end of a large stored entry (after the entry was
//    read once) vs extracting a 1 MB entry.
// Usage: vantrel_reader_bench [LARGE_ENTRY_MB (default 500)] [ROUNDS (default 10)]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/mapped_file.h"
#include "runtime/startup_values.h"
#include "shared/util/pkware_cipher.h"
#include "shared/util/zip_archive.h"
#include "tests/unit/test_support.h"
#include "tools/pack/package_writer.h"

using Clock = std::chrono::steady_clock;
using namespace vantrel;

namespace {

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The best of `rounds` timings of `work`, in milliseconds.
template <typename Work>
double BestMs(int rounds, Work work) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, Seconds(start) * 1000);
  }
  return best;
}

void WriteRandomFile(const std::string& path, uint64_t size, uint32_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint64_t> block(1 << 17);
  FILE* file = std::fopen(path.c_str(), "wb");
  for (uint64_t done = 0; done < size;) {
    for (auto& word : block) word = random();
    const size_t n = static_cast<size_t>(std::min<uint64_t>(size - done, block.size() * 8));
    std::fwrite(block.data(), 1, n, file);
    done += n;
  }
  std::fclose(file);
}

void Row(const char* what, double ours, const char* anchor, double theirs) {
  std::printf("%-44s %10.2f ms   %-30s %10.2f ms   ratio %.2f\n", what, ours, anchor, theirs, ours / theirs);
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t largeMb = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
  test::TempDir dir;
  WriteRandomFile(dir.File("one.bin"), 1 << 20, 1);
  WriteRandomFile(dir.File("twenty.bin"), 20u << 20, 2);
  WriteRandomFile(dir.File("large.bin"), largeMb << 20, 3);
  pack::PackageWriteOptions options;
  options.password = kPackagePassword;
  options.deflate = false;
  pack::WritePackage(dir.File("p.zip"), {{"one.bin", dir.File("one.bin")}, {"twenty.bin", dir.File("twenty.bin")},
                                         {"large.bin", dir.File("large.bin")}},
                     options);
  const auto file = TMappedFile::Open(Utf8ToUtf16(dir.File("p.zip")));
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(TByteView{file, file->Data(), static_cast<size_t>(file->Size())});

  std::printf("reader bench: stored entries of 1 MB, 20 MB and %llu MB, best of %d rounds\n",
              static_cast<unsigned long long>(largeMb), rounds);
  for (const auto& [name, mb] : {std::pair<const char*, size_t>{"one.bin", 1}, {"twenty.bin", 20}}) {
    const size_t size = mb << 20;
    std::vector<uint8_t> in(size), out(size);
    std::mt19937 random(5);
    for (auto& b : in) b = static_cast<uint8_t>(random());
    const double bare = BestMs(rounds, [&] {
      TPkwareCipher cipher(kPackagePassword);
      cipher.Decrypt(in.data(), out.data(), size);
    });
    const double ours = BestMs(rounds, [&] {
      TMemoryStream target;
      zip.Extract(std::string(name), target);
    });
    const std::string command =
        "unzip -qq -p -P " + std::string(kPackagePassword) + " '" + dir.File("p.zip") + "' " + name + " > /dev/null";
    const double unzip = BestMs(std::max(1, rounds / 2), [&] {
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "unzip failed\n");
    });
    std::printf("%s entry:\n", mb == 1 ? "1 MB" : "20 MB");
    Row("  extract (decrypt + CRC)", ours, "bare cipher loop", bare);
    Row("  extract (decrypt + CRC)", ours, "unzip -p -P", unzip);
  }

  const uint64_t large = largeMb << 20;
  const double firstRead = BestMs(1, [&] {
    TMemoryStream target;
    zip.Extract(std::string("large.bin"), target);
  });
  const double oneEntry = BestMs(rounds, [&] {
    TMemoryStream target;
    zip.Extract(std::string("one.bin"), target);
  });
  const double range = BestMs(rounds, [&] {
    TMemoryStream target;
    zip.ExtractRange("large.bin", large - (3u << 20) / 2, 1 << 20, target);
  });
  std::printf("%llu MB entry read once: %.0f ms\n", static_cast<unsigned long long>(largeMb), firstRead);
  Row("1 MB range near the end of the large entry", range, "1 MB entry", oneEntry);
  return 0;
}
