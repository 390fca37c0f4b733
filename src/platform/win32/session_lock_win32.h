#pragma once
// Whether the user's session can take keys: not while it is locked (Win+L, the screen saver's
// lock) or while its remote connection is gone. Windows tells a window that asked for it
// (WM_WTSSESSION_CHANGE); a desktop that shows the lock screen is also told by the input desktop
// that the program can no longer open. While either says the keys must wait, the session's own
// report is asked again, so that a word that went stale cannot hold a run for the rest of the night.

#include <windows.h>

#include <functional>
#include <optional>

namespace velmok::win32 {

// What the session reports of itself.
struct SessionReport {
  bool locked = false;
  bool connected = true;  // the session is the active one, with its display and keyboard
};

// The session's report (WTSSessionInfoEx); nullopt where it cannot tell (before Windows 7, Wine).
std::optional<SessionReport> ReportThisSession();

// The input desktop cannot be opened, as while the lock screen is shown.
bool InputDesktopUnavailable();

class SessionLock {
 public:
  // How the session is looked at: Windows' own means, unless a test gives others.
  struct Looks {
    std::function<bool()> inputDesktopUnavailable = InputDesktopUnavailable;
    std::function<std::optional<SessionReport>()> report = ReportThisSession;
  };
  SessionLock() = default;
  explicit SessionLock(Looks looks) : looks_(std::move(looks)) {}

  // Asks Windows to tell `window` of the session's changes (WM_WTSSESSION_CHANGE), as long as it
  // lives or until Unwatch.
  void Watch(HWND window);
  void Unwatch(HWND window);
  // The code of a WM_WTSSESSION_CHANGE.
  void OnSessionChange(WPARAM code);
  // Whether no key can reach any window now. A word of a lock or a lost connection stands until
  // its opposite comes; where the session reports itself unlocked and connected, that word (or an
  // input desktop held by something else, a secure desktop left up) holds nothing any more.
  bool Locked();

 private:
  Looks looks_;
  bool locked_ = false;        // locked, by the last word from Windows
  bool disconnected_ = false;  // the session's connection is gone
};

}  // namespace velmok::win32
