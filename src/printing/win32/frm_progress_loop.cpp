// frmProgress shown modally: its own message loop until the window is gone, and the event pump and
// the sleep through which the run, which executes inside that loop, lets the window live.

#include "printing/win32/frm_progress.h"
#include "printing/win32/stop_press_win32.h"

namespace velmok::win32 {

void FrmProgress::ShowModal() {
  quitRequested_ = false;
  startPosted_ = false;
  if (!CreateWindowAndControls()) {
    state_.LastPrintResult = -1;
    return;
  }
  BeginSessionDuties();
  logic_.Form_Load();
  SetTimer(hwnd_, kBlinkTimer, 500, nullptr);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(txtStatus_);
  // The run starts at the first activation; should the window not be activated, it starts anyway.
  StartRunOnce();

  MSG msg;
  while (hwnd_ && IsWindow(hwnd_)) {
    if (quitRequested_ && !logic_.Running()) {
      EndForQuit();
      break;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      QuitRequested(static_cast<int>(msg.wParam));
      continue;
    }
    if (got < 0) break;
    Dispatch(msg);
  }
}

// The program is to end: the report is not waited for, and the quit goes on to the main loop.
void FrmProgress::EndForQuit() {
  if (hwnd_ && IsWindow(hwnd_)) {
    KillTimer(hwnd_, kBlinkTimer);
    DestroyWindow(hwnd_);
  }
  PostQuitMessage(quitCode_);
}

void FrmProgress::QuitRequested(int code) {
  quitRequested_ = true;
  quitCode_ = code;
  // No keystroke may follow once nobody is left to see the report.
  logic_.StopForGood();
}

bool FrmProgress::Dispatch(MSG& msg) {
  const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                     (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                     (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK);
  if (input && msg.hwnd && hwnd_ && msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void FrmProgress::PumpPending() {
  const bool stopSeen = services_.CancelRequested();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      QuitRequested(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
    // Once the stop is pressed, the rest (the blink, which under Wine restacks the window through
    // the X server) waits for the next look, which reports the stop first.
    if (!stopSeen && services_.CancelRequested()) return;
  }
}

bool FrmProgress::StopPressWaiting() const { return win32::StopPressWaiting(hwnd_, cmdCancel_); }

void FrmProgress::SleepUnlessStopWaits(int ms) { SleepUnlessStopPressed(hwnd_, cmdCancel_, ms); }

}  // namespace velmok::win32
