#include "shared/hosting/package_resource_server.h"

#include <gtest/gtest.h>

#include "runtime/startup_values.h"
#include "tests/unit/test_browser.h"
#include "tests/unit/test_support.h"

namespace vantrel {
namespace {

std::string Text(const TMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

class ResourceServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto stream = std::make_shared<TMemoryStream>();
    const auto bytes = test::MakePackage(
        {{"app/index.html", "<h1>package</h1>"},
         {"app/img/logo.png", std::string("\x89PNG\r\n\x1a\n", 8) + "png-bytes"},
         {"app/my page.html", "spaced"},
         {"app/assets.d/readme", "readme"},
         {"other/index.html", "other app"}},
        kPackagePassword, true);
    stream->Write(bytes.data(), bytes.size());
    zip_.SetPassword(kPackagePassword);
    zip_.Open(stream);
    inputs_.ExeZip = &zip_;
    inputs_.AppDirName = u"app";
    inputs_.AppDirPath = Utf8ToUtf16(dir_.Path() + "/");
    test::WriteText(dir_.File("disk.txt"), "from disk");
    test::WriteText(dir_.File("index.html"), "disk index");
  }

  test::TempDir dir_;
  TZipArchive zip_;
  TResourceServerInputs inputs_;
};

TEST_F(ResourceServerTest, ResolvesFromThePackageFirst) {
  struct Case {
    const char16_t* uri;
    const char* body;           // nullptr: no answer
    const char16_t* type;
  } cases[] = {
      {u"file:///index.html", "<h1>package</h1>", u"text/html"},
      {u"file:///Index.HTML", "<h1>package</h1>", u"text/html"},
      // The scheme test ignores case, the removal of "file:///" does not.
      {u"FILE:///index.html", nullptr, nullptr},
      {u"file:///img/logo.png", nullptr, u"image/x-png"},
      {u"file:///my%20page.html", nullptr, nullptr},
      {u"file:///my page.html", "spaced", u"text/html"},
      {u"file:///index.html?x=1", nullptr, nullptr},
      {u"file:///assets.d/readme", "readme", u"application/octet-stream"},
      {u"http://example.com/index.html", nullptr, nullptr},
      {u"https://example.com/", nullptr, nullptr},
      {u"file:///nothing.css", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const auto answer = ResolvePackageResource(c.uri, inputs_);
    if (c.uri == std::u16string(u"file:///img/logo.png")) {
      ASSERT_TRUE(answer);
      EXPECT_EQ(answer->ContentType, u"image/x-png");
      EXPECT_EQ(answer->Body.Size(), 17u);
      continue;
    }
    if (!c.body) {
      EXPECT_FALSE(answer) << Utf16ToUtf8(c.uri);
      continue;
    }
    ASSERT_TRUE(answer) << Utf16ToUtf8(c.uri);
    EXPECT_EQ(Text(answer->Body), c.body) << Utf16ToUtf8(c.uri);
    EXPECT_EQ(answer->ContentType, c.type) << Utf16ToUtf8(c.uri);
    EXPECT_EQ(answer->Body.Position(), 0u);
  }
}

TEST_F(ResourceServerTest, DiskSourcesAndSwitches) {
  // The literal path: an absolute file:/// path names a file on disk.
  const ustring diskUri = u"file:///" + Utf8ToUtf16(dir_.File("disk.txt"));
  auto answer = ResolvePackageResource(diskUri, inputs_);
  ASSERT_TRUE(answer);
  EXPECT_EQ(Text(answer->Body), "from disk");
  EXPECT_EQ(answer->ContentType, u"text/plain");

  inputs_.AppDirName.clear();  // no package: only the disk sources
  EXPECT_EQ(Text(ResolvePackageResource(u"file:///index.html", inputs_)->Body), "disk index");
  inputs_.AppDirName = u"other";
  EXPECT_EQ(Text(ResolvePackageResource(u"file:///index.html", inputs_)->Body), "other app");
  inputs_.HandleRequests = false;
  EXPECT_FALSE(ResolvePackageResource(u"file:///index.html", inputs_));
}

TEST_F(ResourceServerTest, AnswersThroughTheBrowserWithTheOneHeaderLine) {
  fake_webview2::ResetSettings();
  fake_webview2::ClearTranscript();
  test::TestBrowser browser;
  browser.ParentChanged(true);
  browser.Settle();
  browser.AddWebResourceRequestedFilter(u"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
  browser.SetOnWebResourceRequested([&](TCustomEdgeBrowser* sender, TWebResourceRequestedEventArgs* args) {
    EdgeBrowserWebResourceRequested(sender, args, inputs_);
  });
  fake_webview2::PageRequestResource(u"file:///index.html");
  fake_webview2::PageRequestResource(u"file:///img/logo.png");
  fake_webview2::PageRequestResource(u"http://example.com/");
  fake_webview2::PageRequestResource(u"file:///index.html");
  const auto& t = fake_webview2::Transcript();
  ASSERT_GE(t.size(), 4u);
  const auto& html = t[t.size() - 4];
  EXPECT_NE(html.find("\"answered\":true,\"status\":200,\"reason\":\"OK\","
                      "\"headers\":\"Content-Type: text/html; charset=utf-8\",\"bodyLength\":16"),
            std::string::npos)
      << html;
  EXPECT_NE(t[t.size() - 3].find("\"headers\":\"Content-Type: image/x-png; charset=utf-8\""), std::string::npos);
  EXPECT_NE(t[t.size() - 2].find("\"answered\":false"), std::string::npos);
  EXPECT_EQ(t.back(), html) << "the same resource twice gives identical answers";
}

TEST_F(ResourceServerTest, AnUnreadableEntryGivesNoAnswerAndServingGoesOn) {
  // A package whose entry for index.html is damaged (wrong password).
  auto stream = std::make_shared<TMemoryStream>();
  const auto bytes = test::MakePackage({{"app/index.html", "x"}}, "another-password");
  stream->Write(bytes.data(), bytes.size());
  TZipArchive damaged;
  damaged.SetPassword(kPackagePassword);
  damaged.Open(stream);
  inputs_.ExeZip = &damaged;
  EXPECT_THROW(ResolvePackageResource(u"file:///index.html", inputs_), EZipError);

  fake_webview2::ResetSettings();
  fake_webview2::ClearTranscript();
  test::TestBrowser browser;
  browser.ParentChanged(true);
  browser.Settle();
  browser.AddWebResourceRequestedFilter(u"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
  browser.SetOnWebResourceRequested([&](TCustomEdgeBrowser* sender, TWebResourceRequestedEventArgs* args) {
    EdgeBrowserWebResourceRequested(sender, args, inputs_);
  });
  fake_webview2::PageRequestResource(u"file:///index.html");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"answered\":false"), std::string::npos);
  inputs_.ExeZip = &zip_;
  fake_webview2::PageRequestResource(u"file:///index.html");
  EXPECT_NE(fake_webview2::Transcript().back().find("\"answered\":true"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
