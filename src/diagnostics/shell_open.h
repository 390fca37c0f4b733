#pragma once
// OpenWithShell: a web address or a document handed to the shell's default action.

#include <string>
#include <string_view>

#include "platform/shell.h"
#include "platform/window_system.h"

namespace velmok {

// What every shell call of the diagnostics needs: the shell, the desktop window (the owner of
// OpenWithShell's calls) and the program's folder (the working folder of every call).
struct ShellServices {
  platform::Shell& shell;
  platform::WindowId desktopWindow = platform::kNoWindow;
  std::string programFolder;
};

// Lets the shell open `target` with its default action. What the shell answers is not examined:
// with nothing registered for the target, nothing visible happens.
void OpenWithShell(const ShellServices& services, std::string_view target);

}  // namespace velmok
