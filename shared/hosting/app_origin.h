#pragma once
// Which pages are the application's own: only they may use the bridge and
// be granted permissions. Addresses are compared by origin (scheme, host,
// port) as a browser parses them, never by a prefix of their text.
#include <optional>
#include <vector>

#include "platform/ustring.h"

namespace vantrel {

struct TOrigin {
  ustring scheme;  // lower case, without ":"
  ustring host;    // lower case; empty for file addresses without a host
  int port = 0;    // the scheme's default when none is written

  bool operator==(const TOrigin& other) const {
    return scheme == other.scheme && host == other.host && port == other.port;
  }
};

// The origin of an absolute address; empty when it has none we accept
// (no scheme, a malformed authority or port).
std::optional<TOrigin> ParseOrigin(ustring_view url);

// The secure origin the application's pages may live at.
inline constexpr char16_t kSecureAppOrigin[] = u"https://app.localhost";

class TAppOrigins {
 public:
  TAppOrigins() = default;
  // `trustedList`: comma-separated origins (vtl.ini TrustedOrigins); entries
  // that are not an origin are skipped.
  TAppOrigins(bool secureOrigin, const ustring& trustedList);

  // file:/// pages (no host), the secure app origin when it is on, and the
  // trusted origins.
  bool IsAppPage(ustring_view url) const;
  const std::vector<TOrigin>& Trusted() const { return FTrusted; }

 private:
  bool FSecureOrigin = false;
  std::vector<TOrigin> FTrusted;
};

}  // namespace vantrel
