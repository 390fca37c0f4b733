#pragma once
// What the main window's logic needs from the window that shows it.

#include <string_view>

namespace velmok {

enum class ListMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

class MainView {
 public:
  virtual ~MainView() = default;

  // Menu items, pop-up items and toolbar buttons, by command identifier.
  virtual void SetEnabled(int id, bool enabled) = 0;
  // A check mark on a menu item, or the pressed state of a toolbar check button.
  virtual void SetChecked(int id, bool checked) = 0;

  virtual void SetListMode(ListMode mode) = 0;
  // The status panel "info".
  virtual void SetStatusText(std::string_view text) = 0;
  // Shows the folder being searched at once, while no window messages are being processed. A
  // view may leave out texts that follow each other faster than anyone can read them.
  virtual void ShowSearchStatus(std::string_view text) = 0;
  // A new path of an intake begins: its first folder is shown at once.
  virtual void BeginSearch() = 0;
  // The walk goes on inside or after a folder: a text left out a moment ago may be due now.
  virtual void SearchGoesOn() = 0;

  // The entries, their order or their selection marks changed: show the model afresh.
  virtual void ListChanged() = 0;

  // Busy: the window is disabled and shows the hourglass until SetBusy(false).
  virtual void SetBusy(bool busy) = 0;
  virtual void ShowPopupMenu() = 0;
  virtual void CloseWindow() = 0;
};

}  // namespace velmok
