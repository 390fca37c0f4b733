#pragma once
// The debug log file beside the program. Every failure (a read-only folder, a locked file, a
// directory in the file's place) is swallowed: logging must never stop the program.

#include <optional>
#include <string_view>

#include "platform/clock.h"

namespace velmok::platform {

class LogFile {
 public:
  virtual ~LogFile() = default;
  // Opens the file for appending (creating it), writes the line and CR LF, closes it.
  virtual void AppendLine(std::string_view line) = 0;
  // The local calendar date on which the file was created; nullopt when there is no file.
  virtual std::optional<LocalDate> CreationDate() = 0;
  // A plain delete that does not override a read-only attribute.
  virtual void Delete() = 0;
};

}  // namespace velmok::platform
