#include "runtime/startup_values.h"

namespace vantrel {

TStartupValues& Startup() {
  static TStartupValues values;
  return values;
}

}  // namespace vantrel
