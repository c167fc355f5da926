#include "platform/win32/program_image_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/errors.h"
#include "platform/win32/dialog_automation.h"
#include "platform/win32/win_text.h"
#include "shared/util/pe_image.h"

namespace vantrel::win32 {

ustring ModuleFileName(HMODULE module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) throw EVantrelError("GetModuleFileNameW failed: " + SystemErrorMessage(GetLastError()));
    if (length < buffer.size()) return FromW(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

ustring RunningProgramImage::ExePath() const { return ModuleFileName(nullptr); }

namespace {
// The headers as the system loader mapped them; they are readable for
// SizeOfHeaders bytes.
struct MappedHeaders {
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetModuleHandleW(nullptr));
  size_t size = PeSizeOfHeaders(base, 4096).value_or(4096);
};
}  // namespace

uint32_t RunningProgramImage::ImageEnd() const {
  const MappedHeaders headers;
  const auto end = PeImageEnd(headers.base, headers.size);
  if (!end) throw EVantrelError("The program's own headers cannot be read");
  return *end;
}

std::optional<uint32_t> RunningProgramImage::CertificateTableOffset() const {
  const MappedHeaders headers;
  const auto table = PeCertificateTable(headers.base, headers.size);
  return table ? std::optional<uint32_t>(table->offset) : std::nullopt;
}

void RunningProgramImage::ShowPlainErrorBox(const ustring& text, const ustring& title) const {
  ShowMessageBox(GetActiveWindow(), text, title, MB_OK | MB_ICONERROR);
}

std::vector<ustring> CommandLineArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<ustring> arguments;
  for (int i = 1; argv && i < count; ++i) arguments.push_back(FromW(argv[i]));
  if (argv) LocalFree(argv);
  return arguments;
}

}  // namespace vantrel::win32
