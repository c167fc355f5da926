#include "engines/chromium/page_view_win32.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <windowsx.h>

#include "platform/com_ptr.h"
#include "platform/json_quote.h"
#include "platform/ustring.h"

namespace vantrel::chromium {

namespace {

constexpr wchar_t kClassName[] = L"VantrelChromiumPage";

// DevTools modifier bits: Alt 1, Ctrl 2, Meta 4, Shift 8.
int Modifiers() {
  int bits = 0;
  if (GetKeyState(VK_MENU) < 0) bits |= 1;
  if (GetKeyState(VK_CONTROL) < 0) bits |= 2;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) bits |= 4;
  if (GetKeyState(VK_SHIFT) < 0) bits |= 8;
  return bits;
}

// The DOM key and code of keys that edit or move rather than type.
struct NamedKey {
  UINT virtualKey;
  const char* key;
  const char* code;
};
constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, "Backspace", "Backspace"}, {VK_TAB, "Tab", "Tab"},        {VK_RETURN, "Enter", "Enter"},
    {VK_ESCAPE, "Escape", "Escape"},     {VK_LEFT, "ArrowLeft", "ArrowLeft"}, {VK_UP, "ArrowUp", "ArrowUp"},
    {VK_RIGHT, "ArrowRight", "ArrowRight"}, {VK_DOWN, "ArrowDown", "ArrowDown"}, {VK_DELETE, "Delete", "Delete"},
    {VK_HOME, "Home", "Home"},           {VK_END, "End", "End"},        {VK_PRIOR, "PageUp", "PageUp"},
    {VK_NEXT, "PageDown", "PageDown"},   {VK_SPACE, " ", "Space"},
};

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window below
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  static_cast<void>(registered);
}

}  // namespace

bool DecodePicture(const std::string& bytes, Picture& picture) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()))))
    return false;
  ComPtr<IStream> stream =
      ComPtr<IStream>::Attach(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (!stream || FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                          decoder.Put())) ||
      FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(factory->CreateFormatConverter(converter.Put())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 || height > 16384)
    return false;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(size_t(width) * height * 4);
  return SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size()),
                                         picture.pixels.data()));
}

PageView::~PageView() {
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void PageView::Place(HWND parent, const RECT& bounds, bool visible) {
  if (!parent || !IsWindow(parent)) return;
  if (!window_ || !IsWindow(window_) || GetParent(window_) != parent) {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    RegisterClassOnce();
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0, parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageView::Procedure));
  }
  MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

void PageView::Show(Picture picture) {
  picture_ = std::move(picture);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void PageView::Focus() {
  if (window_) SetFocus(window_);
}

bool PageView::ScreenPoint(double x, double y, POINT& point) const {
  if (!window_ || !IsWindowVisible(window_)) return false;
  point = {static_cast<LONG>(x), static_cast<LONG>(y)};
  return ClientToScreen(window_, &point) != FALSE;
}

LRESULT CALLBACK PageView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<PageView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return view->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;  // nothing escapes into the window manager
  }
}

void PageView::Mouse(const char* type, LPARAM position, const char* button, int clicks, WPARAM) {
  sink_(std::string("{\"op\":\"mouse\",\"type\":\"") + type + "\",\"x\":" + std::to_string(GET_X_LPARAM(position)) +
        ",\"y\":" + std::to_string(GET_Y_LPARAM(position)) + ",\"button\":\"" + button +
        "\",\"clickCount\":" + std::to_string(clicks) + ",\"modifiers\":" + std::to_string(Modifiers()) + "}");
}

LRESULT PageView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_MOUSEACTIVATE:
      SetFocus(window_);
      return MA_ACTIVATE;
    case WM_MOUSEMOVE:
      Mouse("mouseMoved", lParam, leftDown_ ? "left" : "none", 0, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(window_);
      SetCapture(window_);
      leftDown_ = true;
      Mouse("mousePressed", lParam, "left", message == WM_LBUTTONDBLCLK ? 2 : 1, wParam);
      return 0;
    case WM_LBUTTONUP:
      leftDown_ = false;
      ReleaseCapture();
      Mouse("mouseReleased", lParam, "left", 1, wParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
      const bool down = message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
      const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
      Mouse(down ? "mousePressed" : "mouseReleased", lParam, right ? "right" : "middle", 1, wParam);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window_, &point);
      const int notches = GET_WHEEL_DELTA_WPARAM(wParam);
      sink_("{\"op\":\"mouse\",\"type\":\"mouseWheel\",\"x\":" + std::to_string(point.x) + ",\"y\":" +
            std::to_string(point.y) + ",\"deltaX\":0,\"deltaY\":" + std::to_string(-notches * 100 / WHEEL_DELTA) +
            ",\"modifiers\":" + std::to_string(Modifiers()) + "}");
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
      std::string named;
      for (const NamedKey& key : kNamedKeys) {
        if (key.virtualKey == wParam)
          named = std::string(",\"key\":\"") + key.key + "\",\"code\":\"" + key.code + "\"";
      }
      sink_(std::string("{\"op\":\"key\",\"type\":\"") + (down ? "rawKeyDown" : "keyUp") +
            "\",\"virtualKey\":" + std::to_string(wParam) + named + ",\"modifiers\":" + std::to_string(Modifiers()) +
            "}");
      return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ? DefWindowProcW(window_, message, wParam, lParam) : 0;
    }
    case WM_CHAR: {
      const wchar_t c = static_cast<wchar_t>(wParam);
      if (c < 0x20 && c != L'\r') return 0;  // editing keys went as key events
      sink_("{\"op\":\"key\",\"type\":\"char\",\"text\":" + vantrel::JsonQuoteUtf8(Utf16ToUtf8(ustring(1, static_cast<char16_t>(c)))) +
            ",\"modifiers\":" + std::to_string(Modifiers()) + "}");
      return 0;
    }
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void PageView::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  if (picture_.pixels.empty()) {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  } else {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_.width;
    info.bmiHeader.biHeight = -picture_.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture_.width), static_cast<DWORD>(picture_.height), 0, 0, 0,
                      static_cast<UINT>(picture_.height), picture_.pixels.data(), &info, DIB_RGB_COLORS);
    // What the picture does not cover yet (the window just grew).
    RECT right{picture_.width, 0, client.right, client.bottom};
    RECT below{0, picture_.height, picture_.width, client.bottom};
    if (right.left < right.right) FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (below.top < below.bottom) FillRect(dc, &below, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  EndPaint(window_, &paint);
}

}  // namespace vantrel::chromium
