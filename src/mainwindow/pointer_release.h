#pragma once
// Which button releases the list reports, whatever way the control takes a press: Windows' list
// runs a loop of its own until the release and reports a click from there, or reports nothing
// when the press became a drag or a rubber-band selection; Wine's reports the click when the
// release message arrives. Every press is followed by exactly one reported release.

#include <functional>

namespace velmok {

class PointerRelease {
 public:
  explicit PointerRelease(std::function<void(int button)> released) : released_(std::move(released)) {}

  // A button (1 left, 2 right, 4 middle) was pressed, the second press of a double press too. A
  // press of another button while one is held ends the first.
  void Pressed(int button);
  // The control reported a click (NM_CLICK, NM_RCLICK) of the button.
  void Clicked(int button) { Release(button); }
  // The control has handled the press; the button may or may not be held still.
  void PressHandled(int button, bool stillDown);
  // A release message of the button reached the list, after the control had handled it.
  void ReleaseArrived(int button) { Release(button); }
  // The list lost the mouse capture: the release may have gone to another window.
  void CaptureLost(bool heldButtonStillDown);

  // The button pressed and not yet reported released; 0 for none.
  int Held() const { return pressed_; }
  bool Active() const { return pressed_ != 0; }

 private:
  void Release(int button);

  std::function<void(int)> released_;
  int pressed_ = 0;
};

}  // namespace velmok
