#pragma once
// frmProgress without the window: the first activation starts the print run once, the outcome
// closes the window or turns it into a report, the button stops the run or closes the report,
// and the timer blinks the warning. From the window's showing until the run has ended, the run
// holds the session (the machine awake, the session's end refused).

#include <functional>
#include <string>
#include <vector>

#include "printing/print_run.h"
#include "printing/progress_services.h"
#include "printing/run_session_hold.h"

namespace velmok {

// The result of the last run as the print commands read it: -1 failed or stopped, otherwise the
// number of documents printed; and the documents of the run, with the path by which ClarisWorks is
// handed each of them.
struct PrintState {
  std::vector<std::string> TargetFiles;
  std::vector<std::string> ClarisPaths;
  int LastPrintResult = 0;
};

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void MakeTopmost() = 0;
  virtual void SetWarningText(std::string_view text) = 0;
  virtual void SetWarningVisible(bool visible) = 0;
  virtual void SetButton(std::string_view caption, bool enabled) = 0;
  virtual void RemoveCloseItem() = 0;
  // Closes the window once the current handler has returned.
  virtual void PostClose() = 0;
  virtual void Close() = 0;
};

class FrmProgressLogic {
 public:
  // `run` carries out the print run (PrintSub) and returns its outcome.
  FrmProgressLogic(ProgressView& view, ProgressServices& services, PrintState& state, RunSessionHold& session,
                   std::function<bool(int& printedCount)> run)
      : view_(view), services_(services), state_(state), session_(session), run_(std::move(run)) {}

  void Form_Load();
  void Form_Activate();
  // The window is gone: a run that never started holds nothing any more.
  void Form_Unload() { session_.Release(); }
  void Form_Paint() { view_.RemoveCloseItem(); }
  void Timer1_Timer();
  void cmdCancel_Click();
  // The session is asked whether it may end (log-off, shut-down, an installer's Restart Manager):
  // not while a run is under way, which goes on. A question is only a question (the Restart
  // Manager, or a user who then cancels the shut-down, lets the session go on): the run stops only
  // when the session really ends. True when the session may end.
  bool QueryEndSession() const { return session_.SessionMayEnd(); }
  // The session ends whatever was answered, or the program is told to quit: a run under way is
  // stopped before its next keystroke.
  void StopForGood() { RequestStop(); }

  bool FirstActivation() const { return firstActivation_; }
  bool Running() const { return running_; }
  bool WarningVisible() const { return warningVisible_; }
  const std::string& ButtonCaption() const { return buttonCaption_; }
  // Whether a close of the window now comes from the program itself (not the frame or Alt+F4).
  bool CloseAllowed() const { return closeAllowed_; }

 private:
  void RequestStop();

  ProgressView& view_;
  ProgressServices& services_;
  PrintState& state_;
  RunSessionHold& session_;
  std::function<bool(int&)> run_;
  bool firstActivation_ = false;
  bool running_ = false;
  bool warningVisible_ = true;
  bool closeAllowed_ = false;
  std::string buttonCaption_;
};

}  // namespace velmok
