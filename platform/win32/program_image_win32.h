#pragma once
#include <windows.h>

#include <vector>

#include "platform/program_image.h"

namespace vantrel::win32 {

// The running process's own executable module.
class RunningProgramImage : public IProgramImage {
 public:
  ustring ExePath() const override;
  uint32_t ImageEnd() const override;
  std::optional<uint32_t> CertificateTableOffset() const override;
  void ShowPlainErrorBox(const ustring& text, const ustring& title) const override;
};

// Full path of the running program (no length limit).
ustring ModuleFileName(HMODULE module = nullptr);

// The process's command-line arguments after the program's own name.
std::vector<ustring> CommandLineArguments();

}  // namespace vantrel::win32
