#pragma once
// The print commands' windows: the main window and the progress window of this program.

#include <windows.h>

#include "mainwindow/win32/frm_main.h"
#include "printing/print_commands.h"
#include "printing/win32/frm_progress.h"

namespace velmok::win32 {

// The main window hidden and disabled while the modal progress window holds the run; its status
// line reports the outcome.
class Win32PrintSession final : public PrintSession {
 public:
  Win32PrintSession(FrmMain& main, FrmProgress& progress) : main_(main), progress_(progress) {}

  void HideMainWindow() override { main_.HideForPrintRun(); }
  void ShowProgressModal() override { progress_.ShowModal(); }
  void ShowMainWindow() override { main_.ShowAfterPrintRun(); }
  void SetStatusText(std::string_view text) override { main_.SetStatusText(text); }

 private:
  FrmMain& main_;
  FrmProgress& progress_;
};

}  // namespace velmok::win32
