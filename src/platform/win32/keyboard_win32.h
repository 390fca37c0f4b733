#pragma once

#include <windows.h>

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

class Win32Keyboard final : public platform::Keyboard {
 public:
  bool SendKeys(std::string_view notation, Wait wait) override;
};

}  // namespace velmok::win32
