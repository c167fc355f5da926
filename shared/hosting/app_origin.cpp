#include "shared/hosting/app_origin.h"

#include "shared/util/text_file.h"

namespace vantrel {

namespace {
char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool IsSchemeChar(char16_t c, bool first) {
  const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
}

int DefaultPort(const ustring& scheme) {
  if (scheme == u"https" || scheme == u"wss") return 443;
  if (scheme == u"http" || scheme == u"ws") return 80;
  return 0;
}

// Browsers read a backslash as a slash in the addresses of these schemes.
bool IsSpecial(const ustring& scheme) {
  return scheme == u"http" || scheme == u"https" || scheme == u"file" || scheme == u"ws" || scheme == u"wss" ||
         scheme == u"ftp";
}

bool IsSlash(char16_t c, bool special) { return c == u'/' || (special && c == u'\\'); }
}  // namespace

std::optional<TOrigin> ParseOrigin(ustring_view url) {
  url = TrimControls(url);
  size_t colon = 0;
  while (colon < url.size() && IsSchemeChar(url[colon], colon == 0)) ++colon;
  if (colon == 0 || colon >= url.size() || url[colon] != u':') return std::nullopt;
  TOrigin origin;
  for (size_t i = 0; i < colon; ++i) origin.scheme.push_back(Lower(url[i]));
  const bool special = IsSpecial(origin.scheme);
  ustring_view rest = url.substr(colon + 1);
  // The authority follows two slashes (browsers accept any number of them
  // in special addresses, and either kind).
  size_t slashes = 0;
  while (slashes < rest.size() && IsSlash(rest[slashes], special)) ++slashes;
  if (slashes < 2) return origin.scheme == u"file" ? std::optional<TOrigin>(origin) : std::nullopt;
  if (origin.scheme == u"file" && slashes == 3) return origin;  // file:///: no host
  if (origin.scheme == u"file" && slashes > 3) return std::nullopt;  // file:////server: a network share
  rest.remove_prefix(slashes);
  size_t end = 0;
  while (end < rest.size() && !IsSlash(rest[end], special) && rest[end] != u'?' && rest[end] != u'#') ++end;
  ustring_view authority = rest.substr(0, end);
  // User information is no part of the host: "https://app.localhost@evil.example/".
  const size_t at = authority.rfind(u'@');
  if (at != ustring_view::npos) authority.remove_prefix(at + 1);
  ustring_view host = authority;
  ustring_view port;
  const size_t bracket = authority.rfind(u']');
  const size_t portColon = authority.rfind(u':');
  if (portColon != ustring_view::npos && (bracket == ustring_view::npos || portColon > bracket)) {
    host = authority.substr(0, portColon);
    port = authority.substr(portColon + 1);
  }
  for (const char16_t c : host) {
    if (c <= u' ' || c == u'%' || c == u'<' || c == u'>' || c == u'^' || c == u'|') return std::nullopt;
    origin.host.push_back(Lower(c));
  }
  if (!origin.host.empty() && origin.host.back() == u'.') origin.host.pop_back();  // "app.localhost."
  if (origin.host.empty() && origin.scheme != u"file") return std::nullopt;
  origin.port = DefaultPort(origin.scheme);
  if (!port.empty()) {
    int value = 0;
    for (const char16_t c : port) {
      if (c < u'0' || c > u'9') return std::nullopt;
      value = value * 10 + (c - u'0');
      if (value > 65535) return std::nullopt;
    }
    origin.port = value;
  }
  return origin;
}

TAppOrigins::TAppOrigins(bool secureOrigin, const ustring& trustedList) : FSecureOrigin(secureOrigin) {
  size_t start = 0;
  while (start <= trustedList.size()) {
    size_t comma = trustedList.find(u',', start);
    if (comma == ustring::npos) comma = trustedList.size();
    const ustring_view item = TrimControls(ustring_view(trustedList).substr(start, comma - start));
    if (auto origin = ParseOrigin(item); origin && !origin->host.empty()) FTrusted.push_back(*origin);
    start = comma + 1;
  }
}

bool TAppOrigins::IsAppPage(ustring_view url) const {
  const auto origin = ParseOrigin(url);
  if (!origin) return false;
  if (origin->scheme == u"file") return origin->host.empty();
  if (FSecureOrigin && *origin == *ParseOrigin(kSecureAppOrigin)) return true;
  for (const TOrigin& trusted : FTrusted) {
    if (*origin == trusted) return true;
  }
  return false;
}

}  // namespace vantrel
