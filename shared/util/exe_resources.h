#pragma once
// Resource edits of a Windows program file on disk: its main icon and the
// texts of its version information.
#include <array>

#include "platform/errors.h"
#include "platform/ustring.h"

namespace vantrel {

class EResourceError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

// The eleven version texts, in the order of the program's string table.
struct TExeVersionTexts {
  ustring CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, LegalTrademarks,
      OriginalFileName, ProgramID, ProductName, ProductVersion, Comments;
};

// The eleven texts by their value names, in the string table's order.
struct TVersionTextField {
  const char16_t* Key;
  ustring TExeVersionTexts::*Text;
};
inline const std::array<TVersionTextField, 11>& VersionTextFields() {
  static const std::array<TVersionTextField, 11> fields = {{
      {u"CompanyName", &TExeVersionTexts::CompanyName},
      {u"FileDescription", &TExeVersionTexts::FileDescription},
      {u"FileVersion", &TExeVersionTexts::FileVersion},
      {u"InternalName", &TExeVersionTexts::InternalName},
      {u"LegalCopyright", &TExeVersionTexts::LegalCopyright},
      {u"LegalTrademarks", &TExeVersionTexts::LegalTrademarks},
      {u"OriginalFileName", &TExeVersionTexts::OriginalFileName},
      {u"ProgramID", &TExeVersionTexts::ProgramID},
      {u"ProductName", &TExeVersionTexts::ProductName},
      {u"ProductVersion", &TExeVersionTexts::ProductVersion},
      {u"Comments", &TExeVersionTexts::Comments},
  }};
  return fields;
}

#ifdef _WIN32
class TExeResources {
 public:
  TExeResources() = delete;
  // Replaces the icon group MAINICON and its images by the images of the
  // icon file. Raises EResourceError (or EIconError, EFileError); the
  // program file is unchanged after any failure.
  static void ChangeExeIcon(const ustring& ExePath, const ustring& IcoPath);
  // Writes the texts into the existing value slots of every translation and
  // stores the block as version resource 1, language neutral. True when that
  // was committed; false (nothing written) when the file has no version
  // information, a text does not fit its slot, or the update fails.
  static bool UpdateExeInfo(const ustring& ExePath, const TExeVersionTexts& texts);
};
#endif

}  // namespace vantrel
