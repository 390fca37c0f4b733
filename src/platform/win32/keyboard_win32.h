#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/keyboard.h"
#include "platform/key_notation.h"

namespace velmok::win32 {

// The input events that type `strokes`: shortcuts (a key with Ctrl, Shift or Alt) and named keys as
// virtual keys, plain characters as Unicode characters, so that Japanese text and every symbol
// arrive whatever the keyboard layout or input method. nullopt when a shortcut's key has no
// virtual key on this layout.
std::optional<std::vector<INPUT>> BuildKeyInputs(const std::vector<KeyStroke>& strokes);

// The key-up events that release what the first `sent` of `inputs` pressed and did not release,
// last pressed first released.
std::vector<INPUT> ReleasesFor(const std::vector<INPUT>& inputs, std::size_t sent);

// How many of the keystrokes typed by `inputs` took effect when only the first `sent` events went
// out: a keystroke acts once all its keys are down (a character as its key goes down, a shortcut as
// its letter joins the modifiers), whether or not they were released.
std::size_t StrokesTaken(const std::vector<INPUT>& inputs, std::size_t sent);

// Whether the user holds Shift, Ctrl, Alt or a Windows key.
bool UserHoldsAModifier();

class SessionLock;

class Win32Keyboard final : public platform::Keyboard {
 public:
  // `lock` tells whether the session can take keys; without one, only the input desktop does.
  explicit Win32Keyboard(SessionLock* lock = nullptr) : lock_(lock) {}
  // The wait for keys to be taken ends early once `giveUp` says so (the stop button pressed: no
  // key follows, so there is nothing to wait for).
  void GiveUpWaitingWhen(std::function<bool()> giveUp) { giveUpWaiting_ = std::move(giveUp); }
  Delivery SendKeysTo(platform::WindowId front, std::string_view notation, Wait wait) override;
  bool Locked() override;

 private:
  SessionLock* lock_;
  std::function<bool()> giveUpWaiting_;
};

}  // namespace velmok::win32
