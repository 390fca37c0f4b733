#pragma once
// frmMain: the program's one document window. It holds the print list (lvwPrintFiles), the menu
// bar and the list's pop-up menu, the toolbar strip and the status bar, and shows what the
// window's logic (FrmMainLogic) decides.

#include <windows.h>

#include <ole2.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "intake/print_list.h"
#include "mainwindow/frm_main_logic.h"
#include "mainwindow/main_view.h"
#include "mainwindow/search_status.h"
#include "mainwindow/win32/print_list_view.h"
#include "mainwindow/win32/toolbar_strip.h"
#include "platform/clipboard.h"
#include "platform/settings_store.h"
#include "platform/win32/scoped.h"

namespace velmok::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"VELMOK.frmMain";

struct FrmMainServices {
  PrintList& list;
  platform::SettingsStore& settings;
  platform::ClipboardFiles& clipboard;
};

class FrmMain final : public MainView {
 public:
  FrmMain(HINSTANCE instance, FrmMainServices services, MainWindowHandlers& handlers);
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;
  ~FrmMain() override;

  // Creates the window, runs its load and shows it. `startupIntake` takes the command line's
  // paths into the list as the last step of the load; it ends with RefreshMenus. `onDrop`
  // receives what is dropped onto the list.
  using DropHandler = std::function<void(const std::optional<std::vector<std::string>>&)>;
  bool Create(int show, std::function<void()> startupIntake = {}, DropHandler onDrop = {});

  // The message loop of the program; returns when the main window is gone.
  int RunMessageLoop();
  // Lets one pending message through the window's accelerators and dispatches it.
  bool PumpOne(MSG& msg);

  // While a print run holds the program the window is hidden and disabled, so that no input
  // reaches it; commands that are posted or sent to it do nothing (FrmMainLogic).
  void HideForPrintRun();
  void ShowAfterPrintRun();

  HWND Handle() const { return hwnd_; }
  HWND ListHandle() const { return listView_ ? listView_->Handle() : nullptr; }
  HWND StatusHandle() const { return status_; }
  HWND ToolbarHandle() const { return strip_.Toolbar(); }
  HWND StripHandle() const { return strip_.Handle(); }
  HMENU MenuBar() const { return menuBar_; }
  HMENU PopupMenu() const { return GetSubMenu(popup_.Get(), 0); }
  FrmMainLogic& Logic() { return *logic_; }
  UINT Dpi() const { return dpi_; }
  float Tx() const { return 1440.0f / static_cast<float>(dpi_); }

  // MainView
  void SetEnabled(int id, bool enabled) override;
  void SetChecked(int id, bool checked) override;
  void SetListMode(ListMode mode) override;
  void SetStatusText(std::string_view text) override;
  void ShowSearchStatus(std::string_view text) override;
  void BeginSearch() override;
  void SearchGoesOn() override;
  void ListChanged() override;
  void SetBusy(bool busy) override;
  void ShowPopupMenu() override;
  void CloseWindow() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateChildren();
  void Load();
  void Unload();
  void LayOut();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void ClipboardWatch();
  void ShowPopupMenuAt(POINT screen);

  HINSTANCE instance_;
  FrmMainServices services_;
  std::function<void()> startupIntake_;
  IDropTarget* dropTarget_ = nullptr;
  MainWindowHandlers& handlers_;
  std::unique_ptr<FrmMainLogic> logic_;
  std::unique_ptr<PrintListView> listView_;
  ToolbarStrip strip_;
  HWND hwnd_ = nullptr;
  HWND status_ = nullptr;
  HMENU menuBar_ = nullptr;  // owned by the window
  ScopedMenu popup_;
  HACCEL accelerators_ = nullptr;
  UINT dpi_ = 96;
  bool placing_ = false;  // the stored placement is being applied
  bool busy_ = false;
  DropHandler onDrop_;
  std::deque<std::optional<std::vector<std::string>>> dropped_;  // drops not yet taken in
  SearchStatusThrottle searchStatus_{[this](std::string_view text) {
    SetStatusText(text);
    UpdateWindow(status_);
  }};
};

}  // namespace velmok::win32
