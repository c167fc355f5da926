#pragma once
// Declarations of the WebView2 COM interfaces the program uses: interface
// identifiers, vtable order and parameter types as the WebView2 SDK 1.0.1343.22
// lays them out. Every interface derives directly from IUnknown; methods use
// STDMETHODCALLTYPE and return HRESULT. Strings handed out are freed with
// CoTaskMemFree. Builds for Windows and, over platform/win_types.h, on Linux.
#include <cstdint>

#include "platform/win_types.h"

// clang-format off

typedef enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT {
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT = 1,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET = 2,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE = 3,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA = 4,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT = 5,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT = 6,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST = 7,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH = 8,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK = 9,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE = 10,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET = 11,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST = 12,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE = 13,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING = 14,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT = 15,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER = 16,
} COREWEBVIEW2_WEB_RESOURCE_CONTEXT;

typedef enum COREWEBVIEW2_PERMISSION_STATE {
  COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
  COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
  COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
} COREWEBVIEW2_PERMISSION_STATE;

typedef enum COREWEBVIEW2_PERMISSION_KIND {
  COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
  COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
  COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
  COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
  COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
  COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
  COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
} COREWEBVIEW2_PERMISSION_KIND;

typedef enum COREWEBVIEW2_MOVE_FOCUS_REASON {
  COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
  COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT = 1,
  COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS = 2,
} COREWEBVIEW2_MOVE_FOCUS_REASON;

typedef enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT {
  COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG = 0,
  COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG = 1,
} COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT;

typedef enum COREWEBVIEW2_PROCESS_FAILED_KIND {
  COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
  COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
  COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
  COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
} COREWEBVIEW2_PROCESS_FAILED_KIND;

typedef enum COREWEBVIEW2_WEB_ERROR_STATUS {
  COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT = 1,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED = 2,
  COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS = 3,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED = 4,
  COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID = 5,
  COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE = 6,
  COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT = 7,
  COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE = 8,
  COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED = 9,
  COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET = 10,
  COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED = 11,
  COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12,
  COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED = 13,
  COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED = 14,
  COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED = 15,
  COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR = 16,
  COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED = 17,
  COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED = 18,
} COREWEBVIEW2_WEB_ERROR_STATUS;

typedef enum COREWEBVIEW2_KEY_EVENT_KIND {
  COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
  COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP = 1,
  COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN = 2,
  COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP = 3,
} COREWEBVIEW2_KEY_EVENT_KIND;

typedef enum COREWEBVIEW2_SCRIPT_DIALOG_KIND {
  COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT = 0,
  COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM = 1,
  COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT = 2,
  COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD = 3,
} COREWEBVIEW2_SCRIPT_DIALOG_KIND;

typedef struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
  UINT32 RepeatCount;
  UINT32 ScanCode;
  BOOL IsExtendedKey;
  BOOL IsMenuKeyDown;
  BOOL WasKeyDown;
  BOOL IsKeyReleased;
} COREWEBVIEW2_PHYSICAL_KEY_STATUS;

struct ICoreWebView2Environment;
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2Settings;
struct ICoreWebView2WebResourceRequestedEventArgs;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2HttpResponseHeaders;
struct ICoreWebView2HttpHeadersCollectionIterator;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2ScriptDialogOpeningEventArgs;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2MoveFocusRequestedEventArgs;
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2DevToolsProtocolEventReceivedEventArgs;
struct ICoreWebView2Deferral;
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;
struct ICoreWebView2ZoomFactorChangedEventHandler;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2DevToolsProtocolEventReceivedEventHandler;
struct ICoreWebView2WindowFeatures;

// Not described further: only passed through.
struct ICoreWebView2WindowFeatures : public IUnknown {};

VANTREL_WEBVIEW2_IID(ICoreWebView2Environment, {0xB96D755E, 0x0319, 0x4E92, {0xA2, 0x96, 0x23, 0x43, 0x6F, 0x46, 0xA1, 0xFC}});
struct ICoreWebView2Environment : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers, ICoreWebView2WebResourceResponse** response) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;  // slot 7
};

