#pragma once
// Files the simulator and the focus thief write for the tests: each line is appended with its own
// open, write and close, so that nothing is lost when the process is killed.

#include <cstdint>
#include <string>
#include <string_view>

#include "clw4sim/key_journal.h"

namespace clw4sim {

// Appends `line` and CR LF to the UTF-8 file at `path` (created when missing). False on failure.
bool AppendLine(const std::string& path, std::string_view line);
// Creates the file when it is missing, leaving an existing one as it is.
bool TouchFile(const std::string& path);
// Writes a new file with a name not used yet in `folder`: `prefix` + a number + `extension`.
// Returns the path written, or an empty string.
std::string WriteUniqueFile(const std::string& folder, std::string_view prefix, std::string_view extension,
                            std::string_view content);

// The key journal: numbers the events and stamps them with the time since the program started.
class KeyJournal {
 public:
  explicit KeyJournal(std::string path);
  void Record(KeyStatus status, const KeyEvent& event, std::string_view window, std::string_view note);
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::uint64_t sequence_ = 0;
  std::uint64_t started_;
};

// The human-readable event log; writes nothing when its path is empty.
class EventLog {
 public:
  explicit EventLog(std::string path);
  void Write(std::string_view text);

 private:
  std::string path_;
  std::uint64_t started_;
};

}  // namespace clw4sim
