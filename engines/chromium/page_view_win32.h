#pragma once
// Where the Chromium engine's page is shown: a child window in the control's
// area of the host's window. It paints the page's latest picture (from the
// screencast) and passes mouse and keys on to the page.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel::chromium {

// A decoded picture, 32-bit BGRA, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// JPEG or PNG bytes to a picture (WIC); false when they do not decode.
// The calling thread must have COM initialized.
bool DecodePicture(const std::string& bytes, Picture& picture);

class PageView {
 public:
  // Receives each input event as a helper operation (one JSON object).
  using InputSink = std::function<void(const std::string&)>;
  explicit PageView(InputSink sink) : sink_(std::move(sink)) {}
  ~PageView();
  PageView(const PageView&) = delete;
  PageView& operator=(const PageView&) = delete;

  void Place(HWND parent, const RECT& bounds, bool visible);
  void Show(Picture picture);
  void Focus();
  // A point of the page (CSS pixels) on the screen; false without a window.
  bool ScreenPoint(double x, double y, POINT& point) const;
  HWND Window() const { return window_; }
  // Whether a picture of the page has been painted.
  bool Painted() const { return !picture_.pixels.empty(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Mouse(const char* type, LPARAM position, const char* button, int clicks, WPARAM keys);

  InputSink sink_;
  HWND window_ = nullptr;
  Picture picture_;
  bool leftDown_ = false;
};

}  // namespace vantrel::chromium
