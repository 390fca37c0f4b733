#pragma once
// What a long operation left alone asks of the system around it: that the machine does not go to
// sleep under it, and that a window which refuses the session's end says why.

#include <string_view>

#include "platform/window_system.h"

namespace velmok::platform {

class SessionDuties {
 public:
  virtual ~SessionDuties() = default;
  // The machine stays awake (the display may still go dark) until told otherwise.
  virtual void KeepAwake(bool awake) = 0;
  // The reason shown to the user when `window` refuses the session's end, until it is cleared.
  virtual void SetShutdownReason(WindowId window, std::string_view reason) = 0;
  virtual void ClearShutdownReason(WindowId window) = 0;
};

}  // namespace velmok::platform
