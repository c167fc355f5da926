// VantrelRuntime: runs the web application packaged at the end of its own file.
#include <windows.h>

#include "platform/win32/program_image_win32.h"
#include "runtime/exe_zip_loader.h"
#include "runtime/startup_values.h"
#include "runtime/win32/startup_host_win32.h"
#include "shared/edge/edge_loader.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vantrel::MaskFloatingPointExceptions();
  vantrel::TWin32StartupHost host;
  vantrel::win32::RunningProgramImage program;
  const int exitCode = vantrel::RunProgram(host, program, vantrel::Startup());
  vantrel::UnbindEdgeLoader();
  return exitCode;
}
