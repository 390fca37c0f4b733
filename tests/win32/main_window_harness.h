#pragma once
// The real frmMain in the test's own thread, wired as the composition root wires it: the print
// list, the intake over the real file system, a registry settings store on a scratch key under
// HKCU\Software\VelmokTest, a clipboard (fake or real) and handlers that record what the window
// asks the rest of the program to do. Helpers drive the window's controls with messages and read
// their state back, as the user would see it.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_log_levels.h"
#include "core/debug_log.h"
#include "diagnostics/log_level_menu.h"
#include "intake/intake.h"
#include "intake/print_list.h"
#include "mainwindow/frm_main_logic.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/text_collation_win32.h"
#include "support/win32_test_support.h"

namespace velmok::testing {

class MemoryLogFile final : public platform::LogFile {
 public:
  std::vector<std::string> lines;
  bool AppendLine(std::string_view line) override {
    lines.emplace_back(line);
    return false;
  }
  std::optional<platform::LocalDate> CreationDate() override { return std::nullopt; }
  void SetCreationTime(const platform::LocalDateTime&) override {}
  void Delete() override { lines.clear(); }
};

class NullDebugger final : public platform::DebuggerOutput {
 public:
  void Write(std::string_view) override {}
};

class FixedClock final : public platform::Clock {
 public:
  platform::LocalDateTime Now() override { return {2026, 12, 6, 6, 21, 32, 0}; }
  void Sleep(int) override {}
  std::int64_t SteadyMs() override { return 0; }
};

class FakeClipboard final : public platform::ClipboardFiles {
 public:
  bool offers = false;
  std::optional<std::vector<std::string>> files;
  bool OffersFileList() override { return offers; }
  std::optional<std::vector<std::string>> FileList() override { return files; }
};

class RecordingMessageBoxes final : public platform::MessageBoxes {
 public:
  std::vector<std::pair<std::string, Icon>> shown;
  void ShowOk(std::string_view text, Icon icon) override { shown.emplace_back(std::string(text), icon); }
};

class RecordingHandlers final : public MainWindowHandlers {
 public:
  std::vector<std::string> calls;
  std::function<void()> onPaste;
  std::function<void(const std::string&)> onProperty;

  void Paste() override {
    calls.push_back("Paste");
    if (onPaste) onPaste();
  }
  void ShowFileProperty(const std::string& path) override {
    calls.push_back("Property " + path);
    if (onProperty) onProperty(path);
  }
  void PrintAll() override { calls.push_back("PrintAll"); }
  void PrintSelected() override { calls.push_back("PrintSelected"); }
  void SendMail() override { calls.push_back("SendMail"); }
  void OpenMakersWebPage() override { calls.push_back("Web"); }
  void ShowAbout() override { calls.push_back("About"); }
  // The log level, as the program's composition root performs it.
  LogLevelMenu* logLevels = nullptr;
  DebugLog* log = nullptr;
  void LogLevelChosen(int index) override { mnuDebug_LoggingLevel_Click(index, *logLevels, *log); }
  void RestoreLogLevel() override { velmok::RestoreLogLevel(*logLevels, *log); }
  void SaveLogLevel() override { velmok::SaveLogLevel(*logLevels); }
  bool printRunUnderWay = false;
  bool PrintRunUnderWay() const override { return printRunUnderWay; }
  bool PrintRunHoldsSession() const override { return printRunUnderWay; }
};

// HKCU\Software\VelmokTest\<test name>-<process id>, removed with everything below it.
class ScratchSettings {
 public:
  ScratchSettings();
  ~ScratchSettings();
  ScratchSettings(const ScratchSettings&) = delete;
  ScratchSettings& operator=(const ScratchSettings&) = delete;

  win32::RegistrySettingsStore& Store() { return store_; }
  const std::wstring& Root() const { return root_; }
  void Write(const std::string& section, const std::string& key, const std::string& value) {
    store_.Write(section, key, value);
  }
  std::optional<std::string> Read(const std::string& section, const std::string& key) {
    return store_.Read(section, key);
  }

 private:
  std::wstring root_;
  win32::RegistrySettingsStore store_;
};

struct HarnessOptions {
  platform::ClipboardFiles* clipboard = nullptr;  // a FakeClipboard of the harness when null
  platform::FileSystem* files = nullptr;          // the real file system when null
  platform::MessageBoxes* messages = nullptr;     // the harness's recording boxes when null
  std::string commandLine;                        // the argument text of the start-up intake
  bool wireDrop = true;
};

class MainWindowHarness {
 public:
  explicit MainWindowHarness(ScratchSettings& settings, HarnessOptions options = {});
  ~MainWindowHarness();
  MainWindowHarness(const MainWindowHarness&) = delete;
  MainWindowHarness& operator=(const MainWindowHarness&) = delete;

