#pragma once
#include "platform/ustring.h"

namespace vantrel {

// Full path of the WebView2 loader library the browser control binds; set
// once by the start-up loader, before any browser control exists.
extern ustring EdgeLoaderPath;

}  // namespace vantrel
