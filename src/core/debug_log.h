#pragma once
// The support log: one call, WriteDebugLog, gated by a process-wide level (0 off, 1 on). Each
// written line is stamped and appended to the log file beside the program; a short copy goes to
// the debugger output.

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/debugger_output.h"
#include "platform/log_file.h"

namespace velmok {

// A name may hold any character but NUL: control characters are written as "<0D>", "<0A>", ... ('<'
// and '>' cannot occur in a Windows file name), so no text can begin a line of its own.
std::string EscapeControlCharacters(std::string_view text);
// " 1 26/12/06 06:21:32.045 OLEDragDrop" for the text OLEDragDrop at level 1; empty for an empty text.
std::string FormatLogFileLine(const platform::LocalDateTime& now, int level, std::string_view prefix,
                              std::string_view text);
// " 1 OLEDragDrop"
std::string FormatDebuggerLine(int level, std::string_view prefix, std::string_view text);

class DebugLog {
 public:
  DebugLog(platform::LogFile& file, platform::DebuggerOutput& debugger, platform::Clock& clock)
      : file_(file), debugger_(debugger), clock_(clock) {}

  int DebugLevel() const { return level_; }

  void WriteDebugLog(std::string_view text, int level = 1, std::string_view prefix = " ");
  // Sets the level, then marks the change with a blank line and the initialisation line.
  void InitDebugLog(int level);
  // Deletes a log file that was created on an earlier calendar day.
  void InitLogFile();

 private:
  platform::LogFile& file_;
  platform::DebuggerOutput& debugger_;
  platform::Clock& clock_;
  int level_ = 0;
};

// The process's log, installed by the composition root. The free functions below do nothing
// while none is installed.
void InstallDebugLog(DebugLog* log);
DebugLog* InstalledDebugLog();
void WriteDebugLog(std::string_view text, int level = 1, std::string_view prefix = " ");
int DebugLevel();

}  // namespace velmok
