// Whether the session can take keys: Windows' word of a lock or a lost connection, and the input
// desktop, hold the keys; the session's own report is asked again while they do, and gives up a
// hold that went stale.

#include <windows.h>

#include <gtest/gtest.h>
#include <wtsapi32.h>

#include <optional>

#include "platform/win32/session_lock_win32.h"

namespace velmok::testing {
namespace {

using win32::SessionReport;

TEST(Win32SessionLock, AHoldTheSessionDeniesIsGivenUp) {
  constexpr SessionReport kUnlocked{false, true}, kLocked{true, true}, kDisconnected{false, false};
  struct Case {
    const char* what;
    WPARAM word;                          // the last word from Windows (0: none)
    bool desktopUnavailable;
    std::optional<SessionReport> report;  // nullopt: the session cannot tell
    bool locked;
    int reports;                          // times the report was asked
  };
  const Case cases[] = {
      {"nothing said, desktop open", 0, false, kLocked, false, 0},
      {"locked, and the session says so", WTS_SESSION_LOCK, false, kLocked, true, 1},
      {"locked, the unlock word never came", WTS_SESSION_LOCK, false, kUnlocked, false, 1},
      {"locked, the session cannot tell", WTS_SESSION_LOCK, false, std::nullopt, true, 1},
      {"unlocked again", WTS_SESSION_UNLOCK, false, kLocked, false, 0},
      {"disconnected, and the session says so", WTS_REMOTE_DISCONNECT, false, kDisconnected, true, 1},
      {"disconnected, the connect word never came", WTS_CONSOLE_DISCONNECT, false, kUnlocked, false, 1},
      {"a secure desktop left up in an unlocked session", 0, true, kUnlocked, false, 1},
      {"the lock screen, the session cannot tell", 0, true, std::nullopt, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int reports = 0;
    win32::SessionLock lock({[&] { return c.desktopUnavailable; },
                             [&] {
                               ++reports;
                               return c.report;
                             }});
    if (c.word) lock.OnSessionChange(c.word);
    EXPECT_EQ(lock.Locked(), c.locked);
    EXPECT_EQ(reports, c.reports);
  }
  {
    SCOPED_TRACE("a stale word holds nothing once given up, and a new one holds again");
    std::optional<SessionReport> report = kUnlocked;
    win32::SessionLock lock({[] { return false; }, [&] { return report; }});
    lock.OnSessionChange(WTS_SESSION_LOCK);
    EXPECT_FALSE(lock.Locked());
    report = std::nullopt;
    EXPECT_FALSE(lock.Locked()) << "given up for good";
    lock.OnSessionChange(WTS_SESSION_LOCK);
    EXPECT_TRUE(lock.Locked());
  }
}

}  // namespace
}  // namespace velmok::testing
