// The package reader: any bytes as the package behind the program, opened
// with the package password, its configuration read as start-up reads it
// (size cap included), every entry extracted whole and in ranges; also the
// search for a signing tool's padding after the archive.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "runtime/exe_zip_loader.h"
#include "runtime/startup_values.h"
#include "shared/util/package_bounds.h"
#include "shared/util/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  SignaturePadding(data, size);
  auto stream = std::make_shared<TMemoryStream>();
  stream->Write(data, size);
  TStartupValues values;
  values.ExeZip = std::make_unique<TZipArchive>();
  values.ProjectINI = std::make_unique<TMemIniFile>();
  TZipArchive& archive = *values.ExeZip;
  archive.SetPassword(kPackagePassword);
  try {
    archive.Open(stream);
    LoadProjectINI(values);
  } catch (const EVantrelError&) {
    if (!archive.IsOpen()) return 0;
  }
  archive.EntryInfos();
  for (const auto& name : archive.EntryNames()) {
    TMemoryStream target;
    try {
      // A small limit keeps each run fast; the declared size still decides.
      archive.Extract(name, target, 16u << 20);
    } catch (const EZipError&) {
    }
    // Ranges too, as media asks for them: from the start, across a saved
    // cipher state and past the end.
    for (const auto& [offset, length] : {std::pair<uint64_t, uint64_t>{0, 7}, {(1u << 20) - 3, 9}, {1u << 30, 1}}) {
      TMemoryStream part;
      try {
        archive.ExtractRange(name, offset, length, part, 16u << 20);
      } catch (const EZipError&) {
      }
    }
  }
  return 0;
}
