#include "mainwindow/win32/window_placement.h"

#include <cmath>

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

int ToPixels(float twips, float perPixel) { return static_cast<int>(std::lround(twips / perPixel)); }

}  // namespace

PlacementTwips NormalPlacementTwips(HWND window, float tx, float ty) {
  RECT r{};
  WINDOWPLACEMENT wp{sizeof wp};
  if ((IsIconic(window) || IsZoomed(window)) && GetWindowPlacement(window, &wp)) {
    r = WorkspaceToScreen(window, wp.rcNormalPosition);
  } else {
    GetWindowRect(window, &r);
  }
  return {static_cast<float>(r.top) * ty, static_cast<float>(r.left) * tx,
          static_cast<float>(r.right - r.left) * tx, static_cast<float>(r.bottom - r.top) * ty};
}

bool TouchesSomeWorkArea(const RECT& rect) {
  struct State {
    RECT rect;
    bool touches;
  } state{rect, false};
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<State*>(lp);
        MONITORINFO info{sizeof info};
        RECT overlap{};
        if (GetMonitorInfoW(monitor, &info) && IntersectRect(&overlap, &info.rcWork, &s->rect)) {
          s->touches = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.touches;
}

bool ApplyPlacementTwips(HWND window, const PlacementTwips& p, float tx, float ty) {
  const int left = ToPixels(p.left, tx);
  const int top = ToPixels(p.top, ty);
  const int width = ToPixels(p.width, tx);
  const int height = ToPixels(p.height, ty);
  const RECT rect{left, top, left + width, top + height};
  if (!TouchesSomeWorkArea(rect)) return false;
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

}  // namespace velmok::win32
