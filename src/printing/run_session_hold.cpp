#include "printing/run_session_hold.h"

#include <algorithm>

#include "core/texts.h"

namespace velmok {

void RunSessionHold::AddWindow(platform::WindowId window) {
  if (window == platform::kNoWindow || std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return;
  windows_.push_back(window);
  if (held_) duties_.SetShutdownReason(window, texts::kSessionEndDuringRun);
}

void RunSessionHold::RemoveWindow(platform::WindowId window) {
  const auto it = std::find(windows_.begin(), windows_.end(), window);
  if (it == windows_.end()) return;
  windows_.erase(it);
  if (held_) duties_.ClearShutdownReason(window);
}

void RunSessionHold::Hold() {
  if (held_) return;
  held_ = true;
  duties_.KeepAwake(true);
  for (const auto window : windows_) duties_.SetShutdownReason(window, texts::kSessionEndDuringRun);
}

void RunSessionHold::Release() {
  if (!held_) return;
  held_ = false;
  for (const auto window : windows_) duties_.ClearShutdownReason(window);
  duties_.KeepAwake(false);
}

}  // namespace velmok
