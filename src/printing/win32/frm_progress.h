#pragma once
// frmProgress: the topmost window in which a print run takes place, with the blinking warning,
// the status text, the progress bar and the emergency stop. The object lives as long as the
// program; its window is created for each print command and destroyed when it closes.

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/event_pump.h"
#include "platform/win32/scoped.h"
#include "platform/win32/session_lock_win32.h"
#include "printing/frm_progress_logic.h"
#include "printing/progress_services.h"

namespace velmok::win32 {

inline constexpr wchar_t kProgressWindowClass[] = L"VELMOK.frmProgress";

class FrmProgress final : public ProgressView, public ProgressDisplay, public platform::EventPump {
 public:
  // `run` carries out the print run in this window and reports the documents it completed.
  using Run = std::function<bool(FrmProgress& window, int& printedCount)>;
  FrmProgress(HINSTANCE instance, platform::Clock& clock, PrintState& state, Run run);
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
  void SleepUnlessStopWaits(platform::Clock& clock, int ms) override;
  // Whether a press of the stop button (clicked, its access key, or its command posted) waits in
  // the queue, looked at without handling anything.
  bool StopPressWaiting() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateWindowAndControls();
  void ApplyScaling();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Paint();
  void KeepOnTop();
  int Px(int twips) const;
  bool Dispatch(MSG& msg);
  void QuitRequested(int code);
  void EndForQuit();

  HINSTANCE instance_;
  PrintState& state_;
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
  bool quitRequested_ = false;  // WM_QUIT arrived: the program ends once the run has stopped
  int quitCode_ = 0;
};

}  // namespace velmok::win32
