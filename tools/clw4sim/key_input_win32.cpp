#include "clw4sim/key_input_win32.h"

#include "platform/win32/wide.h"

namespace clw4sim {

KeyMessage KindOfMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_CHAR: case WM_SYSCHAR:
      return KeyMessage::Journalled;
    case WM_KEYUP: case WM_SYSKEYUP: case WM_DEADCHAR: case WM_SYSDEADCHAR:
      return KeyMessage::Swallowed;
    default:
      return KeyMessage::NotAKey;
  }
}

KeyEvent KeyEventOf(const MSG& msg) {
  KeyEvent event;
  switch (msg.message) {
    case WM_SYSKEYDOWN: event.kind = KeyKind::SysDown; break;
    case WM_CHAR: event.kind = KeyKind::Char; break;
    case WM_SYSCHAR: event.kind = KeyKind::SysChar; break;
    default: event.kind = KeyKind::Down; break;
  }
  event.code = static_cast<std::uint32_t>(msg.wParam & 0xFFFF);
  // GetKeyState answers for the moment the message now being handled was queued.
  if (GetKeyState(VK_CONTROL) < 0) event.modifiers |= kCtrl;
  if (GetKeyState(VK_SHIFT) < 0) event.modifiers |= kShift;
  if (GetKeyState(VK_MENU) < 0) event.modifiers |= kAlt;
  return event;
}

std::string RootTitle(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  if (!root) root = window;
  wchar_t title[512] = {};
  GetWindowTextW(root, title, static_cast<int>(std::size(title)));
  return velmok::win32::Narrow(title);
}

}  // namespace clw4sim
