#include "runtime/localized_messages.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace vantrel {
namespace {

TEST(LocalizedMessages, LanguageTablesAreChosenByTheirCode) {
  struct Case {
    const char16_t* language;
    int index;
    const char16_t* expected;
  } cases[] = {
      {u"de", kMsgConfirmTitle, u"Bestätigen"},
      {u"es", kMsgNoPackage, u"Esta no es una aplicación de Windows válida."},
      {u"it", kMsgErrorTitle, u"Errore"},
      {u"fr", kMsgAccept, u"J'accepte"},
      {u"zh", kMsgCancel, u"取消"},
      {u"en", kMsgNoPackage, u"This is not a valid Windows application."},
      {u"pt", kMsgNoPackage, u"This is not a valid Windows application."},
      {u"ja", kMsgAccept, u"Accept"},
      {u"DE", kMsgConfirmTitle, u"Confirm"},  // the comparison keeps letter case
      {u"fr", kMsgLanguageCode, u"fr"},
      {u"pt", kMsgLanguageCode, u"en"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLocalizedMessageFor(c.index, c.language), c.expected)
        << Utf16ToUtf8(c.language) << " " << c.index;
  }
}

TEST(LocalizedMessages, EveryTableIsComplete) {
  for (const auto& table : LanguageMessages) {
    for (const char16_t* text : table) {
      ASSERT_NE(text, nullptr);
      EXPECT_NE(ustring(text), u"");
    }
  }
  EXPECT_EQ(ustring(DefaultMessages[9]),
            u"You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will "
            u"be closed now.");
}

TEST(LocalizedMessages, IndexOutsideTheTableIsAnError) {
  for (int index : {-1, 10, 1000}) {
    try {
      GetLocalizedMessageFor(index, u"en");
      FAIL() << index;
    } catch (const EVantrelError& error) {
      EXPECT_STREQ(error.what(), "MessageIndex is out of range!");
    }
  }
}

}  // namespace
}  // namespace vantrel
