#include "diagnostics/log_level_menu.h"

#include <string>

#include "mainwindow/settings.h"
#include "resource.h"

namespace velmok {

void LogLevelMenu::SetChecked(int index, bool checked) {
  if (!Exists(index)) return;
  checked_[static_cast<std::size_t>(index)] = checked;
  view_.SetChecked(IDM_DEBUG_LOGGINGLEVEL0 + index, checked);
}

void RestoreLogLevel(platform::SettingsStore& store, LogLevelMenu& menu, DebugLog& log) {
  for (int i = 0; i <= LogLevelMenu::kLastVisitedIndex && menu.Exists(i); ++i) {
    if (ReadStoredLogLevel(store) == static_cast<double>(i)) {
      log.InitDebugLog(i);
      menu.SetChecked(i, true);
    } else {
      menu.SetChecked(i, false);
    }
  }
}

void SaveLogLevel(platform::SettingsStore& store, const LogLevelMenu& menu) {
  for (int i = 0; i <= LogLevelMenu::kLastVisitedIndex && menu.Exists(i); ++i) {
    if (menu.IsChecked(i)) store.Write(kGeneralSection, kDebugLevelKey, std::to_string(i));
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
