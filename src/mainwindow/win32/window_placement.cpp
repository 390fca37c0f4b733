#include "mainwindow/win32/window_placement.h"

namespace velmok::win32 {

namespace {

// rcNormalPosition is in workspace coordinates: relative to the work area of the window's
// monitor. Screen coordinates are what the settings keep.
RECT WorkspaceToScreen(HWND window, RECT rect) {
  MONITORINFO info{sizeof info};
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  }
  return rect;
}

}  // namespace

TwipsFactors ScreenTwipsFactors() {
  HDC screen = GetDC(nullptr);
  const int x = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int y = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return velmok::ScreenTwipsFactors(static_cast<unsigned>(x > 0 ? x : 96), static_cast<unsigned>(y > 0 ? y : 96));
}

PlacementTwips NormalPlacementTwips(HWND window, TwipsFactors screen) {
  RECT r{};
  WINDOWPLACEMENT wp{sizeof wp};
  if ((IsIconic(window) || IsZoomed(window)) && GetWindowPlacement(window, &wp)) {
    r = WorkspaceToScreen(window, wp.rcNormalPosition);
  } else {
    GetWindowRect(window, &r);
  }
  return TwipsFromPixels({r.left, r.top, r.right - r.left, r.bottom - r.top}, screen);
}

namespace {

struct WorkAreaSearch {
  RECT rect;
  bool touches;
};

BOOL CALLBACK FindWorkAreaTouched(HMONITOR monitor, HDC, LPRECT, LPARAM lp) noexcept {
  auto* s = reinterpret_cast<WorkAreaSearch*>(lp);
  MONITORINFO info{sizeof info};
  RECT overlap{};
  if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &info.rcWork, &s->rect)) {
    s->touches = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool TouchesSomeWorkArea(const RECT& rect) {
  WorkAreaSearch state{rect, false};
  EnumDisplayMonitors(nullptr, nullptr, FindWorkAreaTouched, reinterpret_cast<LPARAM>(&state));
  return state.touches;
}

bool ApplyPlacementTwips(HWND window, const PlacementTwips& p, TwipsFactors screen) {
  const PixelRect px = PixelsFromTwips(p, screen);
  const RECT rect{px.left, px.top, px.left + px.width, px.top + px.height};
  if (!TouchesSomeWorkArea(rect)) return false;
  SetWindowPos(window, nullptr, px.left, px.top, px.width, px.height, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

}  // namespace velmok::win32
