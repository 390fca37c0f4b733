// frmProgress and the night around a run: the session's questions whether it may end (refused only
// while the run is under way, as the run's hold of the session says), the session's real end (the
// run stops before its next key), and the word of a locked or disconnected session, which holds the
// keys. The machine is kept awake by the same hold, from the window's showing to the run's end.

#include "printing/win32/frm_progress.h"

#include <wtsapi32.h>

namespace velmok::win32 {

void FrmProgress::BeginSessionDuties() {
  session_.AddWindow(reinterpret_cast<platform::WindowId>(hwnd_));
  if (sessionLock_) sessionLock_->Watch(hwnd_);
}

void FrmProgress::EndSessionDuties() {
  if (sessionLock_) sessionLock_->Unwatch(hwnd_);
  // A window gone before its run started (the program told to quit) holds nothing any more.
  logic_.Form_Unload();
  session_.RemoveWindow(reinterpret_cast<platform::WindowId>(hwnd_));
}

bool FrmProgress::HandleSessionMessage(UINT msg, WPARAM wp, LRESULT& result) {
  switch (msg) {
    case WM_QUERYENDSESSION:
      // Refused with the reason the hold gave every window of the program.
      result = logic_.QueryEndSession() ? TRUE : FALSE;
      return true;
    case WM_ENDSESSION:
      if (wp) logic_.StopForGood();
      result = 0;
      return true;
    case WM_WTSSESSION_CHANGE:
      if (sessionLock_) sessionLock_->OnSessionChange(wp);
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace velmok::win32
