#pragma once
// Where the log-level menu meets the main window: its two items are the window's menu items, and
// its stored level is one of the window's per-user settings.

#include <string>

#include "diagnostics/log_level_menu.h"
#include "mainwindow/main_view.h"
#include "mainwindow/settings.h"
#include "platform/settings_store.h"
#include "resource.h"

namespace velmok {

class MainWindowLogLevels final : public LogLevelHost {
 public:
  MainWindowLogLevels(MainView& view, platform::SettingsStore& settings) : view_(view), settings_(settings) {}

  void SetItemChecked(int index, bool checked) override { view_.SetChecked(IDM_DEBUG_LOGGINGLEVEL0 + index, checked); }
  std::optional<double> StoredLevel() override { return ReadStoredLogLevel(settings_); }
  void StoreLevel(int level) override { settings_.Write(kGeneralSection, kDebugLevelKey, std::to_string(level)); }

 private:
  MainView& view_;
  platform::SettingsStore& settings_;
};

}  // namespace velmok
