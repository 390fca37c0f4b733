#pragma once
// Stand-ins for the parts a benchmark does not measure.

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/command_state.h"
#include "mainwindow/frm_main_logic.h"
#include "mainwindow/main_view.h"
#include "platform/clipboard.h"
#include "platform/log_file.h"

namespace velmok::bench {

class NoLogFile final : public platform::LogFile {
 public:
  bool AppendLine(std::string_view) override { return false; }
  std::optional<platform::LocalDate> CreationDate() override { return std::nullopt; }
  void SetCreationTime(const platform::LocalDateTime&) override {}
  void Delete() override {}
};

class NoClipboard final : public platform::ClipboardFiles {
 public:
  bool OffersFileList() override { return false; }
  std::optional<std::vector<std::string>> FileList() override { return std::nullopt; }
};

class NoHandlers final : public MainWindowHandlers {
 public:
  void Paste() override {}
  void ShowFileProperty(const std::string&) override {}
  void PrintAll() override {}
  void PrintSelected() override {}
  void SendMail() override {}
  void OpenMakersWebPage() override {}
  void ShowAbout() override {}
  void LogLevelChosen(int) override {}
  void RestoreLogLevel() override {}
  void SaveLogLevel() override {}
  bool PrintRunUnderWay() const override { return false; }
  bool PrintRunHoldsSession() const override { return false; }
};

// A view that shows nothing and counts the enabled states it is given; RefreshMenus recomputes the
// command states of `list`, as the window's logic does after an intake.
class SilentView final : public MainView {
 public:
  int calls = 0;
  const PrintList* list = nullptr;
  void SetEnabled(int, bool) override { ++calls; }
  void RefreshMenus() {
    if (list) velmok::RefreshMenus(*list, [this](int id, bool on) { SetEnabled(id, on); });
  }
  std::function<void()> CommandsFollow() {
    return [this] { RefreshMenus(); };
  }
  void SetChecked(int, bool) override {}
  void SetListMode(ListMode) override {}
  void SetStatusText(std::string_view) override {}
  void ShowSearchStatus(std::string_view) override {}
  void BeginSearch() override {}
  void SearchGoesOn() override {}
  void ListChanged() override {}
  void SetBusy(bool) override {}
  void ShowPopupMenu() override {}
  void CloseWindow() override {}
};

}  // namespace velmok::bench
