#pragma once
// The small borderless window shown while the browser runtime installs: a
// rounded 80 x 80 square with a busy indicator that animates every 50 ms.
#include <windows.h>

#include <cstdint>

#include "platform/win32/window_proc.h"

namespace vantrel {

enum class TIndicatorType { MomentumDots = 0, RotatingSector = 1, SectorRing = 2 };
enum class TIndicatorColor { Black = 0, White = 1 };

class TEdgeInstallerForm {
 public:
  TEdgeInstallerForm();
  ~TEdgeInstallerForm();
  TEdgeInstallerForm(const TEdgeInstallerForm&) = delete;
  TEdgeInstallerForm& operator=(const TEdgeInstallerForm&) = delete;

  // 0x00BBGGRR, or 0xFF000000 plus a system-colour index.
  void SetColor(uint32_t color) { FColor = color; }
  // Values outside their ranges keep the defaults (white, momentum dots).
  void SetIndicatorColor(int32_t value);
  void SetIndicatorType(int32_t value);

  void Show();  // not modal; the animation starts at once
  HWND Handle() const { return FHandle; }

 private:
  // Window messages, through win32::FormWindowProc.
  friend LRESULT CALLBACK win32::FormWindowProc<TEdgeInstallerForm>(HWND, UINT, WPARAM, LPARAM);
  void AttachHandle(HWND window) { FHandle = window; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  bool FormCloseQuery() const { return false; }  // closing is always refused
  void RoundFormCorners();
  void Paint(HDC dc);

  HWND FHandle = nullptr;
  uint32_t FColor = 0xFF00001Au;
  TIndicatorColor FIndicatorColor = TIndicatorColor::White;
  TIndicatorType FIndicatorType = TIndicatorType::MomentumDots;
  unsigned FFrame = 0;
};

// A colour value as the configuration holds it, resolved to an RGB colour.
COLORREF ResolveColor(uint32_t color);

}  // namespace vantrel
