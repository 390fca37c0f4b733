#pragma once

#include "platform/ansi_paths.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

// The system's ANSI code page (GetACP) and the file system's short names.
class Win32AnsiPaths final : public platform::AnsiPaths {
 public:
  explicit Win32AnsiPaths(AnsiEncoding encoding = SystemAnsiEncoding()) : encoding_(encoding) {}
  bool ReachesAnsiProgram(std::string_view path) override;
  std::string ShortForm(std::string_view path) override;

 private:
  AnsiEncoding encoding_;
};

}  // namespace velmok::win32
