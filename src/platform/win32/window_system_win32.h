#pragma once

#include "platform/window_system.h"

namespace velmok::win32 {

class Win32WindowSystem final : public platform::WindowSystem {
 public:
  platform::WindowId FindTopLevelByClass(std::string_view className) override;
  platform::WindowId FindTopLevelByTitle(std::string_view title) override;
  platform::WindowId FindTopLevelByTitleOf(std::uint32_t process, std::string_view title) override;
  std::string WindowTitle(platform::WindowId window, std::size_t maxChars) override;
  std::uint32_t ProcessOfWindow(platform::WindowId window) override;
  platform::WindowId ForegroundWindow() override;
};

}  // namespace velmok::win32
