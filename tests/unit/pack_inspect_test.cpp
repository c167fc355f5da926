// `vantrel-pack inspect` on programs packed from the built runtime.
#include "tools/pack/inspect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/errors.h"
#include "shared/util/pe_image.h"
#include "tests/unit/test_support.h"
#include "tools/pack/pack_job.h"

namespace vantrel::pack {
namespace {

namespace fs = std::filesystem;

class PackInspectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::ifstream(VANTREL_RUNTIME_EXE)) GTEST_SKIP() << "the Windows build is not there: " << VANTREL_RUNTIME_EXE;
    fs::create_directories(dir_.File("web"));
    test::WriteText(dir_.File("web/index.html"), "<h1>hi</h1>");
    test::WriteText(dir_.File("vtl.ini"), "[App]\nID=com.example.inspect\nName=Inspect\nDirName=web\n");
    job_.runtimePath = VANTREL_RUNTIME_EXE;
    job_.appDir = dir_.File("web");
    job_.iniPath = dir_.File("vtl.ini");
    job_.noLoader = true;
    job_.outputPath = dir_.File("app.exe");
    TExeVersionTexts version;
    version.CompanyName = u"Acme";
    version.FileVersion = version.ProductVersion = u"2.1.0.0";
    job_.resourceEdits.version = version;
    RunPackJob(job_);
  }

  static void ExpectHas(const std::string& report, const std::string& text) {
    EXPECT_NE(report.find(text), std::string::npos) << "missing \"" << text << "\" in\n" << report;
  }

  test::TempDir dir_;
  PackJob job_;
};

TEST_F(PackInspectTest, ReportsWhatThePackagedProgramCarries) {
  const std::string report = InspectProgram(job_.outputPath);
  const auto runtimeSize = fs::file_size(VANTREL_RUNTIME_EXE);
  ExpectHas(report, "Package: ");
  ExpectHas(report, "Signature: none");
  ExpectHas(report, "Entries: 2");
  ExpectHas(report, "  deflated           11           23  web/index.html");  // text is deflated by type
  ExpectHas(report, "vtl.ini:\n  [App]\n  ID=com.example.inspect\n");
  ExpectHas(report, "Icon MAINICON (language 1033): ");
  ExpectHas(report, "  CompanyName=Acme\n");
  ExpectHas(report, "  FileVersion=2.1.0.0\n");
  EXPECT_GE(fs::file_size(job_.outputPath), runtimeSize);
}

TEST_F(PackInspectTest, ASignatureAfterThePackageIsShownAndNotReadAsPackage) {
  // What a signing tool does: a certificate table behind everything, named
  // by the security data directory.
  std::vector<uint8_t> program = test::ReadBytes(job_.outputPath);
  const std::string report = InspectProgram(job_.outputPath);
  const uint32_t tableOffset = static_cast<uint32_t>(program.size());
  program.resize(program.size() + 512, 0x30);
  const uint32_t pe = program[0x3C] | (program[0x3D] << 8);
  const size_t securityEntry = pe + 4 + 20 + 112 + 4 * 8;
  for (int i = 0; i < 4; ++i) {
    program[securityEntry + i] = static_cast<uint8_t>(tableOffset >> (8 * i));
    program[securityEntry + 4 + i] = static_cast<uint8_t>(512u >> (8 * i));
  }
  test::WriteBytes(dir_.File("signed.exe"), program);

  const auto table = PeCertificateTable(program.data(), program.size());
  ASSERT_TRUE(table);
  EXPECT_EQ(table->offset, tableOffset);
  const std::string signedReport = InspectProgram(dir_.File("signed.exe"));
  ExpectHas(signedReport, "Signature: certificate table of 512 bytes at offset " + std::to_string(tableOffset));
  // The same package as before signing.
  const auto packageLine = [](const std::string& text) { return text.substr(text.find("Package:"), 40); };
  EXPECT_EQ(packageLine(signedReport), packageLine(report));
  ExpectHas(signedReport, "Entries: 2");
}

TEST_F(PackInspectTest, AProgramWithoutPackageIsNamed) {
  try {
    InspectProgram(VANTREL_RUNTIME_EXE);
    ADD_FAILURE() << "no error";
  } catch (const EVantrelError& error) {
    EXPECT_NE(std::string(error.what()).find("carries no package"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("VantrelRuntime.exe"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace vantrel::pack
