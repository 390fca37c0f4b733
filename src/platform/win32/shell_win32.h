#pragma once

#include "platform/shell.h"

namespace velmok::win32 {

class Win32Shell final : public platform::Shell {
 public:
  std::intptr_t Execute(platform::WindowId owner, std::string_view operation, std::string_view file,
                        std::string_view parameters, std::string_view directory, int show) override;
};

}  // namespace velmok::win32
