#pragma once
// The system's side of a long operation left alone: the machine kept awake
// (SetThreadExecutionState), and the reason a window gives for refusing the session's end
// (ShutdownBlockReasonCreate).

#include <windows.h>

#include "platform/session_duties.h"

namespace velmok::win32 {

class Win32SessionDuties final : public platform::SessionDuties {
 public:
  void KeepAwake(bool awake) override;
  void SetShutdownReason(platform::WindowId window, std::string_view reason) override;
  void ClearShutdownReason(platform::WindowId window) override;
};

}  // namespace velmok::win32
