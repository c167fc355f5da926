// Where the creatable folders of a Windows path begin.
#include "platform/path_root.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(WindowsPathRoot, CoversDrivesSharesAndPrefixes) {
  const struct {
    const char16_t* path;
    size_t root;
  } cases[] = {
      {u"C:\\data\\a", 3},
      {u"c:/data", 3},
      {u"C:", 2},
      {u"C:rel", 2},
      {u"\\data", 1},
      {u"data\\a", 0},
      {u"", 0},
      {u"\\\\server\\share\\a\\b", 15},
      {u"//server/share", 14},
      {u"\\\\server", 8},
      {u"\\\\?\\C:\\a\\b", 7},
      {u"\\\\?\\C:", 6},
      {u"\\\\?\\UNC\\server\\share\\a", 21},
      {u"\\\\?\\unc\\server\\share", 20},
      {u"\\\\?\\Volume{1b3b1146-4076-11e1-84aa-806e6f6e6963}\\a", 49},
      {u"\\\\.\\PhysicalDrive0", 18},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowsPathRootLength(c.path), c.root) << Utf16ToUtf8(c.path);
}

}  // namespace
}  // namespace vantrel
