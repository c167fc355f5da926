#pragma once
// A tiny checker for the Windows test programs: prints one line per check
// and a closing "N passed, N failed" line.
#include <cstdio>
#include <exception>
#include <string>

namespace wintest {

struct Checker {
  const char* suite;
  int passed = 0, failed = 0;

  void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    (ok ? passed : failed)++;
  }
  template <typename F>
  void Throws(F&& f, const std::string& message, const std::string& what) {
    try {
      f();
      Check(false, what + " (nothing thrown)");
    } catch (const std::exception& e) {
      Check(message == e.what(), what + " [" + e.what() + "]");
    }
  }
  int Finish() {
    std::printf("%s: %d passed, %d failed\n", suite, passed, failed);
    std::fflush(stdout);
    return failed ? 1 : 0;
  }
};

}  // namespace wintest
