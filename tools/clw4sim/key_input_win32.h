#pragma once
// Keyboard messages as the message loop sees them, before they are dispatched.

#include <windows.h>

#include <optional>
#include <string>

#include "clw4sim/key_journal.h"

namespace clw4sim {

enum class KeyMessage {
  Journalled,  // WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_SYSCHAR: recorded and judged
  Swallowed,   // key-ups and dead characters: never handed to a window (no menu mode, no beeps)
  NotAKey,
};

KeyMessage KindOfMessage(const MSG& msg);

// The event of a journalled message, with the modifiers held when it was queued.
KeyEvent KeyEventOf(const MSG& msg);

// The title of the top-level window that `window` belongs to (UTF-8).
std::string RootTitle(HWND window);

}  // namespace clw4sim
