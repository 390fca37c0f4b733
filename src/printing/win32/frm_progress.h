#pragma once
// frmProgress: the topmost window in which a print run takes place, with the blinking warning,
// the status text, the progress bar and the emergency stop. The object lives as long as the
// program; its window is created for each print command and destroyed when it closes.
//
// Where each part lives:
//   frm_progress.cpp          the window, its controls and their scaling, what the run shows in it
//   frm_progress_loop.cpp     its modal loop, and the event pump and sleep the run uses
//   frm_progress_session.cpp  the night's session duties: the session's questions and its lock
//   stop_press_win32.cpp      the look for a press of the stop button that waits in the queue
//   keep_on_top_win32.cpp     putting the window back on top under Wine

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/event_pump.h"
#include "platform/win32/scoped.h"
#include "platform/win32/session_lock_win32.h"
#include "printing/frm_progress_logic.h"
#include "printing/progress_services.h"
#include "printing/run_session_hold.h"
#include "printing/win32/keep_on_top_win32.h"

namespace velmok::win32 {

inline constexpr wchar_t kProgressWindowClass[] = L"VELMOK.frmProgress";

class FrmProgress final : public ProgressView, public ProgressDisplay, public platform::EventPump {
 public:
  // `run` carries out the print run in this window and reports the documents it completed.
  using Run = std::function<bool(FrmProgress& window, int& printedCount)>;
  // While a run is under way it holds the session through `session`, which this window answers for.
  FrmProgress(HINSTANCE instance, platform::Clock& clock, PrintState& state, RunSessionHold& session, Run run);
  FrmProgress(const FrmProgress&) = delete;
  FrmProgress& operator=(const FrmProgress&) = delete;
  ~FrmProgress() override;

  // Creates and shows the window modally; returns when it has been closed.
  void ShowModal();

  HWND Handle() const { return hwnd_; }
  HWND StatusBox() const { return txtStatus_; }
  HWND StopButton() const { return cmdCancel_; }
  HWND ProgressBar() const { return prgProgress_; }
  HWND WarningLabel() const { return lblStatus_; }
  UINT Dpi() const { return dpi_; }
  ProgressServices& Services() { return services_; }
  // While the window is shown, it tells `lock` when the session is locked and unlocked.
  void WatchSession(SessionLock* lock) { sessionLock_ = lock; }
  FrmProgressLogic& Logic() { return logic_; }

  // ProgressView
  void MakeTopmost() override;
  void SetWarningText(std::string_view text) override;
  void SetWarningVisible(bool visible) override;
  void SetButton(std::string_view caption, bool enabled) override;
  void RemoveCloseItem() override;
  void PostClose() override;
  void Close() override;

  // ProgressDisplay
  void AppendStatus(std::string_view text) override;
  void ReplaceStatus(std::string_view text) override;
  void SetProgress(double value) override;

  // EventPump: every waiting message once, as DoEvents does. Input meant for another window of the
  // program (the hidden main window) is dropped, and a request to quit stops the run first.
  void PumpPending() override;
  // Waits for the slice without handling anything, looking only whether the stop button has been
  // pressed (clicked, its access key, or its command posted), which ends the slice at once.
  void SleepUnlessStopWaits(int ms) override;
  // Whether a press of the stop button waits in the queue, looked at without handling anything.
  bool StopPressWaiting() const;

 private:
  static constexpr UINT kStartRun = WM_APP + 1;
  static constexpr UINT_PTR kBlinkTimer = 1;
  static constexpr int kStopButtonId = 10;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateWindowAndControls();
  void ApplyScaling();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Paint();
  int Px(int twips) const;
  // The run starts once per showing: at the first activation, or when the window is not activated.
  void StartRunOnce();

  // The modal loop.
  bool Dispatch(MSG& msg);
  void QuitRequested(int code);
  void EndForQuit();

  // The session's side of the window, from its creation to its destruction.
  void BeginSessionDuties();
  void EndSessionDuties();
  // WM_QUERYENDSESSION, WM_ENDSESSION, WM_WTSSESSION_CHANGE; false for any other message.
  bool HandleSessionMessage(UINT msg, WPARAM wp, LRESULT& result);

  HINSTANCE instance_;
  PrintState& state_;
  RunSessionHold& session_;
  Run run_;
  ProgressServices services_;
  FrmProgressLogic logic_;
  HWND owner_ = nullptr;  // hidden: keeps the window out of the task bar
  HWND hwnd_ = nullptr;
  HWND lblStatus_ = nullptr;
  HWND txtStatus_ = nullptr;
  HWND prgProgress_ = nullptr;
  HWND cmdCancel_ = nullptr;
  ScopedGdi warningFont_;
  ScopedGdi font_;
  UINT dpi_ = 96;
  SessionLock* sessionLock_ = nullptr;
  KeepOnTopUnderWine keepOnTop_;
  bool startPosted_ = false;    // the run's start is on its way for this showing
  bool quitRequested_ = false;  // WM_QUIT arrived: the program ends once the run has stopped
  int quitCode_ = 0;
};

}  // namespace velmok::win32
