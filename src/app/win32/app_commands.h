#pragma once
// The main window's commands that the other parts of the program perform, wired together by the
// composition root.

#include <windows.h>

#include "core/debug_log.h"
#include "diagnostics/log_level_menu.h"
#include "diagnostics/win32/diagnostics_commands.h"
#include "intake/intake.h"
#include "mainwindow/frm_main_logic.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/clipboard.h"
#include "printing/print_commands.h"
#include "printing/run_session_hold.h"

namespace velmok::win32 {

class AppCommands final : public MainWindowHandlers {
 public:
  struct Parts {
    Intake* intake = nullptr;
    platform::ClipboardFiles* clipboard = nullptr;
    FrmMain* frmMain = nullptr;
    PrintCommands* print = nullptr;
    const RunSessionHold* runSession = nullptr;
    DiagnosticsCommands* diagnostics = nullptr;
    LogLevelMenu* logLevels = nullptr;
    DebugLog* log = nullptr;
  };
  void Wire(Parts parts) { parts_ = parts; }

  void Paste() override;
  void ShowFileProperty(const std::string& path) override;
  void PrintAll() override;
  void PrintSelected() override;
  void SendMail() override;
  void OpenMakersWebPage() override;
  void ShowAbout() override;
  void LogLevelChosen(int index) override;
  void RestoreLogLevel() override;
  void SaveLogLevel() override;
  bool PrintRunUnderWay() const override { return parts_.print && parts_.print->RunUnderWay(); }
  bool PrintRunHoldsSession() const override { return parts_.runSession && parts_.runSession->Held(); }

 private:
  HWND Owner() const { return parts_.frmMain ? parts_.frmMain->Handle() : nullptr; }
  Parts parts_;
};

}  // namespace velmok::win32
