#pragma once
// Print all and print selected: from the user's choice in the main window to a print run in the
// progress window, and the report of its outcome.

#include <string>
#include <vector>

#include "intake/print_list.h"
#include "mainwindow/main_view.h"
#include "platform/message_box.h"
#include "printing/frm_progress_logic.h"
#include "printing/probes.h"

namespace velmok {

// Hiding and showing the main window around the modal progress window, in which the run happens.
class PrintSession {
 public:
  virtual ~PrintSession() = default;
  virtual void HideMainWindow() = 0;
  // Returns when the progress window has been closed.
  virtual void ShowProgressModal() = 0;
  virtual void ShowMainWindow() = 0;
};

class PrintCommands {
 public:
  PrintCommands(const PrintList& list, MainView& view, ClarisProbes& probes, platform::MessageBoxes& messages,
                PrintSession& session, PrintState& state)
      : list_(list), view_(view), probes_(probes), messages_(messages), session_(session), state_(state) {}

  void mnuPrint_AllPrint_Click() { Print(false); }
  void mnuPrint_SelectedPrint_Click() { Print(true); }
  void mnuListViewPopup_SelectedPrint_Click() { mnuPrint_SelectedPrint_Click(); }
  // Hides the main window, shows the progress window (whose run prints TargetFiles), shows the
  // main window again and reports the outcome.
  void ExecPrint();

 private:
  void Print(bool selectedOnly);

  const PrintList& list_;
  MainView& view_;
  ClarisProbes& probes_;
  platform::MessageBoxes& messages_;
  PrintSession& session_;
  PrintState& state_;
};

}  // namespace velmok
