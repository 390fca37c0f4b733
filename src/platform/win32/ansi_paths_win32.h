#pragma once

#include "platform/ansi_paths.h"

namespace velmok::win32 {

// The system's ANSI code page (GetACP) and the file system's short names.
class Win32AnsiPaths final : public platform::AnsiPaths {
 public:
  bool ReachesAnsiProgram(std::string_view path) override;
  std::string ShortForm(std::string_view path) override;
};

}  // namespace velmok::win32
