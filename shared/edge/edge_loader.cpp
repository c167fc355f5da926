#include "shared/edge/edge_loader.h"

#include <float.h>
#include <xmmintrin.h>

#include <mutex>

#include "platform/win32/win_text.h"
#include "shared/edge/edge_loader_path.h"

namespace vantrel {

namespace {

struct LoaderBinding {
  std::mutex lock;  // the environment is asked for on worker threads
  HMODULE EdgeLoaderHandle = nullptr;
  TCreateCoreWebView2EnvironmentWithOptions createWithOptions = nullptr;
  TCreateCoreWebView2Environment create = nullptr;
  TGetCoreWebView2BrowserVersionString getVersion = nullptr;
  TCompareBrowserVersions compare = nullptr;
};

LoaderBinding& Binding() {
  static LoaderBinding binding;
  return binding;
}

template <typename T>
T Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Binds and returns the entry point chosen by `pick`, or null.
template <typename T>
T EntryPoint(T LoaderBinding::*pick) {
  if (FAILED(BindEdgeLoader())) return nullptr;
  LoaderBinding& binding = Binding();
  std::lock_guard<std::mutex> guard(binding.lock);
  return binding.*pick;
}

}  // namespace

HRESULT BindEdgeLoader() {
  LoaderBinding& binding = Binding();
  std::lock_guard<std::mutex> guard(binding.lock);
  if (binding.EdgeLoaderHandle) return S_OK;
  HMODULE library = LoadLibraryW(win32::W(EdgeLoaderPath));
  if (!library) return E_FAIL;
  binding.EdgeLoaderHandle = library;
  binding.createWithOptions =
      Lookup<TCreateCoreWebView2EnvironmentWithOptions>(library, "CreateCoreWebView2EnvironmentWithOptions");
  binding.create = Lookup<TCreateCoreWebView2Environment>(library, "CreateCoreWebView2Environment");
  binding.getVersion = Lookup<TGetCoreWebView2BrowserVersionString>(library, "GetCoreWebView2BrowserVersionString");
  binding.compare = Lookup<TCompareBrowserVersions>(library, "CompareBrowserVersions");
  return S_OK;
}

HRESULT EdgeCreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  const auto entry = EntryPoint(&LoaderBinding::create);
  return entry ? entry(handler) : E_FAIL;
}

HRESULT EdgeCreateCoreWebView2EnvironmentWithOptions(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                                                     ICoreWebView2EnvironmentOptions* options,
                                                     ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  const auto entry = EntryPoint(&LoaderBinding::createWithOptions);
  return entry ? entry(browserExecutableFolder, userDataFolder, options, handler) : E_FAIL;
}

HRESULT EdgeGetCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder, LPWSTR* versionInfo) {
  const auto entry = EntryPoint(&LoaderBinding::getVersion);
  return entry ? entry(browserExecutableFolder, versionInfo) : E_FAIL;
}

HRESULT EdgeCompareBrowserVersions(PCWSTR version1, PCWSTR version2, int* result) {
  const auto entry = EntryPoint(&LoaderBinding::compare);
  return entry ? entry(version1, version2, result) : E_FAIL;
}

void UnbindEdgeLoader() {
  LoaderBinding& binding = Binding();
  std::lock_guard<std::mutex> guard(binding.lock);
  if (binding.EdgeLoaderHandle) FreeLibrary(binding.EdgeLoaderHandle);
  binding.EdgeLoaderHandle = nullptr;
  binding.createWithOptions = nullptr;
  binding.create = nullptr;
  binding.getVersion = nullptr;
  binding.compare = nullptr;
  EdgeLoaderPath.clear();
}

void MaskFloatingPointExceptions() {
  _mm_setcsr(_mm_getcsr() | 0x1F80);  // SSE: all six exception masks
  _controlfp(_MCW_EM, _MCW_EM);       // x87 as well
}

}  // namespace vantrel
