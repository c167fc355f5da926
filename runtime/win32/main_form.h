#pragma once
#include "runtime/startup_values.h"

namespace vantrel {

// Creates the main window and runs the message loop until it closes.
void RunMainForm(TStartupValues& values);

}  // namespace vantrel
