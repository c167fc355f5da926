// The rule of which pages are the application's own, by origin.
#include "shared/hosting/app_origin.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(AppOrigin, OwnPagesAreFoundByOriginNotByPrefix) {
  const TAppOrigins plain;
  const TAppOrigins secure(true, u"");
  const TAppOrigins trusted(false, u" https://portal.example.com , http://127.0.0.1:8080,not an origin,https://x.test/path");
  const struct {
    const char16_t* url;
    bool plain, secure, trusted;
  } cases[] = {
      {u"file:///index.html", true, true, true},
      {u"FILE:///C:/app/index.html", true, true, true},
      {u"file:///", true, true, true},
      {u"file://evil/share/index.html", false, false, false},
      {u"file://evil.example.com/index.html", false, false, false},
      {u"file:////server/share/page.html", false, false, false},
      {u"file:\\\\\\\\server\\\\share\\\\page.html", false, false, false},
      {u"https://app.localhost/index.html", false, true, false},
      {u"https://APP.LOCALHOST/a?b#c", false, true, false},
      {u"https://app.localhost:443/x", false, true, false},
      {u"https://app.localhost./x", false, true, false},
      {u"https://app.localhost:8443/x", false, false, false},
      {u"http://app.localhost/x", false, false, false},
      {u"https://app.localhost.evil.com/x", false, false, false},
      {u"https://evil.com/app.localhost/", false, false, false},
      {u"https://app.localhost@evil.com/", false, false, false},
      {u"https://evil.com\\\\@app.localhost/", false, false, false},
      {u"https://evil.com#@app.localhost/", false, false, false},
      {u"https://portal.example.com/app/", false, false, true},
      {u"https://portal.example.com:443/", false, false, true},
      {u"http://portal.example.com/", false, false, false},
      {u"https://portal.example.com.evil.net/", false, false, false},
      {u"http://127.0.0.1:8080/page", false, false, true},
      {u"http://127.0.0.1/page", false, false, false},
      {u"https://x.test/other", false, false, true},
      {u"about:blank", false, false, false},
      {u"data:text/html,<script>", false, false, false},
      {u"", false, false, false},
      {u"index.html", false, false, false},
      {u"javascript:alert(1)", false, false, false},
  };
  for (const auto& c : cases) {
    const std::string url = Utf16ToUtf8(c.url);
    EXPECT_EQ(plain.IsAppPage(c.url), c.plain) << url;
    EXPECT_EQ(secure.IsAppPage(c.url), c.secure) << url;
    EXPECT_EQ(trusted.IsAppPage(c.url), c.trusted) << url;
  }
  EXPECT_EQ(trusted.Trusted().size(), 3u);
}

TEST(AppOrigin, ParsesPortsAndRefusesBrokenAuthorities) {
  EXPECT_EQ(ParseOrigin(u"https://a.b:8443/x")->port, 8443);
  EXPECT_EQ(ParseOrigin(u"http://a.b/x")->port, 80);
  EXPECT_EQ(ParseOrigin(u"https:///x")->host, u"x");  // browsers skip the extra slash
  EXPECT_EQ(ParseOrigin(u"http://[::1]:9000/")->host, u"[::1]");
  EXPECT_EQ(ParseOrigin(u"http://[::1]:9000/")->port, 9000);
  for (const char16_t* bad : {u"https://a.b:99999/", u"https://a.b:8x/", u"https://", u"://x",
                              u"https://a b/", u"https://a%2eb/"}) {
    EXPECT_FALSE(ParseOrigin(bad)) << Utf16ToUtf8(bad);
  }
}

}  // namespace
}  // namespace vantrel
