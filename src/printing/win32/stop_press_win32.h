#pragma once
// The emergency stop seen at once: a press of the progress window's stop button that waits in the
// queue is looked for without handling anything (so that no other message is taken early), between
// the run's event checks and while a sleep or a wait for keys lasts.

#include <windows.h>

namespace velmok::win32 {

// Whether a press of `button` (a child of `window`) waits in this thread's queue: its click, Space
// on it, its access key Alt+X, or its command posted. Nothing is handled, not even a sent message.
bool StopPressWaiting(HWND window, HWND button);

// Sleeps `ms` without handling anything, unless a press of `button` waits or comes meanwhile.
void SleepUnlessStopPressed(HWND window, HWND button, int ms);

}  // namespace velmok::win32
