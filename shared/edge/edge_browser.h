#pragma once
// The browser control: one WebView2 browser hosted in the control's native
// window. Creation runs asynchronously (environment on a worker thread, every
// later step on the UI thread); operations forward to WebView2 and record
// each examined result in LastErrorCode; twenty-one events report what the
// browser does.
//
// This class holds the whole logic. What it needs of the window system (the
// native window, client rectangle, focus navigation, threads, the loader
// library) it asks through the protected hooks, which TEdgeBrowser implements
// with Win32 and the tests with fakes.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/com_ptr.h"
#include "platform/ustring.h"
#include "platform/webview2.h"
#include "shared/edge/edge_event_args.h"
#include "shared/util/memory_stream.h"

namespace vantrel {

// A WebView2 failure: a message and the HRESULT.
class EEdgeError : public std::runtime_error {
 public:
  EEdgeError(const std::string& Message, HRESULT ErrorCode) : std::runtime_error(Message), FErrorCode(ErrorCode) {}
  HRESULT ErrorCode() const { return FErrorCode; }

 private:
  HRESULT FErrorCode;
};

class TCustomEdgeBrowser;

using TWebViewStatusEvent = std::function<void(TCustomEdgeBrowser* Sender, HRESULT AResult)>;
using TExecuteScriptEvent =
    std::function<void(TCustomEdgeBrowser* Sender, HRESULT AResult, const ustring& AResultObjectAsJson)>;
using TDevToolsProtocolEventReceivedEvent = std::function<void(
    TCustomEdgeBrowser* Sender, const ustring& CDPEventName, const ustring& AParameterObjectAsJson)>;
using TDocumentTitleChangedEvent = std::function<void(TCustomEdgeBrowser* Sender, const ustring& ADocumentTitle)>;
using TNavigationStartingEvent = std::function<void(TCustomEdgeBrowser* Sender, TNavigationStartingEventArgs* Args)>;
using TNavigationCompletedEvent = std::function<void(TCustomEdgeBrowser* Sender, bool IsSuccess,
                                                     COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatus)>;
using TSourceChangedEvent = std::function<void(TCustomEdgeBrowser* Sender, bool IsNewDocument)>;
using THistoryChangedEvent = std::function<void(TCustomEdgeBrowser* Sender)>;
using TContentLoadingEvent = std::function<void(TCustomEdgeBrowser* Sender, bool IsErrorPage, uint64_t NavigationID)>;
using TNewWindowRequestedEvent = std::function<void(TCustomEdgeBrowser* Sender, TNewWindowRequestedEventArgs* Args)>;
using TPermissionRequestedEvent =
    std::function<void(TCustomEdgeBrowser* Sender, TPermissionRequestedEventArgs* Args)>;
using TScriptDialogOpeningEvent =
    std::function<void(TCustomEdgeBrowser* Sender, TScriptDialogOpeningEventArgs* Args)>;
using TWebMessageReceivedEvent = std::function<void(TCustomEdgeBrowser* Sender, TWebMessageReceivedEventArgs* Args)>;
using TWebResourceRequestedEvent =
    std::function<void(TCustomEdgeBrowser* Sender, TWebResourceRequestedEventArgs* Args)>;
using TProcessFailedEvent =
    std::function<void(TCustomEdgeBrowser* Sender, COREWEBVIEW2_PROCESS_FAILED_KIND ProcessFailedKind)>;
using TContainsFullScreenElementChangedEvent =
    std::function<void(TCustomEdgeBrowser* Sender, bool ContainsFullScreenElement)>;
using TZoomFactorChangedEvent = std::function<void(TCustomEdgeBrowser* Sender, double AZoomFactor)>;
using TNotifyEvent = std::function<void(void* Sender)>;

// Declares an event: field FOnName, read as OnName(), assigned with SetOnName().
#define VANTREL_EDGE_EVENT(Type, Name)                                \
 public:                                                              \
  const Type& On##Name() const { return FOn##Name; }                  \
  void SetOn##Name(Type handler) { FOn##Name = std::move(handler); }  \
                                                                      \
 private:                                                             \
  Type FOn##Name;

class TCustomEdgeBrowser {
 public:
  enum class TBrowserControlState { None, Creating, Created, Failed };
  enum class TPreviewFormat { PNG, JPEG };

  TCustomEdgeBrowser();
  // Derived classes call Destroy() from their own destructor, while their
  // hooks still work.
  virtual ~TCustomEdgeBrowser();
  TCustomEdgeBrowser(const TCustomEdgeBrowser&) = delete;
  TCustomEdgeBrowser& operator=(const TCustomEdgeBrowser&) = delete;

  // Lifecycle.
  void CreateWebView();
  void CloseWebView();
  void CloseBrowserProcess();
  void ReinitializeWebView();
  void ReinitializeWebViewWithNewBrowser();

