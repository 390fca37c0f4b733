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
  // Opens the file for appending (creating it), writes the line and CR LF, closes it. True when
  // this call created the file.
  virtual bool AppendLine(std::string_view line) = 0;
  // The local calendar date on which the file was created; nullopt when there is no file.
  virtual std::optional<LocalDate> CreationDate() = 0;
  // Sets the file's creation time. NTFS gives a file created within 15 s of the deletion of a
  // file of the same name the deleted file's creation time ("tunnelling"), so a new file has to
  // be stamped with its real creation time.
  virtual void SetCreationTime(const LocalDateTime& when) = 0;
  // A plain delete that does not override a read-only attribute.
  virtual void Delete() = 0;
};

}  // namespace velmok::platform
