// The loader binding against the fake loader library: a missing library
// gives E_FAIL and is tried again later; a bound library answers.
// Usage: edge_loader_test.exe <path of WebView2LoaderWin64.dll>
#include <windows.h>

#include <xmmintrin.h>

#include <cstdio>

#include "platform/win32/win_text.h"
#include "shared/edge/edge_loader.h"
#include "shared/edge/edge_loader_path.h"

using namespace vantrel;

int wmain(int argc, wchar_t** argv) {
  int passed = 0, failed = 0;
  auto check = [&](bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    (ok ? passed : failed)++;
  };
  if (argc < 2) return 2;

  EdgeLoaderPath = u"C:\\does\\not\\exist\\WebView2LoaderWin64.dll";
  check(BindEdgeLoader() == E_FAIL, "a library that cannot be loaded gives E_FAIL");
  LPWSTR version = nullptr;
  check(EdgeGetCoreWebView2BrowserVersionString(nullptr, &version) == E_FAIL && !version,
        "calls through a failed binding give E_FAIL");
  check(EdgeCreateCoreWebView2Environment(nullptr) == E_FAIL, "environment creation through a failed binding");

  EdgeLoaderPath = win32::FromW(argv[1]);
  check(BindEdgeLoader() == S_OK, "the binding is tried again and succeeds");
  check(SUCCEEDED(EdgeGetCoreWebView2BrowserVersionString(nullptr, &version)) && version && version[0],
        "the bound library answers");
  if (version) CoTaskMemFree(version);
  int order = 1;
  check(EdgeCompareBrowserVersions(L"1.0", L"1.0", &order) == S_OK && order == 0, "every entry point is bound");

  UnbindEdgeLoader();
  check(EdgeLoaderPath.empty(), "unbinding clears the path");
  check(BindEdgeLoader() == E_FAIL, "after unbinding nothing is bound");

  MaskFloatingPointExceptions();
  check((_mm_getcsr() & 0x1F80) == 0x1F80, "floating-point exceptions are masked");
  std::printf("edge loader: %d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
