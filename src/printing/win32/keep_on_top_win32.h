#pragma once
// Under Wine a topmost window of the program can be covered: Wine's desktop lets another program's
// window that raises itself come above it.

#include <windows.h>

namespace velmok::win32 {

// Puts `window` (a topmost window) back on top when, under Wine, another window has come above it.
// On Windows, and while nothing covers it, nothing is done.
void KeepOnTopUnderWine(HWND window);

}  // namespace velmok::win32