  // Navigation and scripts.
  void Navigate(const ustring& AUrl);
  void NavigateToString(const ustring& AHTMLContent);
  void GoBack();
  void GoForward();
  void Refresh();
  void Stop();
  void ExecuteScript(const ustring& JavaScript);
  void CapturePreview(const ustring& AFilename, TPreviewFormat PreviewFormat = TPreviewFormat::PNG);
  // Writes the image into `Stream` from position 0 (the stream is not shortened).
  void CapturePreview(TMemoryStream& Stream, TPreviewFormat PreviewFormat = TPreviewFormat::PNG);
  void AddWebResourceRequestedFilter(const ustring& URL, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext);
  void RemoveWebResourceRequestedFilter(const ustring& URL, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext);
  // The filter for requests of every frame and worker as well, where the
  // browser offers it (ICoreWebView2_22); false, with nothing added, where
  // it does not.
  bool AddWebResourceRequestedFilterForAllSources(const ustring& URL, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext);
  void SubscribeToCDPEvent(const ustring& CDPEventName);

  // State.
  TBrowserControlState BrowserControlState() const { return FBrowserControlState; }
  HRESULT LastErrorCode() const { return FLastErrorCode; }
  const ustring& LastURL() const { return FLastURL; }
  void SetLastURL(const ustring& url) { FLastURL = url; }
  double SizeRatio() const { return FSizeRatio; }
  void SetSizeRatio(double ratio);
  bool WebViewCreated() const;
  ICoreWebView2* DefaultInterface() const { return FWebView.Get(); }
  ICoreWebView2Controller* ControllerInterface() const { return FWebViewController.Get(); }
  ICoreWebView2Environment* EnvironmentInterface() const { return FWebViewEnvironment.Get(); }
  ICoreWebView2Settings* SettingsInterface() const { return FWebViewSettings.Get(); }

  // Page and browser information.
  ustring BrowserVersionInfo();
  uint32_t BrowserProcessID();
  bool CanGoBack();
  bool CanGoForward();
  bool ContainsFullScreenElement();
  ustring DocumentTitle();
  ustring LocationURL();
  double ZoomFactor();
  void SetZoomFactor(double value);

  // Settings: raise EEdgeError "WebView2 not instantiated" (E_FAIL) without a
  // settings object.
  bool BuiltInErrorPageEnabled();
  void SetBuiltInErrorPageEnabled(bool value);
  bool DefaultContextMenusEnabled();
  void SetDefaultContextMenusEnabled(bool value);
  bool DefaultScriptDialogsEnabled();
  void SetDefaultScriptDialogsEnabled(bool value);
  bool DevToolsEnabled();
  void SetDevToolsEnabled(bool value);
  bool ScriptEnabled();
  void SetScriptEnabled(bool value);
  bool StatusBarEnabled();
  void SetStatusBarEnabled(bool value);
  bool WebMessageEnabled();
  void SetWebMessageEnabled(bool value);
  bool ZoomControlEnabled();
  void SetZoomControlEnabled(bool value);

  // What the window system reports to the control.
  void ParentChanged(bool hasParent);  // a parent was given (or taken away)
  void WindowRecreated();              // the native window was made anew
  void Resize();
  void VisibleChanged(bool visible);
  void SysCommand(uintptr_t command);
  void SetFocus();
  void DoEnter();
  void DoExit();

  // Framework notifications the host may assign.
  std::function<void(TCustomEdgeBrowser*)> OnEnter;
  std::function<void(TCustomEdgeBrowser*)> OnExit;

  VANTREL_EDGE_EVENT(TWebViewStatusEvent, CapturePreviewCompleted)
  VANTREL_EDGE_EVENT(TContainsFullScreenElementChangedEvent, ContainsFullScreenElementChanged)
  VANTREL_EDGE_EVENT(TContentLoadingEvent, ContentLoading)
  VANTREL_EDGE_EVENT(TWebViewStatusEvent, CreateWebViewCompleted)
  VANTREL_EDGE_EVENT(TDevToolsProtocolEventReceivedEvent, DevToolsProtocolEventReceived)
  VANTREL_EDGE_EVENT(TDocumentTitleChangedEvent, DocumentTitleChanged)
  VANTREL_EDGE_EVENT(TExecuteScriptEvent, ExecuteScript)
  VANTREL_EDGE_EVENT(TNavigationStartingEvent, FrameNavigationStarting)
  VANTREL_EDGE_EVENT(TNavigationCompletedEvent, FrameNavigationCompleted)
  VANTREL_EDGE_EVENT(THistoryChangedEvent, HistoryChanged)
  VANTREL_EDGE_EVENT(TNavigationStartingEvent, NavigationStarting)
  VANTREL_EDGE_EVENT(TNavigationCompletedEvent, NavigationCompleted)
  VANTREL_EDGE_EVENT(TNewWindowRequestedEvent, NewWindowRequested)
  VANTREL_EDGE_EVENT(TPermissionRequestedEvent, PermissionRequested)
  VANTREL_EDGE_EVENT(TProcessFailedEvent, ProcessFailed)
  VANTREL_EDGE_EVENT(TScriptDialogOpeningEvent, ScriptDialogOpening)
  VANTREL_EDGE_EVENT(TSourceChangedEvent, SourceChanged)
  VANTREL_EDGE_EVENT(TWebMessageReceivedEvent, WebMessageReceived)
  VANTREL_EDGE_EVENT(TWebResourceRequestedEvent, WebResourceRequested)
  VANTREL_EDGE_EVENT(TNotifyEvent, WindowCloseRequested)
  VANTREL_EDGE_EVENT(TZoomFactorChangedEvent, ZoomFactorChanged)