VANTREL_WEBVIEW2_IID(ICoreWebView2Controller, {0x4D00C0D1, 0x9434, 0x4EB6, {0x80, 0x78, 0x86, 0x97, 0xA5, 0x60, 0x33, 0x4F}});
struct ICoreWebView2Controller : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) = 0;  // slot 10
  virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) = 0;  // slot 11
  virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) = 0;  // slot 12
  virtual HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 13
  virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) = 0;  // slot 14
  virtual HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 15
  virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) = 0;  // slot 16
  virtual HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 17
  virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) = 0;  // slot 18
  virtual HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 19
  virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) = 0;  // slot 20
  virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) = 0;  // slot 21
  virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) = 0;  // slot 22
  virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() = 0;  // slot 23
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;  // slot 24
  virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) = 0;  // slot 25
};

VANTREL_WEBVIEW2_IID(ICoreWebView2, {0x76ECEACB, 0x0462, 0x4D94, {0xAC, 0x83, 0x42, 0x3A, 0x67, 0x93, 0x77, 0x5E}});
struct ICoreWebView2 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;  // slot 10
  virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 11
  virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;  // slot 12
  virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 13
  virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;  // slot 14
  virtual HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 15
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) = 0;  // slot 16
  virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 17
  virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) = 0;  // slot 18
  virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 19
  virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) = 0;  // slot 20
  virtual HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 21
  virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) = 0;  // slot 22
  virtual HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 23
  virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) = 0;  // slot 24
  virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 25
  virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;  // slot 26
  virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) = 0;  // slot 27
  virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;  // slot 28
  virtual HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) = 0;  // slot 29
  virtual HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream, ICoreWebView2CapturePreviewCompletedHandler* handler) = 0;  // slot 30
  virtual HRESULT STDMETHODCALLTYPE Reload() = 0;  // slot 31
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) = 0;  // slot 32
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) = 0;  // slot 33
  virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) = 0;  // slot 34
  virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) = 0;  // slot 35
  virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;  // slot 36
  virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) = 0;  // slot 37
  virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) = 0;  // slot 38
  virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) = 0;  // slot 39
  virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;  // slot 40
  virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;  // slot 41
  virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) = 0;  // slot 42
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;  // slot 43
  virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 44
  virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) = 0;  // slot 45
  virtual HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 46
  virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) = 0;  // slot 47
  virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) = 0;  // slot 48
  virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) = 0;  // slot 49
  virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;  // slot 50
  virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;  // slot 51
  virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(ICoreWebView2ContainsFullScreenElementChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 52
  virtual HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) = 0;  // slot 53
  virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) = 0;  // slot 54
  virtual HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 55
  virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) = 0;  // slot 56
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;  // slot 57
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;  // slot 58
  virtual HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;  // slot 59
  virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) = 0;  // slot 60
};

// The newer interfaces ICoreWebView2_2 to _21 add their methods after
// ICoreWebView2's own, at slots 61 to 122; none of them is used here, so they
// are declared as reserved slots. ICoreWebView2_22 adds the filters that
// reach every frame and worker (slots 123 and 124).
typedef enum COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS : uint32_t {
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE = 0,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT = 0x1,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER = 0x2,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER = 0x4,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL = 0xFFFFFFFF,
} COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS;

// Slots 61 to 122, for the declaration here and for the test double.
#define VANTREL_FOR_EACH_RESERVED_SLOT(X) \
  X(61) X(62) X(63) X(64) X(65) X(66) X(67) X(68) X(69) X(70) X(71) X(72) \
  X(73) X(74) X(75) X(76) X(77) X(78) X(79) X(80) X(81) X(82) X(83) X(84) \
  X(85) X(86) X(87) X(88) X(89) X(90) X(91) X(92) X(93) X(94) X(95) X(96) \
  X(97) X(98) X(99) X(100) X(101) X(102) X(103) X(104) X(105) X(106) X(107) X(108) \
  X(109) X(110) X(111) X(112) X(113) X(114) X(115) X(116) X(117) X(118) X(119) X(120) \
  X(121) X(122)