  bool Created() const { return created_; }
  win32::FrmMain& Frm() { return *frm_; }
  HWND Main() const { return frm_->Handle(); }
  HWND ListView() const { return frm_->ListHandle(); }
  HWND StatusBar() const { return frm_->StatusHandle(); }
  HWND Toolbar() const { return frm_->ToolbarHandle(); }
  HWND Strip() const { return frm_->StripHandle(); }
  PrintList& Model() { return list_; }
  RecordingHandlers& Handlers() { return handlers_; }
  FakeClipboard& OwnClipboard() { return ownClipboard_; }
  RecordingMessageBoxes& Messages() { return messages_; }
  MemoryLogFile& LogLines() { return logFile_; }
  int DebugLevel() const { return log_.DebugLevel(); }

  // Lets every pending message through the window's accelerators, as the program's loop does.
  void Pump();
  // Pumps until the condition holds; false when it did not within the time.
  bool PumpUntil(const std::function<bool()>& condition, Millis timeout = 3s);

  // Closes the window as its close box does (the unload saves the settings).
  void Close();

  // WM_COMMAND from a menu item (code 0) or an accelerator (code 1).
  void Command(int id, int code = 0);

  std::wstring StatusText() const;

  // The list view, as the control shows it (texts come from LVN_GETDISPINFO).
  int ItemCount() const;
  std::wstring ItemText(int item, int subItem) const;
  std::vector<std::wstring> ColumnTexts(int subItem) const;
  std::vector<int> SelectedItems() const;
  int FocusedItem() const;
  DWORD View() const;
  void SetItemState(int item, UINT state, UINT mask);

  // Mouse presses and releases as the control reports them. `item` -1 is the empty space below the
  // last row.
  POINT ItemPoint(int item) const;
  POINT EmptyPoint() const;
  void LeftClick(POINT at, WPARAM keys = 0);
  // The release is queued before the press, because the control waits for it inside the press.
  void RightClick(POINT at);
  void MiddleClick(POINT at);

  // Menu items of the menu bar and of the pop-up menu by command.
  bool MenuBarEnabled(int id) const;
  bool MenuBarChecked(int id) const;
  bool PopupEnabled(int id) const;
  bool PopupChecked(int id) const;
  bool ButtonEnabled(int id) const;
  bool ButtonChecked(int id) const;
  // A click on a toolbar button, as the user's mouse makes it.
  void ClickButton(int id);

  // Adds files through the intake, as a drop would.
  void Add(const std::wstring& path) { intake_->AddClarisFile(U8(path)); }

 private:
  FakeClipboard ownClipboard_;
  MemoryLogFile logFile_;
  NullDebugger debugger_;
  FixedClock clock_;
  DebugLog log_{logFile_, debugger_, clock_};
  win32::Win32TextCollation collation_;
  PrintList list_{collation_};
  RecordingHandlers handlers_;
  std::unique_ptr<MainWindowLogLevels> logLevelItems_;
  std::unique_ptr<LogLevelMenu> logLevels_;
  RecordingMessageBoxes messages_;
  win32::Win32FileSystem realFiles_;
  std::unique_ptr<win32::FrmMain> frm_;
  std::unique_ptr<velmok::Intake> intake_;
  bool created_ = false;
  bool oleInitialised_ = false;
};

// Sends keys as the keyboard does (SendInput) to the foreground window; modifiers first.
void PressKeys(std::initializer_list<WORD> keys);

// The pop-up menu while it is open: frmMain's TrackPopupMenu runs its own loop; the probe watches
// the owner's WM_ENTERIDLE (sent once the menu waits for input), takes a snapshot and then either
// dismisses the menu or types the given access keys into it.
class PopupMenuProbe {
 public:
  PopupMenuProbe(HWND owner, HMENU popup);
  ~PopupMenuProbe();
  PopupMenuProbe(const PopupMenuProbe&) = delete;
  PopupMenuProbe& operator=(const PopupMenuProbe&) = delete;

  // Characters typed into the open menu (access keys); empty dismisses it.
  void TypeWhenOpen(std::wstring keys) { keys_ = std::move(keys); }
  // The menu is dismissed by the Escape key, sent as the keyboard sends it, rather than by EndMenu.
  void DismissWithEscapeKey() { escapeKey_ = true; }
  // Runs each time the menu is open and waiting, before it is dismissed.
  void OnOpen(std::function<void()> callback) { onOpen_ = std::move(callback); }

  int Opened() const { return opened_; }
  // The enabled state of a pop-up item at the moment the menu was open.
  bool EnabledWhenOpen(int id) const;
  bool MenuWindowWasVisible() const { return menuWindowVisible_; }

 private:
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) noexcept;

  HWND owner_;
  HMENU popup_;
  std::wstring keys_;
  bool escapeKey_ = false;
  std::function<void()> onOpen_;
  int opened_ = 0;
  bool menuWindowVisible_ = false;
  std::vector<std::pair<int, bool>> snapshot_;
};

}  // namespace velmok::testing
