#pragma once
// The two items of the Debug menu's log submenu, 記録しない(&0) and 記録する(&1), which act as a
// pair of radio items showing the debug log's level.

#include <array>
#include <optional>

#include "core/debug_log.h"

namespace velmok {

// What the log-level menu needs of the window that shows it: its items' check marks, and the level
// kept in the per-user settings.
class LogLevelHost {
 public:
  virtual ~LogLevelHost() = default;
  virtual void SetItemChecked(int index, bool checked) = 0;
  // The stored level, read afresh: 0 when it is missing, nullopt when it is not a number.
  virtual std::optional<double> StoredLevel() = 0;
  virtual void StoreLevel(int level) = 0;
};

class LogLevelMenu {
 public:
  static constexpr int kItems = 2;
  // The visits over the items stop at the first index without an item and never go past 5.
  static constexpr int kLastVisitedIndex = 5;

  explicit LogLevelMenu(LogLevelHost& host) : host_(host) {}

  bool Exists(int index) const { return index >= 0 && index < kItems; }
  bool IsChecked(int index) const { return Exists(index) && checked_[static_cast<std::size_t>(index)]; }
  void SetChecked(int index, bool checked);
  LogLevelHost& Host() const { return host_; }

 private:
  LogLevelHost& host_;
  std::array<bool, kItems> checked_{};
};

// At load: checks the item whose index equals the stored level and sets the log up at that level;
// a stored level that matches no item, or is no number at all, leaves both unchecked and the log
// off (and so stays stored as it is).
void RestoreLogLevel(LogLevelMenu& menu, DebugLog& log);
// At unload: stores the index of the checked item; with none checked the stored level stays.
void SaveLogLevel(const LogLevelMenu& menu);
// The user chose item `index`: the log is set up only when the level changes.
void mnuDebug_LoggingLevel_Click(int index, LogLevelMenu& menu, DebugLog& log);

}  // namespace velmok