#define VANTREL_RESERVED_SLOT(n) virtual HRESULT STDMETHODCALLTYPE ReservedSlot##n() = 0;

struct ICoreWebView2_22;
VANTREL_WEBVIEW2_IID(ICoreWebView2_22, {0xDB75DFC7, 0xA857, 0x4632, {0xA3, 0x98, 0x69, 0x69, 0xDD, 0xE2, 0x6C, 0x0A}});
struct ICoreWebView2_22 : public ICoreWebView2 {
  VANTREL_FOR_EACH_RESERVED_SLOT(VANTREL_RESERVED_SLOT)
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;  // slot 123
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;  // slot 124
};
#undef VANTREL_RESERVED_SLOT

VANTREL_WEBVIEW2_IID(ICoreWebView2Settings, {0xE562E4F0, 0xD7FA, 0x43AC, {0x8D, 0x71, 0xC0, 0x51, 0x50, 0x49, 0x9F, 0x00}});
struct ICoreWebView2Settings : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* isScriptEnabled) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* isWebMessageEnabled) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* areDefaultScriptDialogsEnabled) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL areDefaultScriptDialogsEnabled) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* isStatusBarEnabled) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) = 0;  // slot 10
  virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* areDevToolsEnabled) = 0;  // slot 11
  virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) = 0;  // slot 12
  virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* enabled) = 0;  // slot 13
  virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;  // slot 14
  virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* allowed) = 0;  // slot 15
  virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) = 0;  // slot 16
  virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* enabled) = 0;  // slot 17
  virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) = 0;  // slot 18
  virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* enabled) = 0;  // slot 19
  virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) = 0;  // slot 20
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebResourceRequestedEventArgs, {0x453E667F, 0x12C7, 0x49D4, {0xBE, 0x6D, 0xDD, 0xBE, 0x79, 0x56, 0xF5, 0x7A}});
struct ICoreWebView2WebResourceRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) = 0;  // slot 7
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebResourceRequest, {0x97055CD4, 0x512C, 0x4264, {0x8B, 0x5F, 0xE3, 0xF4, 0x46, 0xCE, 0xA6, 0xA5}});
struct ICoreWebView2WebResourceRequest : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_Content(IStream** content) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_Content(IStream* content) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) = 0;  // slot 9
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebResourceResponse, {0xAAFCC94F, 0xFA27, 0x48FD, {0x97, 0xDF, 0x83, 0x0E, 0xF7, 0x5A, 0xAE, 0xC9}});
struct ICoreWebView2WebResourceResponse : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Content(IStream** content) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_Content(IStream* content) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) = 0;  // slot 9
};

VANTREL_WEBVIEW2_IID(ICoreWebView2HttpRequestHeaders, {0xE86CAC0E, 0x5523, 0x465C, {0xB5, 0x36, 0x8F, 0xB9, 0xFC, 0x8C, 0x8C, 0x60}});
struct ICoreWebView2HttpRequestHeaders : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* contains) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) = 0;  // slot 8
};

VANTREL_WEBVIEW2_IID(ICoreWebView2HttpResponseHeaders, {0x03C5FF5A, 0x9B45, 0x4A88, {0x88, 0x1C, 0x89, 0xA9, 0xF3, 0x28, 0x61, 0x9C}});
struct ICoreWebView2HttpResponseHeaders : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* contains) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** iterator) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** iterator) = 0;  // slot 7
};

VANTREL_WEBVIEW2_IID(ICoreWebView2HttpHeadersCollectionIterator, {0x0702FC30, 0xF43B, 0x47BB, {0xAB, 0x52, 0xA4, 0x2C, 0xB5, 0x52, 0xAD, 0x9F}});
struct ICoreWebView2HttpHeadersCollectionIterator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCurrentHeader(LPWSTR* name, LPWSTR* value) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_HasCurrentHeader(BOOL* hasCurrent) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE MoveNext(BOOL* hasNext) = 0;  // slot 5
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebMessageReceivedEventArgs, {0x0F99A40C, 0xE962, 0x4207, {0x9E, 0x92, 0xE3, 0xD5, 0x42, 0xEF, 0xF8, 0x49}});
struct ICoreWebView2WebMessageReceivedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* source) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* webMessageAsJson) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* webMessageAsString) = 0;  // slot 5
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NewWindowRequestedEventArgs, {0x34ACB11C, 0xFC37, 0x4418, {0x91, 0x32, 0xF9, 0xC2, 0x1D, 0x1E, 0xAF, 0xB9}});
struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) = 0;  // slot 10
};

