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

  // Fails unless packing stops with a message holding `messagePart` and
  // naming `file` (when given), and leaves no output behind.
  void ExpectFailure(const std::string& messagePart, const std::string& file = "") {
    try {
      RunPackJob(job_);
      ADD_FAILURE() << "expected an error containing " << messagePart;
    } catch (const EVantrelError& error) {
      EXPECT_NE(std::string(error.what()).find(messagePart), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what() << " does not name " << file;
    }
    for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
      EXPECT_EQ(entry.path().string().find("out.exe"), std::string::npos) << "left behind: " << entry.path();
    }
  }

  std::vector<std::string> PackedNames() {
    std::vector<std::string> names;
    for (const auto& entry : CollectEntries(job_)) names.push_back(entry.name);
    return names;
  }

  std::string PackedText(const std::string& name) {
    for (const auto& entry : CollectEntries(job_)) {
      if (entry.name != name) continue;
      if (entry.contents) return std::string(entry.contents->begin(), entry.contents->end());
      const auto bytes = test::ReadBytes(entry.sourcePath);
      return std::string(bytes.begin(), bytes.end());
    }
    ADD_FAILURE() << name << " is not packed";
    return {};
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

TEST_F(PackJobTest, DirNameOptionOverridesTheConfigurationInThePackagedIni) {
  job_.dirName = "other";
  const auto entries = CollectEntries(job_);
  EXPECT_EQ(entries.back().name, "other/index.html");
  // The program must look for its pages where they are.
  EXPECT_EQ(PackedText("vtl.ini"), "\xEF\xBB\xBF[App]\r\nID=x\r\nName=X\r\nDirName=other\r\n");

  test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\n");
  EXPECT_EQ(PackedText("vtl.ini"), "\xEF\xBB\xBF[App]\r\nDirName=other\r\nID=x\r\nName=X\r\n");
}

TEST_F(PackJobTest, DirNameComesFromTheConfigurationWhateverTheFolderIsCalled) {
  for (const std::string& appDir : {dir_.File("web"), dir_.File("web/"), dir_.File("web/.")}) {
    job_.appDir = appDir;
    EXPECT_EQ(PackedNames().back(), "site/index.html") << appDir;
  }
}

// Every way a program could be made that cannot start, refused with a
// message that names the file at fault.
struct BadInput {
  const char* what;
  const char* ini;  // nullptr keeps the fixture's
  const char* message;
  const char* names;  // file name the message must hold
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.what; }

class PackJobBadInputTest : public PackJobTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(PackJobBadInputTest, IsRefusedBeforeAnythingIsWritten) {
  const BadInput& input = GetParam();
  if (input.ini) test::WriteText(dir_.File("vtl.ini"), input.ini);
  ExpectFailure(input.message, input.names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackJobBadInputTest,
    ::testing::Values(
        BadInput{"no ID", "[App]\nName=X\nDirName=site\n", "[App] ID is missing", "vtl.ini"},
        BadInput{"blank ID", "[App]\nID=   \nName=X\nDirName=site\n", "[App] ID is missing", "vtl.ini"},
        BadInput{"no Name", "[App]\nID=x\nDirName=site\n", "[App] Name is missing", "vtl.ini"},
        BadInput{"no DirName", "[App]\nID=x\nName=X\n", "[App] DirName is missing", "vtl.ini"},
        BadInput{"keys outside [App]", "[Other]\nID=x\nName=X\nDirName=site\n", "is missing", "vtl.ini"},
        BadInput{"ID .", "[App]\nID=.\nName=X\nDirName=site\n", "ID \".\" cannot be used", "vtl.ini"},
        BadInput{"ID ..", "[App]\nID=..\nName=X\nDirName=site\n", "ID \"..\" cannot be used", "vtl.ini"},
        BadInput{"ID with backslash", "[App]\nID=a\\b\nName=X\nDirName=site\n", "cannot be used", "vtl.ini"},
        BadInput{"ID with slash", "[App]\nID=a/b\nName=X\nDirName=site\n", "cannot be used", "vtl.ini"},
        BadInput{"ID device", "[App]\nID=nul\nName=X\nDirName=site\n", "device name", "vtl.ini"},
        BadInput{"ID trailing dot", "[App]\nID=app.\nName=X\nDirName=site\n", "ends with a dot", "vtl.ini"},
        BadInput{"start page missing", "[App]\nID=x\nName=X\nDirName=site\nIndexHtml=start.html\n",
                 "start page \"start.html\"", "web"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(PackJobTest, StartPageIsFoundLikeTheProgramFindsIt) {
  test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\nDirName=site\nIndexHtml=CSS/Site.css?v=2#top\n");
  EXPECT_NO_THROW(CollectEntries(job_));
}

TEST_F(PackJobTest, LoaderIsRequiredUnlessTheProgramReliesOnAnInstalledOne) {
  job_.loaderPath.clear();
  ExpectFailure("No loader library given");
  job_.noLoader = true;
  EXPECT_EQ(PackedNames(), (std::vector<std::string>{"vtl.ini", "site/css/site.css", "site/index.html"}));
}

TEST_F(PackJobTest, UnknownKeysAreWarnedAboutButPacked) {
  test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\nDirName=site\nheigth=600\nWidth=800\n");
  std::vector<std::string> warnings;
  job_.onWarning = [&](const std::string& text) { warnings.push_back(text); };
  RunPackJob(job_);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("\"heigth\""), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("vtl.ini"), std::string::npos) << warnings[0];
}

TEST_F(PackJobTest, ModuleScriptsWithoutTheSecureOriginGetOneHint) {
  std::vector<std::string> warnings;
  job_.onWarning = [&](const std::string& text) { warnings.push_back(text); };
  test::WriteText(dir_.File("web/index.html"), "<script type=\"module\" src=\"app.mjs\"></script>");
  test::WriteText(dir_.File("web/other.htm"), "<SCRIPT TYPE=module>import './a.js'</SCRIPT>");
  CollectEntries(job_);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("SecureOrigin=1"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find(".htm"), std::string::npos) << warnings[0];

  warnings.clear();
  test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\nDirName=site\nSecureOrigin=1\n");
  CollectEntries(job_);
  EXPECT_TRUE(warnings.empty());
  test::WriteText(dir_.File("vtl.ini"), "[App]\nID=x\nName=X\nDirName=site\n");
  test::WriteText(dir_.File("web/index.html"), "<script src=\"module.js\"></script><p>type=\"module\"</p>");
  fs::remove(dir_.File("web/other.htm"));
  CollectEntries(job_);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(PackJobTest, AnEarlierOutputInsideTheAppFolderIsNeverPacked) {
  job_.outputPath = dir_.File("web/app.exe");
  RunPackJob(job_);
  const auto first = fs::file_size(job_.outputPath);
  RunPackJob(job_);
  EXPECT_EQ(fs::file_size(job_.outputPath), first);
  EXPECT_EQ(PackedNames(), (std::vector<std::string>{"vtl.ini", "WebView2LoaderWin64.dll", "site/css/site.css",
                                                     "site/index.html"}));
}

class PackJobLinkTest : public PackJobTest {
 protected:
  void SetUp() override {
    PackJobTest::SetUp();
    fs::create_directories(dir_.File("outside"));
    test::WriteText(dir_.File("outside/secret.txt"), "secret");
  }
};

TEST_F(PackJobLinkTest, LinksInsideArePackedUnderTheirOwnNames) {
  fs::create_symlink("css/site.css", dir_.File("web/copy.css"));
  fs::create_directory_symlink("css", dir_.File("web/styles"));
  EXPECT_EQ(PackedNames(), (std::vector<std::string>{"vtl.ini", "WebView2LoaderWin64.dll", "site/copy.css",
                                                     "site/css/site.css", "site/index.html", "site/styles/site.css"}));
  EXPECT_EQ(PackedText("site/copy.css"), "body{}");
  EXPECT_EQ(PackedText("site/styles/site.css"), "body{}");
  RunPackJob(job_);  // no name is packed twice
}

TEST_F(PackJobLinkTest, LinksThatCannotBePackedAreNamed) {
  fs::create_symlink(dir_.File("outside/secret.txt"), dir_.File("web/secret.txt"));
  ExpectFailure("leads outside the web application folder", "web/secret.txt");
  job_.followOutsideLinks = true;
  EXPECT_EQ(PackedText("site/secret.txt"), "secret");
  fs::remove(dir_.File("web/secret.txt"));

  fs::create_directory_symlink(dir_.File("outside"), dir_.File("web/more"));
  job_.followOutsideLinks = false;
  ExpectFailure("leads outside", "web/more");
  fs::remove(dir_.File("web/more"));

  fs::create_symlink("missing.txt", dir_.File("web/broken.txt"));
  ExpectFailure("Broken link", "web/broken.txt");
  fs::remove(dir_.File("web/broken.txt"));

  fs::create_directory_symlink("..", dir_.File("web/css/up"));
  ExpectFailure("cycle", "web/css/up");
}

TEST_F(PackJobTest, MissingInputsAreNamed) {
  job_.iniPath = dir_.File("nope.ini");
  ExpectFailure("Configuration file not found", "nope.ini");
  SetUp();
  job_.appDir = dir_.File("nope");
  ExpectFailure("Web application folder not found", "nope");
  SetUp();
  job_.loaderPath = dir_.File("nope.dll");
  ExpectFailure("Loader library not found", "nope.dll");
  SetUp();
  job_.installerPath = dir_.File("nope-installer.exe");
  ExpectFailure("Runtime installer not found", "nope-installer.exe");
  SetUp();
  job_.runtimePath = dir_.File("nope.exe");
  ExpectFailure("Runtime program not found", "nope.exe");
}

TEST_F(PackJobTest, RuntimeMustBeAPlainWindowsProgram) {
  test::WriteText(dir_.File("runtime.exe"), "#!/bin/sh\necho not a program\n");
  ExpectFailure("is not a Windows program", "runtime.exe");

  auto packaged = test::MakePeImage({{1024, 3072}}, 4096);
  packaged.push_back('P');
  test::WriteBytes(dir_.File("runtime.exe"), packaged);
  ExpectFailure("already carries a package", "runtime.exe");
}

TEST_F(PackJobTest, UnwritableOutputLeavesNothingBehind) {
  job_.outputPath = dir_.File("missing-folder/out.exe");
  ExpectFailure("its folder does not exist", "missing-folder/out.exe");
}

}  // namespace
}  // namespace vantrel::pack
