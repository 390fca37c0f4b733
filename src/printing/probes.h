#pragma once
// The only means by which the program looks at ClarisWorks: the titles of top-level windows and
// the window in front. Keystrokes go to it only through the print run, which checks the window in
// front before every batch.

#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace velmok {

class ClarisProbes {
 public:
  // Titles are read up to these lengths, as the fixed title buffers of the two probes allow.
  static constexpr std::size_t kMainTitleChars = 255;
  static constexpr std::size_t kTitleChars = 260;

  explicit ClarisProbes(platform::WindowSystem& windows) : windows_(windows) {}

  // The title of ClarisWorks' main window (class "CLW4MainClass"), or "" when there is none.
  std::string GetClarisMainTitle();
  // The title of a top-level window titled `title` (any program's), or "" when there is none.
  std::string FindWindowByTitle(std::string_view title);

  // The process that owns ClarisWorks' main window; 0 when it does not run.
  std::uint32_t ClarisProcess();
  // A top-level window of ClarisWorks' own process titled `title`, or kNoWindow. Another
  // program's window of the same title (a mail program's "警告", an editor's "印刷") never counts.
  platform::WindowId ClarisWindowTitled(std::string_view title);
  bool ClarisWindowShows(std::string_view title) { return ClarisWindowTitled(title) != platform::kNoWindow; }
  // The window the user is typing into, and its process (0 when none).
  platform::WindowId ForegroundWindow() { return windows_.ForegroundWindow(); }
  std::string TitleOf(platform::WindowId window) {
    return window == platform::kNoWindow ? std::string() : windows_.WindowTitle(window, kTitleChars);
  }
  std::uint32_t ProcessOf(platform::WindowId window) {
    return window == platform::kNoWindow ? 0 : windows_.ProcessOfWindow(window);
  }

 private:
  platform::WindowSystem& windows_;
};

}  // namespace velmok