VANTREL_WEBVIEW2_IID(ICoreWebView2PermissionRequestedEventArgs, {0x973AE2EF, 0xFF18, 0x4894, {0x8F, 0xB2, 0x3C, 0x75, 0x8F, 0x04, 0x68, 0x10}});
struct ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;  // slot 8
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NavigationStartingEventArgs, {0x5B495469, 0xE119, 0x438A, {0x9B, 0x18, 0x76, 0x04, 0xF2, 0x5F, 0x2E, 0x49}});
struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;  // slot 9
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NavigationCompletedEventArgs, {0x30D68B7D, 0x20D9, 0x4752, {0xA9, 0xCA, 0xEC, 0x84, 0x48, 0xFB, 0xB5, 0xC1}});
struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;  // slot 5
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ScriptDialogOpeningEventArgs, {0x7390BB70, 0xABE0, 0x4843, {0x95, 0x29, 0xF1, 0x43, 0xB3, 0x1B, 0x03, 0xD6}});
struct ICoreWebView2ScriptDialogOpeningEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* kind) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_Message(LPWSTR* message) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE Accept() = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_DefaultText(LPWSTR* defaultText) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_ResultText(LPWSTR* resultText) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE put_ResultText(LPCWSTR resultText) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;  // slot 10
};

VANTREL_WEBVIEW2_IID(ICoreWebView2SourceChangedEventArgs, {0x31E0E545, 0x1DBA, 0x4266, {0x89, 0x14, 0xF6, 0x38, 0x48, 0xA1, 0xF7, 0xD7}});
struct ICoreWebView2SourceChangedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* isNewDocument) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ContentLoadingEventArgs, {0x0C8A1275, 0x9B6B, 0x4901, {0x87, 0xAD, 0x70, 0xDF, 0x25, 0xBA, 0xFA, 0x6E}});
struct ICoreWebView2ContentLoadingEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* isErrorPage) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;  // slot 4
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ProcessFailedEventArgs, {0x8155A9A4, 0x1474, 0x4A86, {0x8C, 0xAE, 0x15, 0x1B, 0x0F, 0xA6, 0xB8, 0xCA}});
struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* processFailedKind) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2MoveFocusRequestedEventArgs, {0x2D6AA13B, 0x3839, 0x4A15, {0x92, 0xFC, 0xD8, 0x8B, 0x3C, 0x0D, 0x9C, 0x9D}});
struct ICoreWebView2MoveFocusRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) = 0;  // slot 5
};

VANTREL_WEBVIEW2_IID(ICoreWebView2AcceleratorKeyPressedEventArgs, {0x9F760F8A, 0xFB79, 0x42BE, {0x99, 0x90, 0x7B, 0x56, 0x90, 0x0F, 0xA9, 0xC7}});
struct ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* virtualKey) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;  // slot 8
};

VANTREL_WEBVIEW2_IID(ICoreWebView2DevToolsProtocolEventReceiver, {0xB32CA51A, 0x8371, 0x45E9, {0x93, 0x17, 0xAF, 0x02, 0x1D, 0x08, 0x03, 0x67}});
struct ICoreWebView2DevToolsProtocolEventReceiver : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE add_DevToolsProtocolEventReceived(ICoreWebView2DevToolsProtocolEventReceivedEventHandler* handler, EventRegistrationToken* token) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE remove_DevToolsProtocolEventReceived(EventRegistrationToken token) = 0;  // slot 4
};

