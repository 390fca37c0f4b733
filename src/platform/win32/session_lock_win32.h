#pragma once
// Whether the user's session can take keys: not while it is locked (Win+L, the screen saver's
// lock) or while its remote connection is gone. Windows tells a window that asked for it
// (WM_WTSSESSION_CHANGE); a desktop that shows the lock screen is also told by the input desktop
// that the program can no longer open.

#include <windows.h>

namespace velmok::win32 {

class SessionLock {
 public:
  // Asks Windows to tell `window` of the session's changes (WM_WTSSESSION_CHANGE), as long as it
  // lives or until Unwatch.
  void Watch(HWND window);
  void Unwatch(HWND window);
  // The code of a WM_WTSSESSION_CHANGE.
  void OnSessionChange(WPARAM code);
  bool Locked() const;

 private:
  bool locked_ = false;        // locked, by the last word from Windows
  bool disconnected_ = false;  // the session's connection is gone
};

// The input desktop cannot be opened, as while the lock screen is shown.
bool InputDesktopUnavailable();

// While it lives, the machine does not go to sleep (the display may), as for a long print run left
// alone overnight.
class KeepSystemAwake {
 public:
  KeepSystemAwake();
  ~KeepSystemAwake();
  KeepSystemAwake(const KeepSystemAwake&) = delete;
  KeepSystemAwake& operator=(const KeepSystemAwake&) = delete;
};

}  // namespace velmok::win32
