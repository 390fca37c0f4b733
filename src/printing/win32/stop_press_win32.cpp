#include "printing/win32/stop_press_win32.h"

#include <chrono>

namespace velmok::win32 {

bool StopPressWaiting(HWND window, HWND button) {
  if (!window || !button || !IsWindowEnabled(button)) return false;
  // Looked at, not handled: no sent message is taken either.
  constexpr UINT kLook = PM_NOREMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE;
  MSG msg;
  if (PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, kLook) && LOWORD(msg.wParam) == GetDlgCtrlID(button))
    return true;
  if (PeekMessageW(&msg, button, WM_LBUTTONUP, WM_LBUTTONUP, kLook)) return true;
  if (PeekMessageW(&msg, button, WM_KEYUP, WM_KEYUP, kLook) && msg.wParam == VK_SPACE) return true;
  if (PeekMessageW(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, kLook) && msg.wParam == 'X' &&
      (msg.hwnd == window || IsChild(window, msg.hwnd)))
    return true;
  return false;
}

void SleepUnlessStopPressed(HWND window, HWND button, int ms) {
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
  for (;;) {
    if (StopPressWaiting(window, button)) return;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
    if (left <= 0) return;
    // Wakes for input or a posted message that came since the last look; a message sent by
    // another thread (a reader of the status text) is answered by the next look at once. A press
    // that arrived between the looks above and this wait counts as seen already and wakes nothing:
    // the wait is cut into short pieces so that it is noticed all the same.
    constexpr long long kLookEveryMs = 8;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < kLookEveryMs ? left : kLookEveryMs),
                              QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

}  // namespace velmok::win32
