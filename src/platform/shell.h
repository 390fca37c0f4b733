#pragma once
// Handing a document or an address to the shell, as ShellExecute does.

#include <cstdint>
#include <string_view>

#include "platform/window_system.h"

namespace velmok::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute: returns the value the shell gives back (greater than 32 on success).
  virtual std::intptr_t Execute(WindowId owner, std::string_view operation, std::string_view file,
                                std::string_view parameters, std::string_view directory, int show) = 0;
};

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace velmok::platform
