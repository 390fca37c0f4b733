#pragma once
// The main window's behaviour without the window: one controller that answers which commands are
// enabled and performs them, keeps the views, the sort order and the pointer events, and shows
// the print list through a MainView.

#include <string>
#include <unordered_map>

#include "intake/print_list.h"
#include "mainwindow/main_view.h"

namespace velmok {

// The commands that other parts of the program perform.
class MainWindowHandlers {
 public:
  virtual ~MainWindowHandlers() = default;
  virtual void Paste() = 0;
  virtual void ShowFileProperty(const std::string& path) = 0;
  virtual void PrintAll() = 0;
  virtual void PrintSelected() = 0;
  virtual void SendMail() = 0;
  virtual void OpenMakersWebPage() = 0;
  virtual void ShowAbout() = 0;
  // The Debug menu's log level: item `index` chosen; set up from the stored level as the window
  // loads; stored as it unloads.
  virtual void LogLevelChosen(int index) = 0;
  virtual void RestoreLogLevel() = 0;
  virtual void SaveLogLevel() = 0;
  // Whether a print run holds the program (the main window is hidden meanwhile), from the command
  // until its outcome has been reported.
  virtual bool PrintRunUnderWay() const = 0;
  // Whether a print run holds the session: only while the run itself is under way, not while its
  // report or the closing message is shown.
  virtual bool PrintRunHoldsSession() const = 0;
};

class FrmMainLogic final {
 public:
  FrmMainLogic(PrintList& list, MainView& view, MainWindowHandlers& handlers);

  PrintList& List() { return list_; }
  MainView& View() { return view_; }
  ListMode CurrentView() const { return mode_; }

  // WM_COMMAND from a menu item, a pop-up item, an accelerator or a toolbar button. Commands of
  // disabled elements are not performed, nor any command while a print run holds the program:
  // after the run the window is exactly as it was before.
  void Execute(int id);
  // Whether a request to close the window (its close box, Alt+F4, WM_CLOSE from anywhere) or to
  // end the session may be granted now: not while a print run holds the program.
  bool CloseAllowed() const { return !PrintRunUnderWay(); }
  bool PrintRunUnderWay() const { return handlers_.PrintRunUnderWay(); }
  // Log-off or shut-down: asked first (refused only while a run is under way, as the progress
  // window refuses it), then told; the settings are saved as at a close when the session really
  // ends. True when they must be saved now.
  bool QueryEndSession() const { return !handlers_.PrintRunHoldsSession(); }
  static bool SaveAtEndSession(bool ending) { return ending; }
  bool IsEnabled(int id) const;

  // The commands that depend on the list follow it (after an intake too).
  void RefreshMenus();

  void ChangeView(int view);
  void ChangeSortOrder(int key);
  void ColumnClick(int column) { ChangeSortOrder(column); }

  // Pointer events on the list. Buttons: 1 left, 2 right, 4 middle.
  void ListButtonDown(int button);
  void ListItemClick(std::size_t index);
  void ListButtonUp(int button);
  // The user moved the current entry or changed the marks with the keyboard: the command states
  // follow, and the status line shows the current entry as a click would.
  void ListKeyboardSelection();

  // The clipboard watch: the three paste elements follow the clipboard.
  void ClipboardWatch(bool offersFileList);

  void mnuFile_New_Click();
  void mnuEdit_Delete_Click();
  void mnuEdit_AllSelect_Click();
  void mnuEdit_Change_Click();

 private:
  // Enables or disables an element in the window and remembers it, so that commands of disabled
  // elements can be refused.
  void SetEnabled(int id, bool enabled);
  void Perform(int command);
  void ToolbarClick(int buttonId);
  void ShowProperties();

  PrintList& list_;
  MainView& view_;
  std::unordered_map<int, bool> enabled_;
  MainWindowHandlers& handlers_;
  ListMode mode_ = ListMode::Details;
};

}  // namespace velmok
