#include "printing/win32/keep_on_top_win32.h"

#include "platform/win32/system_win32.h"

namespace velmok::win32 {

void KeepOnTopUnderWine::Look(HWND window) {
  if (!RunningUnderWine()) return;
  const HWND foreground = GetForegroundWindow();
  bool covered = foreground != lastForeground_ && foreground != window && foreground != nullptr;
  lastForeground_ = foreground;
  for (HWND above = GetWindow(window, GW_HWNDPREV); above && !covered; above = GetWindow(above, GW_HWNDPREV))
    covered = IsWindowVisible(above) != FALSE;
  if (!covered) return;
  // Leaving the topmost band and entering it again puts the window back on top.
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace velmok::win32
