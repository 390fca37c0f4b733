#pragma once
// The simulator's host on Windows: it shows what the simulator asks for, runs its timers, writes the
// journals, sets off the faults, and judges every key the message loop takes before it is
// dispatched.

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "clw4sim/journal_file_win32.h"
#include "clw4sim/knobs.h"
#include "clw4sim/main_window_win32.h"
#include "clw4sim/panel_window_win32.h"
#include "clw4sim/simulator.h"

namespace clw4sim {

class Application final : public Host, private MainWindow::Events {
 public:
  explicit Application(Knobs knobs);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application() override;

  // Shows the main window (active, in the foreground) and opens the document given, if any.
  bool Start(const std::string& commandLinePath);
  // Journals and judges a keyboard message; true when it has been dealt with (not to be
  // translated and dispatched by the loop).
  bool PreTranslate(const MSG& msg);
  void Log(std::string_view line) override;

 private:
  // Host
  void Show(Surface surface, const Document* document) override;
  void Hide(Surface surface) override;
  void ShowFrame(bool shown) override;
  void ShowDocument(const Document* document) override;
  void ShowStatus(std::string_view status) override;
  void StartTimer(Timer timer, unsigned ms) override;
  std::string OpenDialogText() override;
  bool FileExists(const std::string& path) override;
  bool FileIsReadOnly(const std::string& path) override;
  void AppendPrintJournal(const std::string& path) override;
  void WriteSpoolJob(const Document& document) override;
  void Beep() override;
  void Block(unsigned ms) override;
  void StartFocusThief(unsigned holdMs) override;
  void Crash() override;
  void Hang() override;
  void Quit() override;

  // MainWindow::Events
  void OnTimerElapsed(Timer timer) override;
  void OnHandedOver(const std::string& path) override;
  void OnActivated() override;
  void OnCloseRequested() override;

  // A key that came while the program was busy: its message and its event as it was queued.
  struct WaitingKey {
    MSG msg;
    MSG leadByte;  // an ANSI character's first byte, when it has two (message 0 otherwise)
    KeyEvent event;
  };
  void Judge(const WaitingKey& key, bool late);
  void TakeWaitingKeys();
  void Deliver(const WaitingKey& key);
  // The event of a keyboard message; for ANSI windows a character of two bytes comes as two
  // messages and makes one event (false for its first byte, which is kept until the second).
  bool EventOf(const MSG& msg, WaitingKey& key);

  Surface SurfaceOf(HWND window) const;
  PanelWindow* ModalPanel() const;
  bool ForegroundIsOurs() const;
  void ActivateNextWindow();

  static constexpr std::size_t kPanelCount = 5;  // the surfaces above the main window
  Knobs knobs_;
  KeyJournal keys_;
  EventLog log_;
  MainWindow main_;
  bool frameShown_ = false;   // the main window has been shown (and is not hidden now)
  bool everShown_ = false;
  std::array<std::unique_ptr<PanelWindow>, kPanelCount> panels_;
  Simulator simulator_;
  std::vector<WaitingKey> waiting_;
  MSG leadByte_{};
};

}  // namespace clw4sim
