#include "platform/win32/session_lock_win32.h"

#include <versionhelpers.h>
#include <wtsapi32.h>

namespace velmok::win32 {

namespace {

// WTSSessionInfoEx and its answer (wtsapi32.h of Windows 7's SDK and later; not in every
// toolchain's headers).
constexpr int kSessionInfoEx = 25;
constexpr LONG kSessionStateLock = 0;
constexpr LONG kSessionStateUnlock = 1;

struct SessionInfoExLevel1 {
  ULONG SessionId;
  WTS_CONNECTSTATE_CLASS SessionState;
  LONG SessionFlags;
  WCHAR WinStationName[WINSTATIONNAME_LENGTH + 1];
  WCHAR UserName[USERNAME_LENGTH + 1];
  WCHAR DomainName[DOMAIN_LENGTH + 1];
  LARGE_INTEGER LogonTime;
  LARGE_INTEGER ConnectTime;
  LARGE_INTEGER DisconnectTime;
  LARGE_INTEGER LastInputTime;
  LARGE_INTEGER CurrentTime;
  DWORD IncomingBytes;
  DWORD OutgoingBytes;
  DWORD IncomingFrames;
  DWORD OutgoingFrames;
  DWORD IncomingCompressedBytes;
  DWORD OutgoingCompressedBytes;
};

struct SessionInfoEx {
  DWORD Level;
  union {
    SessionInfoExLevel1 WTSInfoExLevel1;
  } Data;
};

// Whether the session flags say the session is locked; nullopt when they do not know. Windows 7
// (and Server 2008 R2) report the two states the other way round.
std::optional<bool> LockedBySessionFlags(LONG flags, bool windows7) {
  if (flags == kSessionStateLock) return !windows7;
  if (flags == kSessionStateUnlock) return windows7;
  return std::nullopt;  // WTS_SESSIONSTATE_UNKNOWN
}

}  // namespace

std::optional<SessionReport> ReportThisSession() {
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION,
                                   static_cast<WTS_INFO_CLASS>(kSessionInfoEx), &buffer, &bytes) ||
      !buffer)
    return std::nullopt;
  std::optional<SessionReport> report;
  const auto* info = reinterpret_cast<const SessionInfoEx*>(buffer);
  if (bytes >= sizeof(SessionInfoEx) && info->Level == 1) {
    const SessionInfoExLevel1& level1 = info->Data.WTSInfoExLevel1;
    if (const auto locked = LockedBySessionFlags(level1.SessionFlags, !IsWindows8OrGreater()))
      report = SessionReport{*locked, level1.SessionState == WTSActive};
  }
  WTSFreeMemory(buffer);
  return report;
}

bool InputDesktopUnavailable() {
  HDESK desk = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (!desk) return true;
  CloseDesktop(desk);
  return false;
}

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

bool SessionLock::Locked() {
  if (!locked_ && !disconnected_ && !looks_.inputDesktopUnavailable()) return false;
  const auto report = looks_.report();
  if (!report || report->locked || !report->connected) return true;  // held as told, or as reported
  // The session is in fact unlocked and connected: the word that held the keys is stale.
  locked_ = disconnected_ = false;
  return false;
}

}  // namespace velmok::win32
