#pragma once
// Starting another program by the path of its executable.

#include <string_view>

namespace velmok::platform {

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // Starts the program at `path`, without arguments, with its first window in the show state
  // `show` (kShowNormal: normal and focused), and returns at once without waiting for it. False
  // when it could not be started.
  virtual bool Start(std::string_view path, int show) = 0;
};

}  // namespace velmok::platform
