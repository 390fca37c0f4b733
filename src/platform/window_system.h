#pragma once
// Looking at top-level windows of any program on the desktop.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmok::platform {

// An opaque top-level window; 0 means "no window".
using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A top-level window of the given class, or kNoWindow.
  virtual WindowId FindTopLevelByClass(std::string_view className) = 0;
  // A top-level window whose whole title equals `title` (letter case ignored), or kNoWindow.
  virtual WindowId FindTopLevelByTitle(std::string_view title) = 0;
  // The same, among the top-level windows of one process only.
  virtual WindowId FindTopLevelByTitleOf(std::uint32_t process, std::string_view title) = 0;
  // The window's title, cut to at most `maxChars` characters; empty when the window is gone.
  virtual std::string WindowTitle(WindowId window, std::size_t maxChars) = 0;
  // The process that owns the window; 0 when the window is gone.
  virtual std::uint32_t ProcessOfWindow(WindowId window) = 0;
  // The window that currently receives keyboard input from the user, or kNoWindow.
  virtual WindowId ForegroundWindow() = 0;
};

}  // namespace velmok::platform
