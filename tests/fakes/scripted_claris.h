#pragma once
// A scripted ClarisWorks for the print run's tests, living in virtual time: it reacts to the
// keystrokes of a FakeKeyboard and to the shell's "open" as the real application does, with
// delays counted on the FakeClock, through windows of a FakeWindowSystem.
//
// It is as awkward as the real one: keys reach it only through the window in front; a key that
// arrives while it is busy (a dialog on its way, a document opening, printing or closing) waits
// and is taken afterwards, in whatever state it is in then; Ctrl+N outside the save warning makes a
// new untitled document, and Enter or text typed into a document modifies it.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "platform/ansi_paths.h"
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
  // Faults: a step that never answers ("launch", "opendialog", "open", "printdialog", "printing",
  // "close", "quit") for the document of that ordinal (0: every document), and a printing window
  // shorter than one poll.
  std::set<std::string> neverAnswers;
  int faultDocument = 0;
  bool printingBlink = false;
  // Its own ways of ending and starting: after Ctrl+Q it hides its frame this long before it ends
  // (-1: it does not hide it); and a read-only first document raises the warning at launch before
  // the frame is shown, which then comes this long after the warning is answered (-1: frame first).
  int hidesFrameBeforeEndMs = -1;
  int warningBeforeFrameMs = -1;
  // Where Windows puts the foreground while ClarisWorks shows no window of its own: the program's
  // progress window, which lies under it.
  platform::WindowId underneath = platform::kNoWindow;

  ScriptedClaris(FakeWindowSystem& windows, FakeClock& clock, FakeKeyboard& keyboard);

  // What the run did to it.
  std::vector<std::string> printed;    // full paths (or names of untitled documents), in order
  std::vector<std::string> opened;     // every path it was asked to open, in order
  std::vector<std::string> keys;       // every notation that reached one of its windows
  std::vector<std::string> strayKeys;  // keys that did nothing, or what no person would want
  int untitled = 0;                    // new documents made by a stray Ctrl+N
  int typedIntoDocument = 0;           // Enter or text typed into an open document
  bool running() const { return main_ != platform::kNoWindow; }
  bool Owns(platform::WindowId window) const;

  void Launch(const std::string& path);  // the shell's "open"
  // The user (or another program giving the foreground back) activates ClarisWorks: its open
  // dialog, if any, comes to the front with it.
  void Activate();
  // The process ends at once: every window gone, nothing more happens.
  void Crash();
  // Runs what is due at the clock's current time.
  void Advance();

 private:
  enum class State {
    None, Idle, DialogComing, OpenDialog, Opening, ReadOnlyWarning, PrintDialog, Printing, SaveWarning, Closing,
    Quitting,
  };
  struct Document {
    std::string path;
    std::string name;
    bool modified = false;
  };
  struct Pending {
    std::string notation;
  };

  bool Busy() const;
  bool Faulty(const char* step) const;
  void At(int delayMs, std::function<void()> action);
  void OnKeys(const FakeKeyboard::Sent& sent);
  void Take(const std::string& k);
  void TakeInIdle(const std::string& k);
  void Stray(const std::string& k) { strayKeys.push_back(k); }
  void TakePending();
  platform::WindowId Show(const std::string& title, bool activate = true);
  void Hide(platform::WindowId& window);
  void ShowTitle();
  void BeginOpen(const std::string& path);
  void FinishOpen();
  void BeginClose();
  void FinishClose();
  void BeginQuit();
  static std::string NameOf(const std::string& path);

  FakeWindowSystem& windows_;
  FakeClock& clock_;
  State state_ = State::None;
  platform::WindowId main_ = platform::kNoWindow;
  platform::WindowId dialog_ = platform::kNoWindow;
  platform::WindowId printing_ = platform::kNoWindow;
  std::string typed_;
  Document opening_;
  std::vector<Document> documents_;  // open documents, the front one last
  int warningsLeft_ = 0;
  int ordinal_ = 0;                  // of the target document being opened (1, 2, ...)
  bool quitting_ = false;
  bool frameHidden_ = false;         // the main window exists but is not shown
  std::vector<Pending> pending_;     // keys that came while it was busy
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

// Events in virtual time: the sleeps between event checks go by on `clock`.
class FakePump final : public platform::EventPump {
 public:
  explicit FakePump(platform::Clock& clock) : clock_(clock) {}
  int pumps = 0;
  std::function<void()> onPump;
  void PumpPending() override {
    ++pumps;
    if (onPump) onPump();
  }
  void SleepUnlessStopWaits(int ms) override { clock_.Sleep(ms); }

 private:
  platform::Clock& clock_;
};

// Paths that an ANSI program can read unless they hold one of `unreadable`'s texts or are longer
// than `longest` bytes; short forms as listed.
class FakeAnsiPaths final : public platform::AnsiPaths {
 public:
  std::vector<std::string> unreadable{"한", "ü"};
  std::size_t longest = 259;
  std::map<std::string, std::string> shortForms;
  bool ReachesAnsiProgram(std::string_view path) override {
    if (path.size() > longest) return false;
    for (const auto& u : unreadable)
      if (path.find(u) != std::string_view::npos) return false;
    return true;
  }
  std::string ShortForm(std::string_view path) override {
    const auto it = shortForms.find(std::string(path));
    return it == shortForms.end() ? std::string() : it->second;
  }
};

}  // namespace velmok::fakes
