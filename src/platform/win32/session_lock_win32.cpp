#include "platform/win32/session_lock_win32.h"

#include <wtsapi32.h>

namespace velmok::win32 {

void SessionLock::Watch(HWND window) {
  locked_ = disconnected_ = false;
  WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
}

void SessionLock::Unwatch(HWND window) { WTSUnRegisterSessionNotification(window); }

void SessionLock::OnSessionChange(WPARAM code) {
  switch (code) {
    case WTS_SESSION_LOCK: locked_ = true; break;
    case WTS_SESSION_UNLOCK: locked_ = false; break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: disconnected_ = true; break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: disconnected_ = false; break;
    default: break;
  }
}

bool SessionLock::Locked() const { return locked_ || disconnected_ || InputDesktopUnavailable(); }

bool InputDesktopUnavailable() {
  HDESK desk = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (!desk) return true;
  CloseDesktop(desk);
  return false;
}

KeepSystemAwake::KeepSystemAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }

KeepSystemAwake::~KeepSystemAwake() { SetThreadExecutionState(ES_CONTINUOUS); }

}  // namespace velmok::win32
