#include "printing/frm_progress_logic.h"

#include "core/texts.h"

namespace velmok {

void FrmProgressLogic::Form_Load() {
  // A run about to start counts as under way.
  session_.Hold();
  view_.MakeTopmost();
  firstActivation_ = true;
  running_ = false;
  // Each showing of the window is one run. The stop is cleared here rather than at the first
  // activation, so that the button pressed in the instant before the run starts is not lost.
  services_.SetCancelRequested(false);
  closeAllowed_ = false;
  warningVisible_ = true;
  buttonCaption_ = texts::kProgressStopButton;
  view_.SetWarningText(texts::kProgressWarning);
  view_.SetWarningVisible(true);
  view_.SetButton(buttonCaption_, true);
}

void FrmProgressLogic::Form_Activate() {
  // Only the first activation after loading starts a run, and never one beside another.
  if (!firstActivation_ || running_) return;
  running_ = true;
  int printed = 0;
  const bool ok = run_(printed);
  // Its report, or the message that all went well, holds nothing: a log-off at 2 a.m. after a
  // failed run goes ahead.
  session_.Release();
  if (ok) {
    state_.LastPrintResult = printed;
    closeAllowed_ = true;
    view_.PostClose();
  } else {
    state_.LastPrintResult = -1;
    view_.SetWarningText(texts::kProgressInterrupted);
    buttonCaption_ = texts::kProgressCloseButton;
    view_.SetButton(buttonCaption_, true);
  }
  firstActivation_ = false;
  running_ = false;
}

void FrmProgressLogic::Timer1_Timer() {
  warningVisible_ = !warningVisible_;
  view_.SetWarningVisible(warningVisible_);
}

void FrmProgressLogic::cmdCancel_Click() {
  if (buttonCaption_ == texts::kProgressCloseButton) {
    closeAllowed_ = true;
    view_.Close();
    return;
  }
  RequestStop();
}

void FrmProgressLogic::RequestStop() {
  if (buttonCaption_ == texts::kProgressCloseButton) return;  // the run has ended already
  services_.SetCancelRequested(true);
  view_.SetButton(buttonCaption_, false);
}

}  // namespace velmok
