// Damaged programs that once made the resource rewriter write out of bounds,
// allocate gigabytes or drop every resource: each is refused with a reason.
// The files are the fuzz corpus's reproducers.
#include "shared/util/pe_resources.h"

#include <gtest/gtest.h>

#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

std::vector<uint8_t> Reproducer(const std::string& name) {
  return test::ReadBytes(VANTREL_SOURCE_DIR "/tests/fuzz/corpus/pe_resources/" + name);
}

TEST(PeResources, DamagedProgramsAreRefused) {
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"small-optional-header.exe", "the optional header is too short"},
      {"huge-file-alignment.exe", "alignment is invalid"},
      {"wrapping-file-alignment.exe", "alignment is invalid"},
      {"resource-fan-out.exe", "the resource tree lists more data than the file holds"},
      {"resources-read-back-differently.exe", "the program's sections overlap"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> program = Reproducer(c.file);
    ASSERT_FALSE(program.empty()) << c.file;
    const std::vector<uint8_t> before = program;
    try {
      ReplacePeResources(program, ReadPeResources(program));
      ADD_FAILURE() << c.file << " was rewritten";
    } catch (const EVantrelError& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << c.file << ": " << error.what();
    }
    EXPECT_EQ(program, before) << c.file;
  }
}

// Rewritten programs read back with the same resources: the sound seed, and
// one whose last resource is empty and whose rewritten section ends exactly
// at a file-alignment boundary (its data address is the section's end).
TEST(PeResources, RewrittenProgramsReadBackTheSameResources) {
  for (const char* file : {"tiny-program.exe", "empty-resource-at-section-end.exe"}) {
    std::vector<uint8_t> program = Reproducer(file);
    const auto resources = ReadPeResources(program);
    ASSERT_FALSE(resources.empty()) << file;
    ReplacePeResources(program, resources);
    std::vector<TPeResource> again;
    ASSERT_NO_THROW(again = ReadPeResources(program)) << file;
    ASSERT_EQ(again.size(), resources.size()) << file;
    for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].data, resources[i].data) << file << " " << i;
  }
}

}  // namespace
}  // namespace vantrel
