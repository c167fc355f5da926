#pragma once
#include "runtime/startup_host.h"
#include "runtime/startup_values.h"

namespace vantrel {

// Writes the loader library if it is missing, sets the browser's environment
// and makes sure a WebView2 runtime is installed. Returns only when the
// runtime was found at once; every other outcome ends the process (after a
// restart, or a message).
void ProvisionEdgeRuntime(IStartupHost& host, TStartupValues& values);

}  // namespace vantrel
