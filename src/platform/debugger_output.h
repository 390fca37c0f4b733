#pragma once

#include <string_view>

namespace velmok::platform {

// The debugger's output channel (OutputDebugString on Windows).
class DebuggerOutput {
 public:
  virtual ~DebuggerOutput() = default;
  virtual void Write(std::string_view text) = 0;
};

}  // namespace velmok::platform
