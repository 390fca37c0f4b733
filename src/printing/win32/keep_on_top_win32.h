#pragma once
// Under Wine a topmost window of the program can be covered: Wine's desktop lets another program's
// window that raises itself come above it on the screen, while Wine's own order of the windows may
// still have ours on top.

#include <windows.h>

namespace velmok::win32 {

class KeepOnTopUnderWine {
 public:
  // Puts `window` (a topmost window) back on top when, under Wine, another window has come above
  // it, or another window has taken the foreground since the last look (its raise reached the
  // screen, not Wine's order). Otherwise, and on Windows, nothing is done: a restack goes through
  // the X server and holds the caller for a moment.
  void Look(HWND window);

 private:
  HWND lastForeground_ = nullptr;
};

}  // namespace velmok::win32
