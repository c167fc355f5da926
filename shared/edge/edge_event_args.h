#pragma once
// Argument objects of the browser events that hand WebView2's own arguments
// to a host. Each lives only for its handler call; a host that needs the
// arguments later keeps its own reference on ArgsInterface.
#include "platform/com_ptr.h"
#include "platform/webview2.h"

namespace vantrel {

template <typename Interface>
class TEdgeEventArgs {
 public:
  explicit TEdgeEventArgs(Interface* Args) : FArgsInterface(ComPtr<Interface>::Share(Args)) {}
  Interface* ArgsInterface() const { return FArgsInterface.Get(); }

 private:
  ComPtr<Interface> FArgsInterface;
};

using TNavigationStartingEventArgs = TEdgeEventArgs<ICoreWebView2NavigationStartingEventArgs>;
using TNewWindowRequestedEventArgs = TEdgeEventArgs<ICoreWebView2NewWindowRequestedEventArgs>;
using TPermissionRequestedEventArgs = TEdgeEventArgs<ICoreWebView2PermissionRequestedEventArgs>;
using TScriptDialogOpeningEventArgs = TEdgeEventArgs<ICoreWebView2ScriptDialogOpeningEventArgs>;
using TWebMessageReceivedEventArgs = TEdgeEventArgs<ICoreWebView2WebMessageReceivedEventArgs>;
using TWebResourceRequestedEventArgs = TEdgeEventArgs<ICoreWebView2WebResourceRequestedEventArgs>;

}  // namespace vantrel