 protected:
  // Removes every registration and closes the browser; call from the
  // destructor of the most derived class.
  void Destroy();

  // --- Hooks of the window system ---
  // The control's native window, made if it has none yet.
  virtual HWND NativeHandle() = 0;
  virtual RECT ClientRect() = 0;
  virtual bool IsDesigning() const { return false; }
  // Tab-order navigation from this control, tab stops only.
  virtual void SelectNext(bool forward) = 0;
  // The outermost form's shortcut check; false when there is no form.
  virtual bool IsShortCut(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Runs `work` on a new worker thread that then ends.
  virtual void RunOnWorkerThread(std::function<void()> work) = 0;
  // Runs `work` at once on the UI thread, else queues it there (in order).
  virtual void QueueToUiThread(std::function<void()> work) = 0;
  // The loader library's entry points (through its binding).
  virtual HRESULT LoaderCreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) = 0;
  virtual HRESULT LoaderGetBrowserVersionString(LPWSTR* versionInfo) = 0;
  // A stream on a new (or emptied) file, readable and writable.
  virtual HRESULT OpenFileStream(const ustring& path, IStream** stream) = 0;
  // Waits up to 2 s for the process to end, then terminates it.
  virtual void EndBrowserProcess(uint32_t processId) = 0;
  // The application's reporting of an error nobody caught (a failed creation
  // without an OnCreateWebViewCompleted handler).
  virtual void HandleException(const EEdgeError& error) = 0;

 private:
  bool CheckResult(HRESULT hr);
  void InitializeWebView();
  HRESULT CreateEnvironmentCompleted(HRESULT result, ICoreWebView2Environment* environment);
  void CreateController();
  HRESULT CreateCoreWebView2ControllerCompleted(HRESULT result, ICoreWebView2Controller* controller);
  void ReportCreationFailure(HRESULT result);
  void RegisterEvents();
  void CapturePreviewTo(IStream* stream, TPreviewFormat format);
  bool ReadSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*get)(BOOL*));
  void WriteSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*put)(BOOL), bool value);

  void ServeMoveFocusRequested(ICoreWebView2MoveFocusRequestedEventArgs* args);
  void ServeAcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventArgs* args);
  void ServeGotFocus();

  TBrowserControlState FBrowserControlState = TBrowserControlState::None;
  ComPtr<ICoreWebView2Environment> FWebViewEnvironment;
  ComPtr<ICoreWebView2Controller> FWebViewController;
  ComPtr<ICoreWebView2> FWebView;
  ComPtr<ICoreWebView2Settings> FWebViewSettings;
  double FSizeRatio = 0;
  HRESULT FLastErrorCode = S_OK;
  bool FWebViewFocusEventActive = false;
  ustring FLastURL;
  std::mutex FCritSec;

  EventRegistrationToken FAcceleratorKeyPressedToken{}, FContainsFullScreenElementChangedToken{},
      FContentLoadingToken{}, FDocumentTitleChangedToken{}, FFrameNavigationStartingToken{},
      FFrameNavigationCompletedToken{}, FGotFocusToken{}, FHistoryChangedToken{}, FLostFocusToken{},
      FMoveFocusRequestedToken{}, FNavigationStartingToken{}, FNavigationCompletedToken{},
      FNewWindowRequestedToken{}, FPermissionRequestedToken{}, FProcessFailedToken{}, FScriptDialogOpeningToken{},
      FSourceChangedToken{}, FWebResourceRequestedToken{}, FWebMessageReceivedToken{},
      FWindowCloseRequestedToken{}, FZoomFactorChangedToken{};
  std::map<ustring, EventRegistrationToken> FDevToolsProtocolEventReceivedTokenMap;
};

#undef VANTREL_EDGE_EVENT

}  // namespace vantrel
