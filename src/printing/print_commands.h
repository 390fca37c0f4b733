#pragma once
// Print all and print selected: from the user's choice in the main window to a print run in the
// progress window, and the report of its outcome.

#include <string>
#include <vector>

#include "intake/print_list.h"
#include "platform/ansi_paths.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "printing/frm_progress_logic.h"
#include "printing/probes.h"

namespace velmok {

// What the print commands ask of the windows: the main window hidden and shown again around the
// modal progress window, in which the run happens, and the main window's status line.
class PrintSession {
 public:
  virtual ~PrintSession() = default;
  // Hides the main window and keeps it from taking input until it is shown again.
  virtual void HideMainWindow() = 0;
  // Returns when the progress window has been closed.
  virtual void ShowProgressModal() = 0;
  virtual void ShowMainWindow() = 0;
  virtual void SetStatusText(std::string_view text) = 0;
};

class PrintCommands {
 public:
  PrintCommands(const PrintList& list, ClarisProbes& probes, platform::FileSystem& files,
                platform::AnsiPaths& ansiPaths, platform::MessageBoxes& messages, PrintSession& session,
                PrintState& state)
      : list_(list),
        probes_(probes),
        files_(files),
        ansiPaths_(ansiPaths),
        messages_(messages),
        session_(session),
        state_(state) {}

  void mnuPrint_AllPrint_Click() { Print(false); }
  void mnuPrint_SelectedPrint_Click() { Print(true); }
  void mnuListViewPopup_SelectedPrint_Click() { mnuPrint_SelectedPrint_Click(); }
  // Hides the main window, shows the progress window (whose run prints TargetFiles), shows the
  // main window again and reports the outcome.
  void ExecPrint();

  // From the moment the main window is hidden for a run until the outcome has been reported. Every
  // command of the main window that arrives meanwhile (posted by another program, say) does nothing.
  bool RunUnderWay() const { return runUnderWay_; }

 private:
  void Print(bool selectedOnly);
  // Finds the path by which ClarisWorks can be handed each document; false (after the refusal)
  // when a document is no longer there as a file, bears a device's name, or has no such path.
  bool PlanHandOver();

  const PrintList& list_;
  ClarisProbes& probes_;
  platform::FileSystem& files_;
  platform::AnsiPaths& ansiPaths_;
  platform::MessageBoxes& messages_;
  PrintSession& session_;
  PrintState& state_;
  bool runUnderWay_ = false;
};

}  // namespace velmok
