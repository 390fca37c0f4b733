#include "printing/print_run.h"

#include <cstdio>

#include "core/texts.h"
#include "platform/key_notation.h"
#include "platform/utf8.h"

namespace velmok {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kDocumentPrefixChars = 16;  // "ｸﾗﾘｽﾜｰｸｽ 4.0 - ["

using Outcome = platform::Keyboard::Outcome;

}  // namespace

std::string FormatGeneralDate(const platform::LocalDateTime& t) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buffer;
}

std::string_view FileNameOf(std::string_view path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The plain 50 ms sleep between two polls; left out once a stop has been requested, so that the
// next poll's event check reports it at once.
void PrintRun::SleepUnlessStopped() { s_.progress.SliceSleep(); }

bool PrintRun::Pause() { return s_.progress.SleepEx(kPauseMs) == 0; }

bool PrintRun::TimedOut() {
  Append(std::string(kCrLf) + std::string(texts::kRunTimedOut) + std::string(kCrLf));
  return false;
}

bool PrintRun::StopRequested() {
  if (!s_.progress.CancelRequested()) return false;
  s_.progress.DoEventsEx();  // shows the stop text
  return true;
}

// One wait: polls 0 to 400, each testing the condition, answering a warning where this wait
// handles one, handling events, then sleeping 50 ms without handling events.
bool PrintRun::Wait(const Condition& holds, std::string_view successText, bool lineBreak, Warning warning) {
  for (int counter = 0; counter < kPollLimit; ++counter) {
    if (holds()) {
      std::string text(successText);
      text += std::to_string(counter);
      if (lineBreak) text += kCrLf;
      Append(text);
      return true;
    }
    if (warning != Warning::None && ClarisShows(texts::kWarningTitle) && !AnswerWarning(warning, counter))
      return false;
    if (s_.progress.DoEventsEx() == 1) return false;
    SleepUnlessStopped();
  }
  return TimedOut();
}

bool PrintRun::AnswerWarning(Warning warning, int counter) {
  const bool readOnly = warning == Warning::ReadOnly;
  Append(std::string(readOnly ? texts::kWaitReadOnlyWarning : texts::kWaitSaveWarning) + std::to_string(counter));
  if (!Pause()) return false;
  if (!Send(readOnly ? "{ENTER}" : "^n", platform::Keyboard::Wait::UntilProcessed, {texts::kWarningTitle}))
    return false;
  return Pause();
}

// Whether `front` may take the batch: a window of ClarisWorks' own process, the dialog of the
// given title where the keys answer one, and for a typed path the window its first part went to.
bool PrintRun::Receives(platform::WindowId front, std::uint32_t claris, const KeyTarget& target) {
  if (front == platform::kNoWindow || s_.probes.ProcessOf(front) != claris) return false;
  if (!target.dialogTitle.empty() && s_.probes.TitleOf(front) != target.dialogTitle) return false;
  if (target.kind != KeyKind::Command && typedInto_ != platform::kNoWindow && front != typedInto_) return false;
  return true;
}

// After a command changed the foreground: ClarisWorks opened or closed one of its windows, hid its
// frame, or ended itself. The foreground then passes to one of its windows, to no window, or to the
// program's own progress window, which lies under it; anything else in front means the keys may
// have gone elsewhere.
bool PrintRun::ClarisStillInFront(std::uint32_t claris) {
  const std::uint32_t now = s_.probes.ClarisProcess();
  if (now == 0) return true;
  const platform::WindowId front = s_.probes.ForegroundWindow();
  return front == platform::kNoWindow || front == s_.progressWindow || s_.probes.ProcessOf(front) == claris;
}

platform::LocalDateTime PrintRun::HoldBegins() {
  const platform::LocalDateTime now = s_.clock.Now();
  Append(std::string(texts::kRunWaitingForUnlock) + " " + FormatGeneralDate(now) + std::string(texts::kRunHeldFrom));
  return now;
}

void PrintRun::HoldEnds(std::optional<platform::LocalDateTime>& heldSince) {
  std::string text = " ";
  text += FormatGeneralDate(s_.clock.Now());
  text += texts::kRunHeldUntil;
  Append(text);
  heldSince.reset();
}

bool PrintRun::Send(std::string_view notation, platform::Keyboard::Wait wait, KeyTarget target) {
  // A stop pressed, or the session's end, while the last keys were taken (the pieces of a typed
  // path follow each other without a pause) is heard before these go.
  if (s_.progress.DoEventsEx() == 1) return false;
  std::string keys(notation);  // what has not gone out yet
  std::optional<platform::LocalDateTime> heldSince;  // while the screen is locked
  int check = 0;
  while (check < kPollLimit) {
    // While the screen is locked no key can reach ClarisWorks: the keys wait as long as it takes,
    // without counting their checks (ClarisWorks goes on meanwhile, and its windows are waited for
    // as ever). Only a stop ends the wait. The report tells when the wait began and ended.
    bool counted = true;
    if (s_.keyboard.Locked()) {
      if (!heldSince) heldSince = HoldBegins();
      counted = false;
    } else {
      if (heldSince) HoldEnds(heldSince);
      const std::uint32_t claris = s_.probes.ClarisProcess();
      // With no ClarisWorks there is nobody to type to: nothing is sent, and the next wait tells.
      if (claris == 0) return true;
      const platform::WindowId front = s_.probes.ForegroundWindow();
      if (Receives(front, claris, target)) {
        // A stop requested while the step text was shown, or while the key was held, comes first.
        if (StopRequested()) return false;
        const platform::Keyboard::Delivery delivery = s_.keyboard.SendKeysTo(front, keys, wait);
        switch (delivery.outcome) {
          case Outcome::Sent:
            if (target.kind == KeyKind::TypedText) typedInto_ = front;
            return true;
          case Outcome::NotInFront:
          case Outcome::ModifiersHeld:
            break;  // held, as while another program is in front
          case Outcome::Locked:
            // The screen was locked as the keys went: what went out before it is not sent again
            // (a character typed twice would hand ClarisWorks another path); the rest waits, as
            // while it is locked.
            if (delivery.strokesTaken > 0) {
              if (target.kind == KeyKind::TypedText) typedInto_ = front;
              keys = DropKeyStrokes(keys, delivery.strokesTaken);
              if (keys.empty()) return true;
            }
            counted = false;
            break;
          case Outcome::ForegroundChanged:
            // Part of a path typed elsewhere would be worse than a stopped run.
            if (target.kind != KeyKind::TypedText && ClarisStillInFront(claris)) return true;
            return TimedOut();
          case Outcome::Refused:
          case Outcome::Failed:
            return TimedOut();
        }
      }
    }
    if (s_.progress.DoEventsEx() == 1) return false;
    SleepUnlessStopped();
    if (counted) ++check;
  }
  return TimedOut();
}

bool PrintRun::TypePath(std::string_view path) {
  typedInto_ = platform::kNoWindow;
  std::size_t pos = 0;
  while (pos < path.size()) {
    const std::size_t start = pos;
    for (std::size_t chars = 0; chars < kTypedBatchChars && pos < path.size(); ++chars) DecodeUtf8(path, pos);
    const std::string batch = EscapeKeyLiteral(path.substr(start, pos - start));
    if (!Send(batch, platform::Keyboard::Wait::UntilProcessed, {texts::kOpenDialogTitle, KeyKind::TypedText}))
      return false;
  }
  return true;
}

bool PrintRun::QueueCheck() {
  if (GetWaitingJobCount(s_.queue) <= kQueueThreshold) return true;
  Append(texts::kRunQueueFull);
  for (int check = 0; check < kQueueLimit; ++check) {
    if (GetWaitingJobCount(s_.queue) <= kQueueThreshold) {
      Append(kCrLf);
      return true;
    }
    Append(".");
    if (!Pause()) return false;
  }
  return TimedOut();
}

bool PrintRun::PrintSub(std::size_t listCount, const std::vector<std::string>& targets,
                        const std::vector<std::string>& clarisPaths) {
  using Wait = platform::Keyboard::Wait;
  if (listCount == 0) return false;

  ProgressDisplay& display = s_.progress.Display();
  display.ReplaceStatus(std::string(texts::kRunDoNotTouch) + std::string(kCrLf) + std::string(texts::kRunStarting) +
                        FormatGeneralDate(s_.clock.Now()) + std::string(kCrLf));
  printedCount_ = 0;
  if (s_.progress.DoEventsEx() == 1) return false;

  const std::size_t n = targets.size();
  auto mainTitle = [this] { return s_.probes.GetClarisMainTitle(); };
  for (std::size_t i = 1; i <= n; ++i) {
    const std::string& path = targets[i - 1];
    const std::string& handed = i <= clarisPaths.size() ? clarisPaths[i - 1] : path;
    display.ReplaceStatus(std::string(texts::kRunFile) + std::to_string(i) + " / " + std::to_string(n) + " ( " +
                          std::string(FileNameOf(path)) + " )" + std::string(kCrLf) + std::string(kCrLf));
    display.SetProgress(static_cast<double>(i) * 100.0 / static_cast<double>(n));
    if (s_.progress.DoEventsEx() == 1) return false;

    if (i == 1) {
      Append(texts::kRunLaunching);
      if (StopRequested()) return false;
      const std::intptr_t ret =
          s_.shell.Execute(s_.progressWindow, "open", handed, "", s_.programFolder, platform::kShowNormal);
      Append(std::string(texts::kRunRet) + std::to_string(ret) + std::string(kCrLf));
    } else {
      Append(texts::kRunOpening);
      if (!Send("^o", Wait::UntilProcessed) || !Pause()) return false;
      if (!this->Wait([&] { return ClarisShows(texts::kOpenDialogTitle); }, texts::kWaitOpenDialog, true,
                      Warning::None))
        return false;
      if (!TypePath(handed) || !Send("{ENTER}", Wait::No, {texts::kOpenDialogTitle, KeyKind::AfterTyped}) ||
          !Pause())
        return false;
    }

    Append(texts::kRunWaitingOpen);
    if (!this->Wait([&] { return Utf8Prefix(mainTitle(), kDocumentPrefixChars) == texts::kClarisTitleDocumentPrefix; },
                    texts::kWaitDocumentOpen, true, Warning::ReadOnly))
      return false;

    if (!Pause()) return false;
    Append(texts::kRunSendingCtrlP);
    if (!Send("^p", Wait::UntilProcessed) || !Pause()) return false;
    if (!this->Wait([&] { return ClarisShows(texts::kPrintDialogTitle); }, texts::kWaitPrintDialog, true,
                    Warning::None))
      return false;

    if (!Pause()) return false;
    Append(texts::kRunSendingEnter);
    if (!Send("{ENTER}", Wait::UntilProcessed, {texts::kPrintDialogTitle})) return false;
    if (!this->Wait([&] { return ClarisShows(texts::kPrintingWindowTitle); }, texts::kWaitPrinting, false,
                    Warning::None))
      return false;
    if (!this->Wait([&] { return !ClarisShows(texts::kPrintingWindowTitle); }, texts::kWaitPrintingEnded, true,
                    Warning::None))
      return false;

    if (!Pause()) return false;
    Append(texts::kRunSendingCtrlW);
    if (!Send("^w", Wait::UntilProcessed) || !Pause()) return false;
    if (!this->Wait([&] { return mainTitle() == texts::kClarisTitleNoDocument; }, texts::kWaitDocumentClosed, true,
                    Warning::Save))
      return false;

    if (!Pause() || !QueueCheck()) return false;
    ++printedCount_;
  }

  Append(texts::kRunQuitting);
  if (!Send("^q", Wait::UntilProcessed) || !Pause()) return false;
  return this->Wait([&] { return mainTitle().empty(); }, texts::kWaitClarisEnded, true, Warning::None);
}

}  // namespace velmok
