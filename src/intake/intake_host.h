#pragma once
// What the intake shows in the window whose list it fills. The main window's view is one (it
// shows more besides), so each of these is implemented once, by the window.

#include <string_view>

namespace velmok {

class IntakeHost {
 public:
  virtual ~IntakeHost() = default;
  // The status line.
  virtual void SetStatusText(std::string_view text) = 0;
  // The folder being searched, shown at once while no window messages are handled. Texts that
  // follow each other faster than anyone can read them may be left out.
  virtual void ShowSearchStatus(std::string_view text) = 0;
  // A new path of an intake begins: its first folder is shown at once.
  virtual void BeginSearch() = 0;
  // The walk goes on inside or after a folder: a text left out a moment ago may be due now.
  virtual void SearchGoesOn() = 0;
  // The entries, their order or their selection marks changed: the list is shown afresh.
  virtual void ListChanged() = 0;
  // Busy: the window takes no input and shows the hourglass until SetBusy(false).
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace velmok
