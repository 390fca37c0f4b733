#pragma once
// What the main window's logic needs from the window that shows it: what the intake shows (the
// status line, the search, the list, the busy state), and the commands' elements and the view.

#include "intake/intake_host.h"

namespace velmok {

enum class ListMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

class MainView : public IntakeHost {
 public:
  // Menu items, pop-up items and toolbar buttons, by command identifier.
  virtual void SetEnabled(int id, bool enabled) = 0;
  // A check mark on a menu item, or the pressed state of a toolbar check button.
  virtual void SetChecked(int id, bool checked) = 0;

  virtual void SetListMode(ListMode mode) = 0;
  virtual void ShowPopupMenu() = 0;
  virtual void CloseWindow() = 0;
};

}  // namespace velmok
