#include "mainwindow/pointer_release.h"

namespace velmok {

void PointerRelease::Pressed(int button) {
  if (pressed_ != 0 && pressed_ != button) Release(pressed_);
  pressed_ = button;
}

void PointerRelease::PressHandled(int button, bool stillDown) {
  if (!stillDown) Release(button);
}

void PointerRelease::CaptureLost(bool heldButtonStillDown) {
  if (pressed_ != 0 && !heldButtonStillDown) Release(pressed_);
}

void PointerRelease::Release(int button) {
  if (button == 0 || pressed_ != button) return;  // reported already, or not our press
  pressed_ = 0;
  if (released_) released_(button);
}

}  // namespace velmok
