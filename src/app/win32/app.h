#pragma once
// The composition root of the program: the real Windows services wired into its logic.

#include <windows.h>

#include <filesystem>
#include <optional>

namespace velmok::win32 {

struct AppOptions {
  // A test build counts its print queue as files in this folder (Wine's spooler always reports
  // an empty queue).
  std::optional<std::filesystem::path> queueFolder;
  // A test build acts as on Windows 7 SP1 without updates: none of the newer functions is used.
  bool asWindows7 = false;
};

// Runs the start-up checks and, unless one refuses, the main window until it is closed.
int RunVelmok(HINSTANCE instance, int show, const AppOptions& options);

}  // namespace velmok::win32
