#pragma once
#include <vector>

#include "platform/ustring.h"
#include "runtime/startup_host.h"

namespace vantrel {

// A modal message dialog with the given kind, buttons, captions and title;
// returns the modal result of the button that closed it (Cancel, 2, for
// Escape and the close box).
int LocalizedMessageDlg(const ustring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        const std::vector<ustring>& Captions, const ustring& Title);

// Two-letter ISO 639 name of the user's default locale.
ustring GetUserLanguageCode();

// Message `Index` in the user's language.
ustring GetLocalizedMessage(int32_t Index);

}  // namespace vantrel
