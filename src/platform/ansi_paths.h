#pragma once
// How a path reaches a program that reads names in the system's ANSI code page (Shift_JIS on a
// Japanese system) into buffers of MAX_PATH bytes, as ClarisWorks 4.0 does.

#include <string>
#include <string_view>

namespace velmok::platform {

class AnsiPaths {
 public:
  virtual ~AnsiPaths() = default;
  // Whether such a program gets `path` exactly: every character has its own form in the ANSI code
  // page (no look-alike stands in for it) and the whole path fits in MAX_PATH bytes with its NUL.
  virtual bool ReachesAnsiProgram(std::string_view path) = 0;
  // The short (8.3) form of an existing file's path; "" when the file system keeps none.
  virtual std::string ShortForm(std::string_view path) = 0;
};

}  // namespace velmok::platform
