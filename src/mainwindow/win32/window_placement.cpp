#include "mainwindow/win32/window_placement.h"

#include <vector>

#include "mainwindow/placement_fit.h"

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

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lp) noexcept {
  MONITORINFO info{sizeof info};
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& w = info.rcWork;
  try {
    reinterpret_cast<std::vector<PixelRect>*>(lp)->push_back({w.left, w.top, w.right - w.left, w.bottom - w.top});
  } catch (...) {
    return FALSE;  // out of memory: the areas found so far
  }
  return TRUE;
}

}  // namespace

std::vector<PixelRect> WorkAreas() {
  std::vector<PixelRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

bool ApplyPlacementTwips(HWND window, const PlacementTwips& p, TwipsFactors screen) {
  // The title bar, and enough of it to take hold of: three caption heights.
  const int caption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const auto px = FitPlacement(PixelsFromTwips(p, screen), WorkAreas(), caption, 3 * caption);
  if (!px) return false;
  SetWindowPos(window, nullptr, px->left, px->top, px->width, px->height, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

}  // namespace velmok::win32
