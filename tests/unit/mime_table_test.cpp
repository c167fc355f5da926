#include "shared/hosting/mime_table.h"

#include <gtest/gtest.h>

#include "shared/hosting/builtin_mime_types.h"

namespace vantrel {
namespace {

// Registrations supplied by the test, with a change counter.
class FakeRegistrations : public IMimeRegistrations {
 public:
  std::vector<std::pair<ustring, ustring>> extensions, contentTypes;
  bool changed = false;
  int reads = 0;
  std::vector<std::pair<ustring, ustring>> ExtensionContentTypes() override {
    ++reads;
    return extensions;
  }
  std::vector<std::pair<ustring, ustring>> ContentTypeExtensions() override { return contentTypes; }
  bool ChangedSinceLastCheck() override { return std::exchange(changed, false); }
};

TEST(MimeTable, BuiltInRowsKeepTheirOrderAndFirstRowsWin) {
  EXPECT_STREQ(kBuiltinMimeTypes[0].extension, ".nml");
  EXPECT_STREQ(kBuiltinMimeTypes[383].extension, ".mht");
  EXPECT_STREQ(kBuiltinMimeTypes[383].type, "message/rfc822");
  TIdMimeTable table(true, std::make_shared<FakeRegistrations>());
  EXPECT_EQ(table.Count(), 372u + kModernMimeTypeCount) << "384 rows, 372 distinct extensions, then the modern rows";
  EXPECT_EQ(table.FileExtensions()[0], u".nml");
  EXPECT_EQ(table.FileExtensions()[371], u".mht");
  EXPECT_EQ(table.FileExtensions().back(), u".m4v");
}

TEST(MimeTable, LookupsFollowTheRules) {
  TIdMimeTable table(true, std::make_shared<FakeRegistrations>());
  struct Case {
    const char16_t* name;
    const char16_t* type;
  } cases[] = {
      {u"index.html", u"text/html"},
      {u"style.css", u"text/css"},
      {u"app.js", u"text/javascript"},
      {u"logo.png", u"image/x-png"},
      {u"song.mp3", u"audio/x-mpg"},
      {u"clip.mp2", u"audio/x-mpg"},
      {u"movie.mpeg", u"video/x-mpeg2a"},
      {u"movie.mpg", u"video/mpeg"},
      {u"PHOTO.JPG", u"image/jpeg"},
      {u"data.json", u"application/json"},  // the modern rows fill the table's gaps
      {u"README", u"application/octet-stream"},
      {u"name.", u"application/octet-stream"},
      {u"css/site.css", u"text/css"},
      {u"assets.d/readme", u"application/octet-stream"},
      {u"C:\\web\\page.htm", u"text/html"},
      {u"a:page.htm", u"text/html"},
      {u"dir.v1\\file", u"application/octet-stream"},
      {u"x.mjf", u"audio/x-vnd.audioexplosion.mjuicemediafile"},
      {u"setup.pkg", u"vnd.apple.installer+xml"},
      {u"page.shtml", u"server-parsed-html"},
      {u"a.xbm", u"image/xbm"},
      {u"a.rm", u"audio/x-pn-realaudio"},
      {u"a.cpt", u"image/x-corelphotopaint"},
      {u"list.m3u", u"audio/mpegurl"},
      {u"a.zip", u"application/x-zip-compressed"},
      {u"a.xml", u"text/xml"},
      {u"font.woff2", u"font/woff2"},
      {u"app.mjs", u"text/javascript"},
      {u"module.wasm", u"application/wasm"},
      {u"site.webmanifest", u"application/manifest+json"},
      {u"photo.avif", u"image/avif"},
  };
  for (const auto& c : cases) EXPECT_EQ(table.GetFileMIMEType(c.name), c.type) << Utf16ToUtf8(c.name);
  EXPECT_EQ(MimeExtensionOf(u".htaccess"), u".htaccess");
}

TEST(MimeTable, SystemRegistrationsOverrideAndExtend) {
  auto registrations = std::make_shared<FakeRegistrations>();
  registrations->extensions = {{u".PNG", u"Image/PNG"}, {u".json", u"application/json"}, {u"txtfile", u"x/ignored"},
                               {u".empty", u""}, {u".mp3", u"audio/mpeg"}};
  registrations->contentTypes = {{u"audio/mp3", u".mp3"}, {u"font/woff2", u"woff2"}, {u"x/none", u""}};
  TIdMimeTable table(true, registrations);
  EXPECT_EQ(table.GetFileMIMEType(u"logo.png"), u"image/png");
  EXPECT_EQ(table.GetFileMIMEType(u"data.json"), u"application/json");
  EXPECT_EQ(table.GetFileMIMEType(u"song.mp3"), u"audio/mp3") << "the database pass runs second";
  EXPECT_EQ(table.GetFileMIMEType(u"font.woff2"), u"font/woff2");
  EXPECT_EQ(table.GetFileMIMEType(u"a.empty"), u"application/octet-stream");

  TIdMimeTable withoutSystem(false, registrations);
  withoutSystem.SetLoadTypesFromOS(false);
  withoutSystem.BuildCache();
  EXPECT_EQ(withoutSystem.GetFileMIMEType(u"logo.png"), u"image/x-png");
}

TEST(MimeTable, AddMimeTypeReportsItsThreeFailures) {
  TIdMimeTable table(true, std::make_shared<FakeRegistrations>());
  const size_t before = table.Count();
  struct Case {
    const char16_t *ext, *type;
    const char* message;
  } cases[] = {{u"", u"text/x", "Extension is empty"},
               {u"abc", u"", "Mimetype is empty"},
               {u"htm", u"text/x", "Extension already exits"},
               {u".HTM", u"text/x", "Extension already exits"}};
  for (const auto& c : cases) {
    try {
      table.AddMimeType(c.ext, c.type, true);
      ADD_FAILURE() << c.message;
    } catch (const EMimeTableError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_NO_THROW(table.AddMimeType(c.ext, c.type, false));
  }
  EXPECT_EQ(table.Count(), before);
  table.AddMimeType(u"BLEND", u"Application/X-Blender");
  EXPECT_EQ(table.GetFileMIMEType(u"m.blend"), u"application/x-blender");
}

TEST(MimeTable, LoadAndSaveStrings) {
  TIdMimeTable table(false, std::make_shared<FakeRegistrations>());
  table.LoadFromStrings({u".ABC=Text/One", u".abc=text/two", u"no separator", u"=text/x", u".e=", u"def=x/y"});
  std::vector<ustring> lines;
  table.SaveToStrings(lines, u':');
  EXPECT_EQ(lines, (std::vector<ustring>{u".abc:text/one", u".def:x/y"}));
  EXPECT_EQ(table.GetDefaultFileExt(u"X/Y"), u".def");
  EXPECT_EQ(table.GetDefaultFileExt(u"none/none"), u"");
}

TEST(MimeTable, OnBuildCacheReplacesTheDefaultBuild) {
  int builds = 0;
  TIdMimeTable table(false, std::make_shared<FakeRegistrations>());
  table.SetOnBuildCache([&](TIdMimeTable* t) {
    ++builds;
    t->AddMimeType(u".own", u"x/own", false);
  });
  EXPECT_EQ(table.GetFileMIMEType(u"a.own"), u"x/own");
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(table.GetFileMIMEType(u"a.html"), u"application/octet-stream");
}

TEST(MimeTypeCache, RebuildsOnlyWhenTheRegistrationsChange) {
  auto registrations = std::make_shared<FakeRegistrations>();
  TMimeTypeCache cache(registrations);
  EXPECT_EQ(cache.GetFileMIMEType(u"a.png"), u"image/x-png");
  EXPECT_EQ(cache.GetFileMIMEType(u"b.png"), u"image/x-png");
  EXPECT_EQ(registrations->reads, 1);
  registrations->extensions = {{u".png", u"image/png"}};
  registrations->changed = true;
  EXPECT_EQ(cache.GetFileMIMEType(u"a.png"), u"image/png") << "a change takes effect at the next lookup";
  EXPECT_EQ(registrations->reads, 2);
}

}  // namespace
}  // namespace vantrel
