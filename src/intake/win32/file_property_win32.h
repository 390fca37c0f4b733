#pragma once
// The property sheet of a listed document.

#include <windows.h>

#include <string>

namespace velmok::win32 {

// Asks the shell for its property sheet of `path`, owned by `owner`: first through the
// "properties" verb; where the shell does not know that verb (Wine), through the "properties"
// command of the document's context menu; failing both, with a small sheet of the program's own.
// Returns at once: the last two run on a thread of their own, so that their modal sheets leave
// the main window working. Shows no error of its own when the document is gone.
void ShowFileProperty(HWND owner, const std::string& path);

// Only the first step, as the program has always done it: true when the shell took the request.
bool ShowFilePropertyByVerb(HWND owner, const std::wstring& path);
bool ShowFilePropertyByContextMenu(HWND owner, const std::wstring& path);

}  // namespace velmok::win32
