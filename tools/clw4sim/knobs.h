#pragma once
// The simulator's knobs: environment variables read once at start-up (the list with their meaning
// is at the top of main_win32.cpp and in README.md). Pure text handling, no system calls.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace clw4sim {

// The moments in the life of a document at which a fault can be set off.
enum class Step { Open, Opened, PrintDialog, Printing, Close };

std::string_view StepName(Step step);
std::optional<Step> StepFromName(std::string_view name);

// A step of one document; `document` is its 1-based ordinal in the order this process opened
// documents.
struct Moment {
  Step step = Step::Open;
  int document = 1;
  friend bool operator==(const Moment&, const Moment&) = default;
};

enum class DialogKind { Open, Print };

// The "開く" or "印刷" dialog that never appears for one document.
struct MissingDialog {
  DialogKind which = DialogKind::Open;
  int document = 1;
  friend bool operator==(const MissingDialog&, const MissingDialog&) = default;
};

// Another program taking the foreground at a moment, for `holdMs` milliseconds.
struct FocusTheft {
  Moment when;
  unsigned holdMs = 0;
  friend bool operator==(const FocusTheft&, const FocusTheft&) = default;
};

// File names separated by "|"; "*" stands for every name. Letter case does not matter (as for
// file names on Windows); blanks around a name are dropped.
class NameList {
 public:
  static NameList Parse(std::string_view text);
  bool Matches(std::string_view fileName) const;
  bool Empty() const { return !all_ && names_.empty(); }

 private:
  bool all_ = false;
  std::vector<std::string> names_;
};

struct Knobs {
  std::string printJournal;
  std::string keyJournal;
  std::string thiefKeyJournal;
  std::string eventLog;  // empty: no event log
  std::string spoolDir;  // empty: no job files

  unsigned startDelayMs = 0;
  unsigned foregroundDelayMs = 0;
  unsigned openDelayMs = 300;
  unsigned dialogDelayMs = 100;
  unsigned printMs = 600;
  unsigned closeDelayMs = 100;
  unsigned quitDelayMs = 100;
  unsigned warningAgainMs = 150;
  // While a document closes, the program's thread does not answer for this long, as when it
  // writes its files: keys typed meanwhile wait in the queue and are taken afterwards.
  unsigned closeBlockMs = 0;
  // ClarisWorks' own ways of ending and starting. After Ctrl+Q the frame is hidden this long before
  // the program ends; a read-only document given at start raises its warning before the frame is
  // shown, and the frame comes this long after the warning is answered. Unset: neither.
  std::optional<unsigned> hideBeforeEndMs;
  std::optional<unsigned> warningBeforeFrameMs;

  NameList readOnly;
  int readOnlyRepeat = 0;
  NameList modified;

  std::optional<Moment> crashAt;
  std::optional<Moment> hangAt;
  std::optional<MissingDialog> noDialog;
  std::optional<FocusTheft> stealFocus;

  bool singleInstance = true;
  // The program reads names in the system's ANSI code page, as ClarisWorks 4.0 does: its windows
  // are ANSI windows, and its command line and the path typed into the Open dialog reach it
  // through the code page, a character outside it as '?'.
  bool ansi = false;

  // One line for each knob whose value could not be read (that knob keeps its default).
  std::vector<std::string> problems;
};

// The value of an environment variable, or nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Reads every knob. `tempDir` is the folder of the default journal files.
Knobs ReadKnobs(const EnvironmentLookup& environment, std::string_view tempDir);

// The pieces, for the tests.
std::optional<unsigned> ParseMillis(std::string_view text);
std::optional<int> ParseCount(std::string_view text);
std::optional<Moment> ParseMoment(std::string_view text);
std::optional<MissingDialog> ParseMissingDialog(std::string_view text);
std::optional<FocusTheft> ParseFocusTheft(std::string_view text);
std::optional<bool> ParseSwitch(std::string_view text);

}  // namespace clw4sim