VANTREL_WEBVIEW2_IID(ICoreWebView2DevToolsProtocolEventReceivedEventArgs, {0x653C2959, 0xBB3A, 0x4377, {0x86, 0x32, 0xB5, 0x8A, 0xDA, 0x4E, 0x66, 0xC4}});
struct ICoreWebView2DevToolsProtocolEventReceivedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ParameterObjectAsJson(LPWSTR* parameterObjectAsJson) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2Deferral, {0xC10E7F7B, 0xB585, 0x46F0, {0xA6, 0x23, 0x8B, 0xEF, 0xBF, 0x3E, 0x4E, 0xE0}});
struct ICoreWebView2Deferral : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Complete() = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2EnvironmentOptions, {0x2FDE08A8, 0x1E9A, 0x4766, {0x8C, 0x05, 0x95, 0xA9, 0xCE, 0xB9, 0xD1, 0xC5}});
struct ICoreWebView2EnvironmentOptions : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;  // slot 4
  virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;  // slot 6
  virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;  // slot 8
  virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) = 0;  // slot 9
  virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) = 0;  // slot 10
};

VANTREL_WEBVIEW2_IID(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, {0x4E8A3389, 0xC9D8, 0x4BD2, {0xB6, 0xB5, 0x12, 0x4F, 0xEE, 0x6C, 0xC1, 0x4D}});
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Environment* createdEnvironment) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, {0x6C4819F3, 0xC9B7, 0x4260, {0x81, 0x27, 0xC9, 0xF5, 0xBD, 0xE7, 0xF6, 0x8C}});
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Controller* createdController) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NewBrowserVersionAvailableEventHandler, {0xF9A2976E, 0xD34E, 0x44FC, {0xAD, 0xEE, 0x81, 0xB6, 0xB5, 0x7C, 0xA9, 0x14}});
struct ICoreWebView2NewBrowserVersionAvailableEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Environment* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ZoomFactorChangedEventHandler, {0xB52D71D6, 0xC4DF, 0x4543, {0xA9, 0x0C, 0x64, 0xA3, 0xE6, 0x0F, 0x38, 0xCB}});
struct ICoreWebView2ZoomFactorChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2MoveFocusRequestedEventHandler, {0x69035451, 0x6DC7, 0x4CB8, {0x9B, 0xCE, 0xB2, 0xBD, 0x70, 0xAD, 0x28, 0x9F}});
struct ICoreWebView2MoveFocusRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, ICoreWebView2MoveFocusRequestedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2FocusChangedEventHandler, {0x05EA24BD, 0x6452, 0x4926, {0x90, 0x14, 0x4B, 0x82, 0xB4, 0x98, 0x13, 0x5D}});
struct ICoreWebView2FocusChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2AcceleratorKeyPressedEventHandler, {0xB29C7E28, 0xFA79, 0x41A8, {0x8E, 0x44, 0x65, 0x81, 0x1C, 0x76, 0xDC, 0xB2}});
struct ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, ICoreWebView2AcceleratorKeyPressedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NavigationStartingEventHandler, {0x9ADBE429, 0xF36D, 0x432B, {0x9D, 0xDC, 0xF8, 0x88, 0x1F, 0xBD, 0x76, 0xE3}});
struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ContentLoadingEventHandler, {0x364471E7, 0xF2BE, 0x4910, {0xBD, 0xBA, 0xD7, 0x20, 0x77, 0xD5, 0x1C, 0x4B}});
struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2SourceChangedEventHandler, {0x3C067F9F, 0x5388, 0x4772, {0x8B, 0x48, 0x79, 0xF7, 0xEF, 0x1A, 0xB3, 0x7C}});
struct ICoreWebView2SourceChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2HistoryChangedEventHandler, {0xC79A420C, 0xEFD9, 0x4058, {0x92, 0x95, 0x3E, 0x8B, 0x4B, 0xCA, 0xB6, 0x45}});
struct ICoreWebView2HistoryChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NavigationCompletedEventHandler, {0xD33A35BF, 0x1C49, 0x4F98, {0x93, 0xAB, 0x00, 0x6E, 0x05, 0x33, 0xFE, 0x1C}});
struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ScriptDialogOpeningEventHandler, {0xEF381BF9, 0xAFA8, 0x4E37, {0x91, 0xC4, 0x8A, 0xC4, 0x85, 0x24, 0xBD, 0xFB}});
struct ICoreWebView2ScriptDialogOpeningEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ScriptDialogOpeningEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2PermissionRequestedEventHandler, {0x15E1C6A3, 0xC72A, 0x4DF3, {0x91, 0xD7, 0xD0, 0x97, 0xFB, 0xEC, 0x6B, 0xFD}});
struct ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2PermissionRequestedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ProcessFailedEventHandler, {0x79E0AEA4, 0x990B, 0x42D9, {0xAA, 0x1D, 0x0F, 0xCC, 0x2E, 0x5B, 0xC7, 0xF1}});
struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, {0xB99369F3, 0x9B11, 0x47B5, {0xBC, 0x6F, 0x8E, 0x78, 0x95, 0xFC, 0xEA, 0x17}});
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR id) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ExecuteScriptCompletedHandler, {0x49511172, 0xCC67, 0x4BCA, {0x99, 0x23, 0x13, 0x71, 0x12, 0xF4, 0xC4, 0xCC}});
struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR resultObjectAsJson) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2CapturePreviewCompletedHandler, {0x697E05E9, 0x3D8F, 0x45FA, {0x96, 0xF4, 0x8F, 0xFE, 0x1E, 0xDE, 0xDA, 0xF5}});
struct ICoreWebView2CapturePreviewCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebMessageReceivedEventHandler, {0x57213F19, 0x00E6, 0x49FA, {0x8E, 0x07, 0x89, 0x8E, 0xA0, 0x1E, 0xCB, 0xD2}});
struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2WebMessageReceivedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, {0x5C4889F0, 0x5EF6, 0x4C5A, {0x95, 0x2C, 0xD8, 0xF1, 0xB9, 0x2D, 0x05, 0x74}});
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR returnObjectAsJson) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2NewWindowRequestedEventHandler, {0xD4C185FE, 0xC81C, 0x4989, {0x97, 0xAF, 0x2D, 0x3F, 0xA7, 0xAB, 0x56, 0x51}});
struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2DocumentTitleChangedEventHandler, {0xF5F2B923, 0x953E, 0x4042, {0x9F, 0x95, 0xF3, 0xA1, 0x18, 0xE1, 0xAF, 0xD4}});
struct ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2ContainsFullScreenElementChangedEventHandler, {0xE45D98B1, 0xAFEF, 0x45BE, {0x8B, 0xAF, 0x6C, 0x77, 0x28, 0x86, 0x7F, 0x73}});
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WebResourceRequestedEventHandler, {0xAB00B74C, 0x15F1, 0x4646, {0x80, 0xE8, 0xE7, 0x63, 0x41, 0xD2, 0x5D, 0x71}});
struct ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2WebResourceRequestedEventArgs* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2WindowCloseRequestedEventHandler, {0x5C19E9E0, 0x092F, 0x486B, {0xAF, 0xFA, 0xCA, 0x82, 0x31, 0x91, 0x30, 0x39}});
struct ICoreWebView2WindowCloseRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;  // slot 3
};

VANTREL_WEBVIEW2_IID(ICoreWebView2DevToolsProtocolEventReceivedEventHandler, {0xE2FDA4BE, 0x5456, 0x406C, {0xA2, 0x61, 0x3D, 0x45, 0x21, 0x38, 0x36, 0x2C}});
struct ICoreWebView2DevToolsProtocolEventReceivedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2DevToolsProtocolEventReceivedEventArgs* args) = 0;  // slot 3
};

// Loader library entry points, looked up by name.
extern "C" {
typedef HRESULT(STDMETHODCALLTYPE* TCreateCoreWebView2EnvironmentWithOptions)(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
typedef HRESULT(STDMETHODCALLTYPE* TCreateCoreWebView2Environment)(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
typedef HRESULT(STDMETHODCALLTYPE* TGetCoreWebView2BrowserVersionString)(PCWSTR browserExecutableFolder,
                                                                          LPWSTR* versionInfo);
typedef HRESULT(STDMETHODCALLTYPE* TCompareBrowserVersions)(PCWSTR version1, PCWSTR version2, int* result);
}
// clang-format on
