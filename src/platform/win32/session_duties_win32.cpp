#include "platform/win32/session_duties_win32.h"

#include "platform/win32/wide.h"

namespace velmok::win32 {

void Win32SessionDuties::KeepAwake(bool awake) {
  // The thread's state stands until it is changed again: the system is kept from sleeping, the
  // display is not.
  SetThreadExecutionState(ES_CONTINUOUS | (awake ? ES_SYSTEM_REQUIRED : 0));
}

void Win32SessionDuties::SetShutdownReason(platform::WindowId window, std::string_view reason) {
  ShutdownBlockReasonCreate(reinterpret_cast<HWND>(window), Widen(reason).c_str());
}

void Win32SessionDuties::ClearShutdownReason(platform::WindowId window) {
  ShutdownBlockReasonDestroy(reinterpret_cast<HWND>(window));
}

}  // namespace velmok::win32
