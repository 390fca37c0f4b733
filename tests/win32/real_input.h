#pragma once
// A person's mouse and keyboard: every move, press and key goes through SendInput, as the hardware's
// would, and reaches the windows of this thread through its message queue. Each action returns
// once the windows have taken every release it made (a low-level look at the messages retrieved,
// whichever loop retrieved them: the program's, a list's drag detection, a menu's), and the queue
// has been pumped empty.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/win32_test_support.h"

namespace velmok::testing {

class RealInput {
 public:
  // `pump` lets the waiting messages through the program's own loop (its accelerators too).
  explicit RealInput(std::function<void()> pump);
  ~RealInput();
  RealInput(const RealInput&) = delete;
  RealInput& operator=(const RealInput&) = delete;

  // Moves the pointer to a screen point; true once the system reports it there.
  bool MoveTo(POINT screen);
  // Clicks a button (1 left, 2 right, 4 middle) `count` times at a screen point, holding the
  // modifier keys (VK_CONTROL, VK_SHIFT) meanwhile. Two clicks are a double-click.
  bool Click(POINT screen, int button, const std::vector<WORD>& modifiers = {}, int count = 1);
  // Presses the keys in order and releases them in reverse (a chord such as Ctrl+A), and then
  // the next chords, one after another.
  bool Keys(std::initializer_list<WORD> chord);
  bool Keys(std::initializer_list<std::initializer_list<WORD>> chords);
  // Waits until every release made so far has been taken and nothing is left to handle.
  bool Settle(Millis timeout = 3s);

  // For code that runs inside a modal loop of this thread (an open menu): a key's press and release,
  // sent without waiting; the action that opened the loop waits for it.
  static void TapFromInside(WORD key);

  // Why the last action that returned false failed.
  const std::string& Failure() const { return failure_; }

 private:
  bool WaitForModifiers(const std::vector<WORD>& keys, bool down);

  bool Fail(std::string why);

  std::function<void()> pump_;
  HHOOK hook_ = nullptr;
  POINT start_{};
  std::string failure_;
};

}  // namespace velmok::testing
