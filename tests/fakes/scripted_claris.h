#pragma once
// A scripted ClarisWorks for the print run's tests, living in virtual time: it reacts to the
// keystrokes of a FakeKeyboard and to the shell's "open" as the real application does, with
// delays counted on the FakeClock, through windows of a FakeWindowSystem.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "platform/event_pump.h"
#include "platform/shell.h"
#include "printing/print_queue.h"
#include "printing/progress_services.h"

namespace velmok::fakes {

class ScriptedClaris {
 public:
  static constexpr std::uint32_t kProcess = 7;

  // Delays in virtual milliseconds; 0 answers at once.
  int launchMs = 300;
  int dialogMs = 100;
  int openMs = 200;
  int printMs = 600;
  int closeMs = 100;
  int quitMs = 100;
  int warningRepeatMs = 150;
  std::set<std::string> readOnly;   // file names raising the read-only warning
  int readOnlyRepeats = 0;          // times it comes back after being answered
  std::set<std::string> modified;   // file names raising the save warning
  // Faults: a step that never answers ("open", "printdialog", "printing", "close", "quit"), and
  // a printing window shorter than one poll.
  std::set<std::string> neverAnswers;
  bool printingBlink = false;

  ScriptedClaris(FakeWindowSystem& windows, FakeClock& clock, FakeKeyboard& keyboard);

  // What the run did to it.
  std::vector<std::string> printed;  // full paths, in order
  std::vector<std::string> keys;     // every notation received
  std::vector<std::string> strayKeys;  // keys that arrived where they do nothing
  bool running() const { return main_ != platform::kNoWindow; }

  void Launch(const std::string& path);  // the shell's "open"
  // Runs what is due at the clock's current time.
  void Advance();

 private:
  enum class State { None, Idle, OpenDialog, Opening, ReadOnlyWarning, Document, PrintDialog, Printing, SaveWarning,
                     Closing, Quitting };
  void At(int delayMs, std::function<void()> action);
  void OnKeys(const FakeKeyboard::Sent& sent);
  platform::WindowId Show(const std::string& title);
  void Hide(platform::WindowId& window);
  void SetTitle(const std::string& title);
  void BeginOpen(const std::string& path);
  void FinishOpen();
  static std::string NameOf(const std::string& path);

  FakeWindowSystem& windows_;
  FakeClock& clock_;
  State state_ = State::None;
  platform::WindowId main_ = platform::kNoWindow;
  platform::WindowId dialog_ = platform::kNoWindow;
  std::string typed_;
  std::string document_;
  int warningsLeft_ = 0;
  std::multimap<std::int64_t, std::function<void()>> timeline_;
};

class FakeShell final : public platform::Shell {
 public:
  struct Call {
    platform::WindowId owner;
    std::string operation, file, parameters, directory;
    int show;
  };
  std::vector<Call> calls;
  std::intptr_t result = 42;
  std::function<void(const std::string& file)> onOpen;

  std::intptr_t Execute(platform::WindowId owner, std::string_view operation, std::string_view file,
                        std::string_view parameters, std::string_view directory, int show) override {
    calls.push_back({owner, std::string(operation), std::string(file), std::string(parameters),
                     std::string(directory), show});
    if (onOpen && operation == "open") onOpen(std::string(file));
    return result;
  }
};

// A queue whose job count follows a script: the n-th question gets jobs[n] (the last one
// repeats). Counts come back as the monitor computes them: jobs minus one, 0 when empty.
class ScriptedQueue final : public PrintQueue {
 public:
  std::vector<std::uint32_t> jobs{0};
  int questions = 0;
  int opens = 0;
  int closes = 0;

  bool HasDefaultPrinter() override { return true; }
  void Open() override { ++opens; }
  // One question is one size query, and the enumeration when the queue is not empty.
  std::uint32_t QueryBytesNeeded() override {
    const auto n = Jobs();
    if (n == 0) ++questions;
    return n * 10;
  }
  std::uint32_t Enumerate(std::uint32_t) override {
    const auto n = Jobs();
    ++questions;
    return n;
  }
  void Close() override { ++closes; }

 private:
  std::uint32_t Jobs() const {
    const auto i = static_cast<std::size_t>(questions);
    return i < jobs.size() ? jobs[i] : jobs.back();
  }
};

class RecordingDisplay final : public ProgressDisplay {
 public:
  std::string text;
  std::vector<std::string> replaced;  // the whole text each replacement took away
  std::vector<double> progress;
  void AppendStatus(std::string_view t) override { text += t; }
  void ReplaceStatus(std::string_view t) override {
    replaced.push_back(text);
    text = t;
  }
  void SetProgress(double value) override { progress.push_back(value); }
};

class FakePump final : public platform::EventPump {
 public:
  int pumps = 0;
  std::function<void()> onPump;
  void PumpPending() override {
    ++pumps;
    if (onPump) onPump();
  }
};

}  // namespace velmok::fakes
