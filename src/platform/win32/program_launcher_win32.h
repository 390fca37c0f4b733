#pragma once

#include "platform/program_launcher.h"

namespace velmok::win32 {

// CreateProcess with the path as the program's name, so that spaces in the path need no care.
class Win32ProgramLauncher final : public platform::ProgramLauncher {
 public:
  bool Start(std::string_view path, int show) override;
};

}  // namespace velmok::win32
