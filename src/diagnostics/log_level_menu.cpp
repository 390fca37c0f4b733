#include "diagnostics/log_level_menu.h"

namespace velmok {

void LogLevelMenu::SetChecked(int index, bool checked) {
  if (!Exists(index)) return;
  checked_[static_cast<std::size_t>(index)] = checked;
  host_.SetItemChecked(index, checked);
}

void RestoreLogLevel(LogLevelMenu& menu, DebugLog& log) {
  for (int i = 0; i <= LogLevelMenu::kLastVisitedIndex && menu.Exists(i); ++i) {
    if (menu.Host().StoredLevel() == static_cast<double>(i)) {
      log.InitDebugLog(i);
      menu.SetChecked(i, true);
    } else {
      menu.SetChecked(i, false);
    }
  }
}

void SaveLogLevel(const LogLevelMenu& menu) {
  for (int i = 0; i <= LogLevelMenu::kLastVisitedIndex && menu.Exists(i); ++i) {
    if (menu.IsChecked(i)) menu.Host().StoreLevel(i);
  }
}

void mnuDebug_LoggingLevel_Click(int index, LogLevelMenu& menu, DebugLog& log) {
  for (int i = 0; i <= LogLevelMenu::kLastVisitedIndex && menu.Exists(i); ++i) {
    if (i == index) {
      if (log.DebugLevel() != i) log.InitDebugLog(i);
      menu.SetChecked(i, true);
    } else {
      menu.SetChecked(i, false);
    }
  }
}

}  // namespace velmok
