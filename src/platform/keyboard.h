#pragma once
// Typing into whatever window is active, in key notation.

#include <string_view>

namespace velmok::platform {

class Keyboard {
 public:
  enum class Wait { No, UntilProcessed };
  virtual ~Keyboard() = default;

  // Sends the keystrokes written in key notation ("^o", "{ENTER}", "C:\a{+}b.cwj") to the active
  // window. Returns false when the notation is malformed (nothing is sent) or when the system did
  // not take every input event.
  virtual bool SendKeys(std::string_view notation, Wait wait) = 0;
};

}  // namespace velmok::platform
