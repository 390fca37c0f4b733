// Whether the session can take keys: Windows' word of a lock or a lost connection, and the input
// desktop, hold the keys; while they do, the session's own report is asked again, and a session
// that reports itself unlocked and connected gives up a hold that went stale.

#include <windows.h>

#include <gtest/gtest.h>
#include <wtsapi32.h>

#include "platform/win32/session_lock_win32.h"

namespace velmok::testing {
namespace {

TEST(Win32SessionLock, AHoldTheSessionDeniesIsGivenUp) {
  using Report = std::optional<win32::SessionReport>;
  const Report unlocked{{false, true}}, locked{{true, true}}, disconnected{{false, false}}, unknown;
  const struct {
    const char* what;
    WPARAM word;  // the last word from Windows (0: none)
    bool desktopUnavailable;
    Report report;
    bool held;
  } cases[] = {
      {"locked, and the session says so", WTS_SESSION_LOCK, false, locked, true},
      {"locked, the unlock word never came", WTS_SESSION_LOCK, false, unlocked, false},
      {"locked, the session cannot tell (Wine)", WTS_SESSION_LOCK, false, unknown, true},
      {"disconnected, and the session says so", WTS_REMOTE_DISCONNECT, false, disconnected, true},
      {"disconnected, the connect word never came", WTS_CONSOLE_DISCONNECT, false, unlocked, false},
      {"a secure desktop left up in an unlocked session", 0, true, unlocked, false},
      {"the lock screen, the session cannot tell", 0, true, unknown, true},
  };
  for (const auto& c : cases) {
    win32::SessionLock lock({[&] { return c.desktopUnavailable; }, [&] { return c.report; }});
    if (c.word) lock.OnSessionChange(c.word);
    EXPECT_EQ(lock.Locked(), c.held) << c.what;
  }
}

}  // namespace
}  // namespace velmok::testing
