// VantrelRuntime: runs the web application packaged at the end of its own file.
#include <windows.h>

#include "platform/win32/program_image_win32.h"
#include "runtime/exe_zip_loader.h"
#include "runtime/startup_values.h"
#include "runtime/win32/startup_host_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vantrel::TWin32StartupHost host;
  vantrel::win32::RunningProgramImage program;
  return vantrel::RunProgram(host, program, vantrel::Startup());
}
