#pragma once
// The print run: ClarisWorks operated the way a person at the keyboard would. The first document
// is opened through the shell (which starts ClarisWorks), every later one through its Open
// dialog; the run waits for ClarisWorks' windows by their titles, prints and closes each
// document, answers the read-only and save warnings, holds back while the printer's queue is
// full, and finally quits ClarisWorks. Every step is written to the progress window.

#include <cstdint>
#include <functional>
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
  std::string systemFolder;  // the working folder of the launch
};

class PrintRun {
 public:
  static constexpr int kPollMs = 50;
  static constexpr int kPollLimit = 401;   // polls 0 to 400
  static constexpr int kQueueLimit = 301;  // checks 0 to 300
  static constexpr int kPauseMs = 1000;

  explicit PrintRun(PrintRunServices services) : s_(std::move(services)) {}

  // Prints `targets` in order; `listCount` is the number of entries of the print list. True only
  // when every document went through the whole sequence and ClarisWorks was seen to end.
  bool PrintSub(std::size_t listCount, const std::vector<std::string>& targets);
  // Documents completed in the current run.
  int PrintedCount() const { return printedCount_; }

 private:
  using Condition = std::function<bool()>;
  enum class Warning { None, ReadOnly, Save };

  bool Pause();
  void SleepUnlessStopped();
  bool Wait(const Condition& holds, std::string_view successText, bool lineBreak, Warning warning);
  bool AnswerWarning(Warning warning, int counter);
  bool QueueCheck();
  // Sends keystrokes only while ClarisWorks is in front; holds them (handling events) for up to
  // 401 checks while another program's window is. False when the run must stop.
  bool Send(std::string_view notation, platform::Keyboard::Wait wait);
  bool TypePath(std::string_view path);
  bool HoldUntilClarisInFront(bool& clarisRuns);
  bool TimedOut();
  void Append(std::string_view text) { s_.progress.AddStatusText(text); }

  bool TitleShows(std::string_view title) { return !s_.probes.FindWindowByTitle(title).empty(); }

  PrintRunServices s_;
  int printedCount_ = 0;
};

// "2026/12/07 7:14:22": the short date, a blank and the long time, as the Japanese system writes them.
std::string FormatGeneralDate(const platform::LocalDateTime& t);
// The part of a path after its last "\" (all of it when it has none).
std::string_view FileNameOf(std::string_view path);

}  // namespace velmok
