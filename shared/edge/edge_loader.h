#pragma once
// Binding of the WebView2 loader library at EdgeLoaderPath: loaded on first
// use, its four entry points looked up by name. Shared by all browser controls.
#include "platform/webview2.h"

namespace vantrel {

// Loads the library once; S_OK when bound, E_FAIL when it cannot be loaded
// (nothing is remembered then, so the next call tries again).
HRESULT BindEdgeLoader();

// The entry points, through the binding: E_FAIL without calling anything
// when the library cannot be bound or lacks the entry point.
HRESULT EdgeCreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
HRESULT EdgeCreateCoreWebView2EnvironmentWithOptions(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                                                     ICoreWebView2EnvironmentOptions* options,
                                                     ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
HRESULT EdgeGetCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);
HRESULT EdgeCompareBrowserVersions(PCWSTR version1, PCWSTR version2, int* result);

// At program end: frees the library and clears the binding and EdgeLoaderPath.
void UnbindEdgeLoader();

// Masks every floating-point exception of the calling thread, as the
// browser's code expects; called at program start before any control exists.
void MaskFloatingPointExceptions();

}  // namespace vantrel
