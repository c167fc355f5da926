#include "shared/hosting/package_resource_server.h"

#include <gtest/gtest.h>

#include "runtime/startup_values.h"
#include "shared/hosting/byte_range.h"
#include "shared/hosting/resource_address.h"
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
         {"app/caf\xC3\xA9.html", "accented"},
         {"app/app.js", "js"},
         {"app/media/clip.bin", std::string(300000, 'm') + "end"},
         {"app/module.wasm", "\0asm"},
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
      // Addresses as browsers send them: escapes decoded, no query or fragment.
      {u"file:///my%20page.html", "spaced", u"text/html"},
      {u"file:///my page.html", "spaced", u"text/html"},
      {u"file:///caf%C3%A9.html", "accented", u"text/html"},
      {u"file:///index.html?x=1", "<h1>package</h1>", u"text/html"},
      {u"file:///index.html#top", "<h1>package</h1>", u"text/html"},
      {u"file:///app.js?v=2", "js", u"text/javascript"},
      {u"file:///my%2", nullptr, nullptr},
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

// Addresses are read as browsers send them, at both origins the app's pages
// may live at; malformed escapes stay as they are.
TEST(ResourceAddress, DecodingAndSplitting) {
  const struct {
    const char16_t* uri;
    bool secure;
    const char16_t* path;  // nullptr: not an address of the app
  } cases[] = {
      {u"file:///index.html", false, u"index.html"},
      {u"file:///css/site.css?v=3#x", false, u"css/site.css"},
      {u"file:///my%20page.html", false, u"my page.html"},
      {u"file:///caf%C3%A9.html", false, u"caf\u00E9.html"},
      {u"file:///a%2", false, u"a%2"},
      {u"file:///a%zz.html", false, u"a%zz.html"},
      {u"file:///bad%FF.html", false, u"bad\uFFFD.html"},
      {u"file:///100%25.txt", false, u"100%.txt"},
      {u"file:///x%3Fy.txt?q", false, u"x?y.txt"},
      {u"https://app.localhost/index.html", false, nullptr},
      {u"https://app.localhost/index.html", true, u"index.html"},
      {u"https://APP.localhost:443/js/app.js?v=2", true, u"js/app.js"},
      {u"https://app.localhost/my%20page.html#frag", true, u"my page.html"},
      {u"https://app.localhost/", true, u""},
      {u"https://app.localhost", true, u""},
      {u"https://app.localhost/a/%2e%2e/%2e%2e/secret.txt", true, nullptr},
      {u"https://app.localhost/a/..%5C..%5Csecret.txt", true, nullptr},
      {u"https://app.localhost:8443/index.html", true, nullptr},
      {u"https://app.localhost.evil.com/index.html", true, nullptr},
      {u"http://app.localhost/index.html", true, nullptr},
      {u"https://example.com/index.html", true, nullptr},
  };
  for (const auto& c : cases) {
    const auto path = ResourcePathOf(c.uri, c.secure);
    if (!c.path) {
      EXPECT_FALSE(path) << Utf16ToUtf8(c.uri);
      continue;
    }
    ASSERT_TRUE(path) << Utf16ToUtf8(c.uri);
    EXPECT_EQ(path->path, c.path) << Utf16ToUtf8(c.uri);
    EXPECT_EQ(path->secure, c.secure) << Utf16ToUtf8(c.uri);
  }
}

TEST(ByteRange, SingleRangesAsBrowsersAskForThem) {
  using Kind = TByteRange::Kind;
  const struct {
    const char16_t* header;
    uint64_t size;
    Kind kind;
    uint64_t first, last;
  } cases[] = {
      {u"", 1000, Kind::Whole, 0, 0},
      {u"bytes=0-", 1000, Kind::Part, 0, 999},
      {u"bytes=100-199", 1000, Kind::Part, 100, 199},
      {u"bytes=-500", 1000, Kind::Part, 500, 999},
      {u"bytes=-5000", 1000, Kind::Part, 0, 999},
      {u"bytes=900-5000", 1000, Kind::Part, 900, 999},
      {u"Bytes = 5-5", 1000, Kind::Part, 5, 5},
      {u"bytes=1000-", 1000, Kind::Unsatisfiable, 0, 0},
      {u"bytes=2000-3000", 1000, Kind::Unsatisfiable, 0, 0},
      {u"bytes=-0", 1000, Kind::Unsatisfiable, 0, 0},
      {u"bytes=0-", 0, Kind::Unsatisfiable, 0, 0},
      {u"bytes=0-1,5-6", 1000, Kind::Whole, 0, 0},
      {u"bytes=200-100", 1000, Kind::Whole, 0, 0},
      {u"bytes=abc", 1000, Kind::Whole, 0, 0},
      {u"bytes=1-x", 1000, Kind::Whole, 0, 0},
      {u"items=0-5", 1000, Kind::Whole, 0, 0},
      {u"bytes=-", 1000, Kind::Whole, 0, 0},
      {u"bytes=99999999999999999999-", 1000, Kind::Whole, 0, 0},
  };
  for (const auto& c : cases) {
    const TByteRange range = ParseByteRange(c.header, c.size);
    EXPECT_EQ(range.kind, c.kind) << Utf16ToUtf8(c.header);
    if (c.kind == Kind::Part) {
      EXPECT_EQ(range.first, c.first) << Utf16ToUtf8(c.header);
      EXPECT_EQ(range.last, c.last) << Utf16ToUtf8(c.header);
    }
  }
}

