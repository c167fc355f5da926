#pragma once
#include "platform/ustring.h"

namespace vantrel {

// Quotes one argument by the Windows command-line rules (as CommandLineToArgvW
// and the C runtime read them), so that it reaches the started program as
// exactly one argument whatever quotes or backslashes it holds.
ustring QuoteCommandLineArgument(ustring_view argument);

}  // namespace vantrel
