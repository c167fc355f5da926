#include "tools/pack/pack_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/errors.h"
#include "runtime/startup_values.h"
#include "shared/util/zip_archive.h"
#include "tests/unit/test_support.h"

namespace vantrel::pack {
namespace {

namespace fs = std::filesystem;

class PackJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir_.File("runtime.exe"), test::MakePeImage({{1024, 3072}}, 4096));
    fs::create_directories(dir_.File("web/css"));
    test::WriteText(dir_.File("web/index.html"), "<h1>hi</h1>");
    test::WriteText(dir_.File("web/css/site.css"), "body{}");
    test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\nDirName=site\n");
    test::WriteText(dir_.File("loader.dll"), "MZloader");
    job_.runtimePath = dir_.File("runtime.exe");
    job_.appDir = dir_.File("web");
    job_.iniPath = dir_.File("vtl.ini");
    job_.loaderPath = dir_.File("loader.dll");
    job_.outputPath = dir_.File("out.exe");
  }

  void ExpectFailure(const std::string& messagePart) {
    try {
      RunPackJob(job_);
      ADD_FAILURE() << "expected an error containing " << messagePart;
    } catch (const EVantrelError& error) {
      EXPECT_NE(std::string(error.what()).find(messagePart), std::string::npos) << error.what();
    }
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
      EXPECT_EQ(entry.path().string().find("out.exe"), std::string::npos) << "left behind: " << entry.path();
    }
  }

  test::TempDir dir_;
  PackJob job_;
};

TEST_F(PackJobTest, OutputIsTheRuntimeFollowedByAReadablePackage) {
  RunPackJob(job_);
  const auto out = test::ReadBytes(dir_.File("out.exe"));
  const auto runtime = test::ReadBytes(dir_.File("runtime.exe"));
  ASSERT_GT(out.size(), runtime.size());
  EXPECT_TRUE(std::equal(runtime.begin(), runtime.end(), out.begin()));

  auto stream = std::make_shared<TMemoryStream>();
  stream->Write(out.data() + runtime.size(), out.size() - runtime.size());
  TZipArchive zip;
  zip.SetPassword(kPackagePassword);
  zip.Open(stream);
  EXPECT_EQ(zip.EntryNames(), (std::vector<std::string>{"vtl.ini", "WebView2LoaderWin64.dll", "site/css/site.css",
                                                        "site/index.html"}));
  TMemoryStream page;
  ASSERT_TRUE(zip.Extract(std::string("site/index.html"), page));
  EXPECT_EQ(std::string(page.Bytes().begin(), page.Bytes().end()), "<h1>hi</h1>");
}

TEST_F(PackJobTest, DirNameOptionOverridesTheConfiguration) {
  job_.dirName = "other";
  const auto entries = CollectEntries(job_);
  EXPECT_EQ(entries.back().name, "other/index.html");
}

TEST_F(PackJobTest, MissingInputsAreNamed) {
  job_.iniPath = dir_.File("nope.ini");
  ExpectFailure("Configuration file not found");
  SetUp();
  job_.appDir = dir_.File("nope");
  ExpectFailure("Web application folder not found");
  SetUp();
  job_.loaderPath = dir_.File("nope.dll");
  ExpectFailure("Loader library not found");
  SetUp();
  job_.runtimePath = dir_.File("nope.exe");
  ExpectFailure("Runtime program not found");
}

TEST_F(PackJobTest, RuntimeMustBeAPlainWindowsProgram) {
  test::WriteText(dir_.File("runtime.exe"), "#!/bin/sh\necho not a program\n");
  ExpectFailure("is not a Windows program");

  auto packaged = test::MakePeImage({{1024, 3072}}, 4096);
  packaged.push_back('P');
  test::WriteBytes(dir_.File("runtime.exe"), packaged);
  ExpectFailure("already carries a package");
}

TEST_F(PackJobTest, UnwritableOutputLeavesNothingBehind) {
  job_.outputPath = dir_.File("missing-folder/out.exe");
  ExpectFailure("its folder does not exist");
}

}  // namespace
}  // namespace vantrel::pack