TEST_F(ResourceServerTest, RangesAreAnsweredWithTheirBytesAndHeaders) {
  const uint64_t size = 300003;
  auto part = ResolvePackageResource(u"file:///media/clip.bin", inputs_, u"bytes=299990-");
  ASSERT_TRUE(part);
  EXPECT_EQ(part->StatusCode, 206);
  EXPECT_EQ(part->ReasonPhrase, u"Partial Content");
  EXPECT_EQ(Text(part->Body), "mmmmmmmmmmend");
  EXPECT_EQ(ResponseHeaders(*part), u"Content-Type: application/octet-stream; charset=utf-8\r\n"
                                    u"Content-Range: bytes 299990-300002/300003\r\nAccept-Ranges: bytes");
  auto refused = ResolvePackageResource(u"file:///media/clip.bin", inputs_, u"bytes=400000-");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->StatusCode, 416);
  EXPECT_EQ(refused->Body.Size(), 0u);
  EXPECT_EQ(ResponseHeaders(*refused), u"Content-Type: application/octet-stream; charset=utf-8\r\n"
                                       u"Content-Range: bytes */300003");
  auto whole = ResolvePackageResource(u"file:///media/clip.bin", inputs_, u"bytes=0-1,4-5");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->StatusCode, 200);
  EXPECT_EQ(whole->Body.Size(), size);
  EXPECT_EQ(ResponseHeaders(*whole), u"Content-Type: application/octet-stream; charset=utf-8");
  // From the folder beside the program too.
  auto disk = ResolvePackageResource(u"file:///disk.txt", inputs_, u"bytes=5-");
  ASSERT_TRUE(disk);
  EXPECT_EQ(disk->StatusCode, 206);
  EXPECT_EQ(Text(disk->Body), "disk");
}

// Module scripts, style sheets and WebAssembly fail with the wrong type, and
// WebAssembly also with a parameter: the browser's required type wins.
TEST_F(ResourceServerTest, TypesBrowsersEnforceWin) {
  EXPECT_EQ(BrowserContentType(u"a.js", u"text/plain"), u"text/javascript");
  EXPECT_EQ(BrowserContentType(u"a.mjs", u"application/octet-stream"), u"text/javascript");
  EXPECT_EQ(BrowserContentType(u"a.js", u"application/x-javascript"), u"application/x-javascript");
  EXPECT_EQ(BrowserContentType(u"a.CSS", u"text/plain"), u"text/css");
  EXPECT_EQ(BrowserContentType(u"a.wasm", u"application/octet-stream"), u"application/wasm");
  EXPECT_EQ(BrowserContentType(u"a.png", u"image/png"), u"image/png");
  auto wasm = ResolvePackageResource(u"file:///module.wasm", inputs_);
  ASSERT_TRUE(wasm);
  EXPECT_EQ(ResponseHeaders(*wasm), u"Content-Type: application/wasm");
}

TEST_F(ResourceServerTest, TheSecureOriginServesThePackageAndTheFolderOnly) {
  EXPECT_FALSE(ResolvePackageResource(u"https://app.localhost/index.html", inputs_));
  inputs_.SecureOrigin = true;
  auto page = ResolvePackageResource(u"https://app.localhost/index.html?x=1", inputs_);
  ASSERT_TRUE(page);
  EXPECT_EQ(Text(page->Body), "<h1>package</h1>");
  EXPECT_EQ(Text(ResolvePackageResource(u"https://app.localhost/disk.txt", inputs_)->Body), "from disk");
  // No literal paths: an absolute path is no file of the app here.
  const ustring literal = u"https://app.localhost/" + Utf8ToUtf16(dir_.File("disk.txt"));
  EXPECT_FALSE(ResolvePackageResource(literal, inputs_));
  // file:/// addresses still work.
  EXPECT_TRUE(ResolvePackageResource(u"file:///index.html", inputs_));
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
