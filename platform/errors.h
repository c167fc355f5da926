#pragma once
#include <stdexcept>
#include <string>

namespace vantrel {

// Every error inside the program carries a readable message (UTF-8).
class EVantrelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be opened, created, read or written.
class EFileError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

// An orderly end of the process (quiet, or after a message was shown).
// Deliberately not a std::exception, so that catch blocks meant for errors
// never swallow it; the program entry turns it into the exit code.
struct EProcessExit {
  int exitCode;
};

}  // namespace vantrel
