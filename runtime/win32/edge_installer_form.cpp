#include "runtime/win32/edge_installer_form.h"

#include <cmath>

#include "platform/errors.h"
#include "platform/win32/window_proc.h"

namespace vantrel {

namespace {
constexpr wchar_t kClassName[] = L"TEdgeInstallerForm";
constexpr int kClientSize = 80;
constexpr int kIndicatorLeft = 9, kIndicatorTop = 8, kIndicatorSize = 64;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kFrameMilliseconds = 50;
constexpr unsigned kFramesPerTurn = 24;
constexpr double kPi = 3.14159265358979323846;

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  win32::RegisterFormClass(instance, {kClassName, proc, CS_DROPSHADOW | CS_HREDRAW | CS_VREDRAW, IDC_APPSTARTING});
}

void FillCircle(HDC dc, double cx, double cy, double r) {
  Ellipse(dc, static_cast<int>(std::lround(cx - r)), static_cast<int>(std::lround(cy - r)),
          static_cast<int>(std::lround(cx + r)), static_cast<int>(std::lround(cy + r)));
}

POINT OnCircle(double cx, double cy, double r, double angle) {
  return {static_cast<LONG>(std::lround(cx + r * std::cos(angle))),
          static_cast<LONG>(std::lround(cy + r * std::sin(angle)))};
}
}  // namespace

COLORREF ResolveColor(uint32_t color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

TEdgeInstallerForm::TEdgeInstallerForm() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance, win32::FormWindowProc<TEdgeInstallerForm>);
  RECT bounds = {0, 0, kClientSize, kClientSize};
  AdjustWindowRectEx(&bounds, WS_POPUP, FALSE, 0);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  FHandle = CreateWindowExW(0, kClassName, L"", WS_POPUP, x, y, width, height, nullptr, nullptr, instance, this);
  if (!FHandle) throw EVantrelError("Cannot create the installation window");
  FormCreate();
}

TEdgeInstallerForm::~TEdgeInstallerForm() {
  win32::DestroyFormWindow(FHandle);
}

void TEdgeInstallerForm::SetIndicatorColor(int32_t value) {
  FIndicatorColor = value == 0 ? TIndicatorColor::Black : TIndicatorColor::White;
}

void TEdgeInstallerForm::SetIndicatorType(int32_t value) {
  FIndicatorType = value == 1   ? TIndicatorType::RotatingSector
                   : value == 2 ? TIndicatorType::SectorRing
                                : TIndicatorType::MomentumDots;
}

void TEdgeInstallerForm::FormCreate() { RoundFormCorners(); }

void TEdgeInstallerForm::RoundFormCorners() {
  RECT bounds;
  GetWindowRect(FHandle, &bounds);
  HRGN region = CreateRoundRectRgn(0, 0, bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1, 4, 4);
  if (!SetWindowRgn(FHandle, region, TRUE)) DeleteObject(region);  // the window owns it on success
}

void TEdgeInstallerForm::Show() {
  ShowWindow(FHandle, SW_SHOWNORMAL);
  UpdateWindow(FHandle);
  SetTimer(FHandle, kAnimationTimer, kFrameMilliseconds, nullptr);
}

LRESULT TEdgeInstallerForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (!FormCloseQuery()) return 0;
      break;
    case WM_TIMER:
      if (wParam == kAnimationTimer) {
        FFrame = (FFrame + 1) % kFramesPerTurn;
        InvalidateRect(FHandle, nullptr, FALSE);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      Paint(dc);
      EndPaint(FHandle, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

void TEdgeInstallerForm::Paint(HDC target) {
  RECT client;
  GetClientRect(FHandle, &client);
  // Drawn off-screen first so the animation does not flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

  const COLORREF background = ResolveColor(FColor);
  HBRUSH backgroundBrush = CreateSolidBrush(background);
  FillRect(dc, &client, backgroundBrush);

  const COLORREF ink = FIndicatorColor == TIndicatorColor::Black ? RGB(0, 0, 0) : RGB(255, 255, 255);
  HBRUSH inkBrush = CreateSolidBrush(ink);
  HGDIOBJ oldBrush = SelectObject(dc, inkBrush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  const double cx = kIndicatorLeft + kIndicatorSize / 2.0, cy = kIndicatorTop + kIndicatorSize / 2.0;
  const double turn = 2 * kPi * FFrame / kFramesPerTurn;

  switch (FIndicatorType) {
    case TIndicatorType::MomentumDots:
      // Five dots chasing each other, bunched up at the front.
      for (int i = 0; i < 5; ++i) {
        const double angle = turn - i * 0.38 - 0.06 * i * i;
        const POINT p = OnCircle(cx, cy, 24, angle);
        FillCircle(dc, p.x, p.y, 4.5 - 0.5 * i);
      }
      break;
    case TIndicatorType::RotatingSector: {
      // A quarter disc sweeping round.
      const POINT from = OnCircle(cx, cy, 28, turn), to = OnCircle(cx, cy, 28, turn - kPi / 2);
      Pie(dc, static_cast<int>(cx - 28), static_cast<int>(cy - 28), static_cast<int>(cx + 28),
          static_cast<int>(cy + 28), from.x, from.y, to.x, to.y);
      break;
    }
    case TIndicatorType::SectorRing: {
      // Twelve ring segments, one lit and its trail fading.
      for (int i = 0; i < 12; ++i) {
        const int age = static_cast<int>((FFrame / 2 + 12 - i) % 12);
        const double level = age < 4 ? 1.0 - age * 0.22 : 0.25;
        const COLORREF shade =
            RGB(static_cast<int>(GetRValue(background) + (GetRValue(ink) - GetRValue(background)) * level),
                static_cast<int>(GetGValue(background) + (GetGValue(ink) - GetGValue(background)) * level),
                static_cast<int>(GetBValue(background) + (GetBValue(ink) - GetBValue(background)) * level));
        HBRUSH segment = CreateSolidBrush(shade);
        SelectObject(dc, segment);
        const double a0 = i * kPi / 6 + 0.06, a1 = (i + 1) * kPi / 6 - 0.06;
        const POINT points[4] = {OnCircle(cx, cy, 30, a0), OnCircle(cx, cy, 30, a1), OnCircle(cx, cy, 20, a1),
                                 OnCircle(cx, cy, 20, a0)};
        Polygon(dc, points, 4);
        SelectObject(dc, inkBrush);
        DeleteObject(segment);
      }
      break;
    }
  }

  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteObject(inkBrush);
  DeleteObject(backgroundBrush);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace vantrel
