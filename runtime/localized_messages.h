#pragma once
// The start-up messages in six languages, picked by the user's language.
#include <array>
#include <cstdint>
#include <functional>

#include "platform/ustring.h"

namespace vantrel {

constexpr int kMessageCount = 10;
using TMessageTable = std::array<const char16_t*, kMessageCount>;

// Used whenever no table of LanguageMessages matches, English included.
extern const TMessageTable DefaultMessages;
// Spanish, Italian, German, French, Chinese, in this order.
extern const std::array<TMessageTable, 5> LanguageMessages;

// Indexes into the tables.
enum MessageIndex : int32_t {
  kMsgLanguageCode = 0,
  kMsgErrorTitle = 1,
  kMsgConfirmTitle = 2,
  kMsgAccept = 3,
  kMsgCancel = 4,
  kMsgNoPackage = 5,
  kMsgRuntimeMissing = 6,
  kMsgInstallQuestion = 7,
  kMsgInstallDeclined = 8,
  kMsgStillMissing = 9,
};

// Text of entry `Index` for the language `languageCode` (two letters, e.g.
// "de"); throws EVantrelError "MessageIndex is out of range!" for an index
// outside 0..9.
ustring GetLocalizedMessageFor(int32_t Index, ustring_view languageCode);

}  // namespace vantrel
