#pragma once
// The print run: ClarisWorks operated the way a person at the keyboard would. The first document
// is opened through the shell (which starts ClarisWorks), every later one through its Open
// dialog; the run waits for ClarisWorks' windows by their titles, prints and closes each
// document, answers the read-only and save warnings, holds back while the printer's queue is
// full, and finally quits ClarisWorks. Every step is written to the progress window.
//
// Only ClarisWorks' own windows count, and keys go only to them: every batch of keys is sent to
// the window that was checked to be in front, and is looked at again once it has been taken.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/shell.h"
#include "printing/print_queue.h"
#include "printing/probes.h"
#include "printing/progress_services.h"

namespace velmok {

struct PrintRunServices {
  ClarisProbes& probes;
  platform::Keyboard& keyboard;
  platform::Shell& shell;
  PrintQueue& queue;
  platform::Clock& clock;
  ProgressServices& progress;
  platform::WindowId progressWindow;
  std::string programFolder;  // the working folder of the launch
};

class PrintRun {
 public:
  static constexpr int kPollMs = 50;
  static constexpr int kPollLimit = 401;   // polls 0 to 400
  static constexpr int kQueueLimit = 301;  // checks 0 to 300
  static constexpr int kPauseMs = 1000;
  // A typed path goes out in batches of at most this many characters, each checked on its own.
  static constexpr std::size_t kTypedBatchChars = 8;

  explicit PrintRun(PrintRunServices services) : s_(std::move(services)) {}

  // Prints `targets` in order; `listCount` is the number of entries of the print list. ClarisWorks
  // is handed `clarisPaths[i]` for `targets[i]` (the target itself where none is given). True only
  // when every document went through the whole sequence and ClarisWorks was seen to end.
  bool PrintSub(std::size_t listCount, const std::vector<std::string>& targets,
                const std::vector<std::string>& clarisPaths = {});
  // Documents completed in the current run.
  int PrintedCount() const { return printedCount_; }

 private:
  using Condition = std::function<bool()>;
  enum class Warning { None, ReadOnly, Save };
  // Where a batch of keys may go: any window of ClarisWorks (a command to the document), or only
  // ClarisWorks' window of a given title (the answer to a dialog, a typed path).
  enum class KeyKind {
    Command,     // a shortcut or Enter: it may leave another window of ClarisWorks in front
    TypedText,   // part of a typed path: every part goes to the same window, which stays in front
    AfterTyped,  // the Enter that ends a typed path: to the window the path went to
  };
  struct KeyTarget {
    std::string_view dialogTitle;  // empty: any window of ClarisWorks
    KeyKind kind = KeyKind::Command;
  };

  bool Pause();
  void SleepUnlessStopped();
  bool Wait(const Condition& holds, std::string_view successText, bool lineBreak, Warning warning);
  bool AnswerWarning(Warning warning, int counter);
  bool QueueCheck();
  // Sends keystrokes only to the window checked to be ClarisWorks' and in front; holds them
  // (handling events) for up to 401 checks while it is not. False when the run must stop.
  bool Send(std::string_view notation, platform::Keyboard::Wait wait, KeyTarget target);
  bool Send(std::string_view notation, platform::Keyboard::Wait wait) { return Send(notation, wait, KeyTarget()); }
  bool TypePath(std::string_view path);
  // The report of a locked screen's hold on the keys: when it began, and when it ended.
  platform::LocalDateTime HoldBegins();
  void HoldEnds(std::optional<platform::LocalDateTime>& heldSince);
  bool Receives(platform::WindowId front, std::uint32_t claris, const KeyTarget& target);
  bool ClarisStillInFront(std::uint32_t claris);
  bool TimedOut();
  // Whether a stop has been requested; if so, its text is shown (the run then ends).
  bool StopRequested();
  void Append(std::string_view text) { s_.progress.AddStatusText(text); }

  bool ClarisShows(std::string_view title) { return s_.probes.ClarisWindowShows(title); }

  PrintRunServices s_;
  int printedCount_ = 0;
  platform::WindowId typedInto_ = platform::kNoWindow;  // the window of the path being typed
};

// "2026/12/07 7:14:22": the short date, a blank and the long time, as the Japanese system writes them.
std::string FormatGeneralDate(const platform::LocalDateTime& t);
// The part of a path after its last "\" (all of it when it has none).
std::string_view FileNameOf(std::string_view path);

}  // namespace velmok
