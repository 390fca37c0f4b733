// The print command, the progress window and the print run together, against the scripted
// ClarisWorks on a desk that does not cooperate, over many seeded random fault schedules in virtual
// time: delays, windows that never come, warnings that come back, ClarisWorks crashing, other
// programs' windows with ClarisWorks' titles, the foreground taken at any call or while keys are
// taken, a key held by the user, the screen locked (also in the middle of a batch of keys), ClarisWorks
// hiding its frame before it ends or warning before its frame is shown, a full queue, a stop at any
// event check or in the middle of a typed path, commands posted to the main window during the run.
//
// Every schedule is checked against what must always hold: no keystroke reaches a window outside
// ClarisWorks' process, and none follows a stop; no character of a path is typed twice; no document
// is opened twice or out of order; a run that reports success put every document through its whole
// sequence; commands during the run change nothing; the session is held (the machine awake, its end
// refused by both windows) while the run is under way and not after it; the run ends within its
// bound.
//
// A failing seed is printed; VELMOK_FAULT_SEED=<seed> replays it alone, with its report.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/texts.h"
#include "fakes/fake_main_view.h"
#include "fakes/memory_file_system.h"
#include "fakes/print_list_builder.h"
#include "mainwindow/frm_main_logic.h"
#include "platform/key_notation.h"
#include "printing/print_commands.h"
#include "resource.h"
#include "unit/print_run_world.h"

namespace velmok {
namespace {

using fakes::EndsWith;
using fakes::kStopText;
using fakes::kTimeoutText;

constexpr std::uint32_t kOther = 99;
constexpr platform::WindowId kProgressWindow = 555;
constexpr platform::WindowId kMainWindow = 444;
constexpr int kSchedules = 10000;

struct ForeignWindow {
  std::string title;
  std::int64_t from, until;  // virtual ms
  bool inFront;              // it takes the foreground when it opens
};

struct Schedule {
  std::vector<std::string> documents;
  std::map<std::string, std::string> shortForms;
  int launchMs, dialogMs, openMs, printMs, closeMs, quitMs, warningRepeatMs;
  std::set<std::string> readOnly, modified;
  int readOnlyRepeats = 0;
  std::string neverAnswers;
  int faultDocument = 0;
  bool printingBlink = false;
  int hidesFrameBeforeEndMs = -1;
  int warningBeforeFrameMs = -1;
  std::int64_t crashAt = -1;
  std::vector<ForeignWindow> foreign;
  int theftPerMille = 0;         // chance, per question asked of the desktop, that another program steps in
  int theftAfterKeysPercent = 0;  // chance, per batch of keys, that it steps in as they are taken
  std::vector<std::pair<std::int64_t, std::int64_t>> modifierHeld;
  std::vector<std::pair<std::int64_t, std::int64_t>> locked;  // the screen locked, from..until
  // The screen locked as a batch of keys goes, after some of its keystrokes: the first batch of
  // more than one keystroke from this moment on (-1: none), after this many, for this long.
  std::int64_t lockMidBatchFrom = -1;
  int lockMidBatchAfter = 1;
  int lockMidBatchMs = 0;
  std::vector<std::uint32_t> jobs{0};
  int stopAtPump = -1;
  int stopAtTypedPiece = -1;  // the stop pressed as this piece of a typed path is taken (-1: never)
  std::map<int, int> commandsAtPump;  // pump number -> what is given (index into kCommands)
};

// What may be given to the program while the run is under way.
enum class Given { PrintAll, PrintSelected, NewList, Close, Delete, SelectAll, Sort, SecondActivation, ExecPrint };
constexpr Given kGiven[] = {Given::PrintAll, Given::PrintSelected, Given::NewList,   Given::Close,
                            Given::Delete,   Given::SelectAll,     Given::Sort,      Given::SecondActivation,
                            Given::ExecPrint};

Schedule Draw(std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto chance = [&](int percent) { return between(1, 100) <= percent; };
  auto delay = [&] { return chance(3) ? between(20000, 24000) : (chance(30) ? 0 : between(0, 1500)); };

  Schedule s;
  const int n = between(1, 4);
  for (int i = 1; i <= n; ++i) {
    std::string name = std::to_string(i);
    if (chance(15)) name += "_Müller";
    if (chance(10)) name += " (案)+^%~{x}";
    const std::string path = "C:\\書類\\" + name + ".cwj";
    s.documents.push_back(path);
    if (path.find("ü") != std::string::npos && chance(90)) s.shortForms[path] = "C:\\SHORT~" + std::to_string(i) + ".CWJ";
  }
  s.launchMs = delay();
  s.dialogMs = delay();
  s.openMs = delay();
  s.printMs = chance(5) ? between(20000, 24000) : between(50, 3000);
  s.closeMs = delay();
  s.quitMs = delay();
  s.warningRepeatMs = between(0, 400);
  for (const auto& d : s.documents) {
    const std::string name = d.substr(d.rfind('\\') + 1);
    if (chance(20)) s.readOnly.insert(name);
    if (chance(20)) s.modified.insert(name);
  }
  s.readOnlyRepeats = chance(30) ? between(1, 3) : 0;
  if (chance(15)) s.hidesFrameBeforeEndMs = between(0, 8000);
  if (chance(15)) {
    s.warningBeforeFrameMs = between(0, 3000);
    s.readOnly.insert(s.documents.front().substr(s.documents.front().rfind('\\') + 1));
  }
  if (chance(10)) {
    const char* steps[] = {"launch", "opendialog", "open", "printdialog", "printing", "close", "quit"};
    s.neverAnswers = steps[between(0, 6)];
    s.faultDocument = between(0, n);
  }
  s.printingBlink = chance(2);
  if (chance(4)) s.crashAt = between(0, 30000);
  const char* titles[] = {"警告", "開く", "印刷", "クラリスワークス印刷"};
  for (int k = between(0, 3); k > 0; --k) {
    const std::int64_t from = chance(40) ? 0 : between(0, 40000);
    s.foreign.push_back({titles[between(0, 3)], from, from + between(500, 60000), chance(30)});
  }
  s.theftPerMille = chance(40) ? between(1, 3) : 0;
  s.theftAfterKeysPercent = chance(20) ? between(1, 10) : 0;
  if (chance(10)) {
    const std::int64_t from = between(0, 20000);
    s.modifierHeld.push_back({from, from + between(100, chance(10) ? 30000 : 3000)});
  }
  for (int k = chance(10) ? between(1, 2) : 0; k > 0; --k) {
    const std::int64_t from = between(0, 30000);
    s.locked.push_back({from, from + between(1, chance(20) ? 120000 : 10000)});
  }
  if (chance(10)) s.jobs = chance(70) ? std::vector<std::uint32_t>{7, 7, 8, 6} : std::vector<std::uint32_t>{9};
  if (chance(10)) {
    s.lockMidBatchFrom = between(0, 20000);
    s.lockMidBatchAfter = between(1, 7);
    s.lockMidBatchMs = between(1, chance(20) ? 60000 : 5000);
  }
  if (chance(25)) s.stopAtPump = between(0, 1500);
  if (chance(8)) s.stopAtTypedPiece = between(0, 6);
  for (int k = chance(30) ? between(1, 3) : 0; k > 0; --k)
    s.commandsAtPump[between(0, 1500)] = between(0, static_cast<int>(std::size(kGiven)) - 1);
  return s;
}

// A desk that only makes things slow or awkward, without a fault that must stop the run:
// ClarisWorks answers everything in time, nobody steps in while keys are taken, no stop, no
// queue that stays full, other programs' windows never in front. Such a run must succeed.
// (Another program that steps in at the very moment keys are taken makes it uncertain where they
// went: the run may stop there, and is then excused; see Desk::theftAtKeys_.)
bool Benign(const Schedule& s) {
  const int longest = std::max({s.launchMs, s.dialogMs, s.openMs, s.printMs, s.closeMs, s.quitMs});
  bool foreignInFront = false;
  for (const auto& f : s.foreign) foreignInFront = foreignInFront || f.inFront;
  bool longHold = false;
  for (const auto& [from, until] : s.modifierHeld) longHold = longHold || until - from > 15000;
  return s.neverAnswers.empty() && !s.printingBlink && s.crashAt < 0 && longest < 15000 && !foreignInFront &&
         s.theftAfterKeysPercent == 0 && !longHold && s.jobs.front() != 9 && s.stopAtPump < 0 &&
         s.stopAtTypedPiece < 0;
}

// The longest a run can take, from the limits of its waits, holds and pauses.
std::int64_t Bound(const Schedule& s) {
  const std::int64_t poll = PrintRun::kPollMs;
  const std::int64_t pause = 21 * poll;
  const std::int64_t hold = PrintRun::kPollLimit * poll;                       // one batch of keys
  const std::int64_t wait = PrintRun::kPollLimit * poll;                       // a wait without warnings
  const std::int64_t warned = PrintRun::kPollLimit * (poll + 2 * pause + hold);  // answering in every poll
  std::int64_t total = 0;
  for (const auto& d : s.documents) {
    const std::int64_t batches = static_cast<std::int64_t>(d.size());  // at least one character each
    total += (5 + batches) * hold + 8 * pause + 4 * wait + 2 * warned + PrintRun::kQueueLimit * pause;
  }
  // A locked screen holds the keys as long as it lasts.
  for (const auto& [from, until] : s.locked) total += until - from;
  total += s.lockMidBatchMs;
  return total + hold + pause + wait;
}

// The whole program around one run: the main window's logic with its commands, the print
// commands, the progress window's logic and the run.
class Desk final : public MainWindowHandlers {
 public:
  explicit Desk(const Schedule& s) : s_(s), world_(), rng_(12345) {
    for (const auto& d : s.documents) {
      list_.Add(fakes::MakeEntry(d));
      files_.AddFile(d);
    }
    auto& c = world_.claris;
    c.launchMs = s.launchMs;
    c.dialogMs = s.dialogMs;
    c.openMs = s.openMs;
    c.printMs = s.printMs;
    c.closeMs = s.closeMs;
    c.quitMs = s.quitMs;
    c.warningRepeatMs = s.warningRepeatMs;
    c.readOnly = s.readOnly;
    c.readOnlyRepeats = s.readOnlyRepeats;
    c.modified = s.modified;
    if (!s.neverAnswers.empty()) c.neverAnswers.insert(s.neverAnswers);
    c.faultDocument = s.faultDocument;
    c.printingBlink = s.printingBlink;
    c.hidesFrameBeforeEndMs = s.hidesFrameBeforeEndMs;
    c.warningBeforeFrameMs = s.warningBeforeFrameMs;
    c.underneath = kProgressWindow;
    world_.queue.jobs = s.jobs;
    ansi_.shortForms = s.shortForms;
    thief_ = world_.windows.Add({"Other", "よそのアプリ", kOther});
    world_.windows.foreground = thief_;  // the user's file manager, say

    world_.windows.onCall = [this] { OnDesktopQuestion(); };
    world_.keyboard.afterSend = [this] { OnKeysTaken(); };
    world_.keyboard.lockAfter = [this](std::string_view keys) { return LockMidBatch(keys); };
    hold_.AddWindow(kMainWindow);
    hold_.AddWindow(kProgressWindow);
    world_.pump.onPump = [this] { OnEvents(); };
    bound_ = Bound(s);
    world_.clock.onSleep = [this](int) {
      keysJustTaken_ = theftAtKeys_ = false;
      world_.claris.Advance();
      if (world_.clock.sleptMs > bound_) throw std::runtime_error("the run went on past its bound");
    };
  }

  // MainWindowHandlers
  void Paste() override { report_ << "paste performed during the run\n"; }
  void ShowFileProperty(const std::string&) override { report_ << "properties shown during the run\n"; }
  void PrintAll() override { commands_.mnuPrint_AllPrint_Click(); }
  void PrintSelected() override { commands_.mnuPrint_SelectedPrint_Click(); }
  void SendMail() override {}
  void OpenMakersWebPage() override {}
  void ShowAbout() override {}
  void LogLevelChosen(int) override { report_ << "log level chosen during the run\n"; }
  void RestoreLogLevel() override {}
  void SaveLogLevel() override {}
  bool PrintRunUnderWay() const override { return commands_.RunUnderWay(); }
  bool PrintRunHoldsSession() const override { return hold_.Held(); }

  // Presses F5 and follows the run to its report; returns what went wrong.
  std::string Play() {
    mainLogic_.RefreshMenus();
    mainLogic_.Execute(IDM_PRINT_ALLPRINT);
    Check();
    return report_.str();
  }

  std::string ProgressText() const { return world_.display.text; }
  // Every attempt to send keys, every theft and give-back, as they happen.
  void Trace() {
    tracing_ = true;
    world_.keyboard.onAttempt = [this](platform::WindowId front, std::string_view k, platform::Keyboard::Outcome o) {
      std::printf("%8lld keys %s to %llu (%s): outcome %d\n", static_cast<long long>(Now()), std::string(k).c_str(),
                  static_cast<unsigned long long>(front), world_.windows.windows[front].title.c_str(),
                  static_cast<int>(o));
    };
  }

 private:
  struct Session final : PrintSession {
    explicit Session(Desk* d) : desk(d) {}
    Desk* desk;
    void HideMainWindow() override { desk->hidden_ = true; }
    void ShowProgressModal() override { desk->ShowProgress(); }
    void ShowMainWindow() override { desk->hidden_ = false; }
    void SetStatusText(std::string_view text) override { desk->mainView_.SetStatusText(text); }
  };

  void ShowProgress() {
    ++runs_;
    targetsAtStart_ = state_.TargetFiles;
    progressLogic_.Form_Load();
    progressLogic_.Form_Activate();
    if (progressLogic_.ButtonCaption() == texts::kProgressCloseButton) progressLogic_.cmdCancel_Click();
  }

  bool Run(int& printed) {
    PrintRun run({world_.probes, world_.keyboard, world_.shell, world_.queue, world_.clock, world_.progress,
                  kProgressWindow, "C:\\VELMOK"});
    try {
      const bool ok = run.PrintSub(list_.Count(), state_.TargetFiles, state_.ClarisPaths);
      printed = run.PrintedCount();
      printedCount_ = printed;
      return ok;
    } catch (const std::runtime_error& e) {
      report_ << e.what() << "\n";
      printed = 0;
      return false;
    }
  }

  std::int64_t Now() const { return world_.clock.sleptMs; }

  // Another program steps in: it takes the foreground from whoever has it, for a while.
  void StepIn(std::int64_t forMs) {
    if (theftUntil_ >= 0) return;
    if (keysJustTaken_) theftAtKeys_ = true;
    if (tracing_) std::printf("%8lld another program steps in for %lld ms\n", static_cast<long long>(Now()),
                              static_cast<long long>(forMs));
    takenFrom_ = world_.windows.foreground;
    world_.windows.foreground = thief_;
    theftUntil_ = Now() + forMs;
  }

  void GiveBack() {
    theftUntil_ = -1;
    if (tracing_) std::printf("%8lld it gives the foreground back\n", static_cast<long long>(Now()));
    if (world_.windows.foreground != thief_) return;
    // Back to the window it came from; when that has gone meanwhile, Windows activates the next
    // window down, ClarisWorks' main window when it runs.
    const bool exists = world_.windows.windows.count(takenFrom_) != 0;
    if (world_.claris.Owns(takenFrom_) || (!exists && world_.claris.running()))
      world_.claris.Activate();
    else
      world_.windows.foreground = exists ? takenFrom_ : platform::kNoWindow;
  }

  void KeepTime() {
    if (theftUntil_ >= 0 && Now() >= theftUntil_) GiveBack();
    for (std::size_t i = 0; i < s_.foreign.size(); ++i) {
      const ForeignWindow& f = s_.foreign[i];
      auto& [phase, id] = foreign_[i];  // phase 0: not yet open, 1: open, 2: gone
      if (phase == 0 && Now() >= f.from && Now() < f.until) {
        phase = 1;
        const platform::WindowId previous = world_.windows.foreground;
        id = world_.windows.Add({"OtherApp", f.title, kOther});
        if (f.inFront && theftUntil_ < 0) {
          takenFrom_ = previous;
          world_.windows.foreground = id;
        }
      } else if (phase == 1 && Now() >= f.until) {
        phase = 2;
        const bool wasInFront = world_.windows.foreground == id;
        world_.windows.Remove(id);
        if (wasInFront) {
          world_.windows.foreground = thief_;
          GiveBack();
        }
      }
    }
    bool held = false;
    for (const auto& [from, until] : s_.modifierHeld) held = held || (Now() >= from && Now() < until);
    world_.keyboard.modifiersHeld = held;
    bool locked = Now() >= midBatchLock_.first && Now() < midBatchLock_.second;
    for (const auto& [from, until] : s_.locked) locked = locked || (Now() >= from && Now() < until);
    if (locked && !world_.keyboard.locked) ++locks_;
    world_.keyboard.locked = locked;
    if (s_.crashAt >= 0 && Now() >= s_.crashAt && world_.claris.running()) {
      world_.claris.Crash();
      crashed_ = true;
    }
  }

  void OnDesktopQuestion() {
    KeepTime();
    if (s_.theftPerMille > 0 && std::uniform_int_distribution<int>(1, 1000)(rng_) <= s_.theftPerMille)
      StepIn(std::uniform_int_distribution<int>(0, 4000)(rng_));
  }

  // The session locks as the first batch of several keystrokes from the scheduled moment goes.
  std::optional<std::size_t> LockMidBatch(std::string_view keys) {
    const auto strokes = ParseKeyNotation(keys);
    if (s_.lockMidBatchFrom < 0 || Now() < s_.lockMidBatchFrom || midBatchLock_.second > 0 || !strokes ||
        strokes->size() < 2)
      return std::nullopt;
    midBatchLock_ = {Now(), Now() + s_.lockMidBatchMs};
    ++locks_;
    return std::min<std::size_t>(static_cast<std::size_t>(s_.lockMidBatchAfter), strokes->size() - 1);
  }

  void OnKeysTaken() {
    keysJustTaken_ = true;
    // The stop pressed as a piece of a path is taken: it waits in the queue until the program next
    // looks at its events.
    const std::string& keys = world_.keyboard.sent.back().notation;
    const auto front = world_.windows.windows.find(world_.keyboard.receivers.back());
    const bool typedPiece = front != world_.windows.windows.end() && front->second.title == texts::kOpenDialogTitle &&
                            keys != "^o" && keys != "{ENTER}";
    if (typedPiece && !stopRequested_ && typedPieces_++ == s_.stopAtTypedPiece) {
      stopRequested_ = true;
      keysAtStop_ = world_.keyboard.sent.size();
      pressWaiting_ = true;
    }
    if (stopRequested_ && world_.keyboard.sent.size() > keysAtStop_)
      report_ << "a key went out after the stop: " << world_.keyboard.sent.back().notation << "\n";
    if (world_.keyboard.locked) report_ << "a key went out while the screen was locked\n";
    if (s_.theftAfterKeysPercent > 0 && std::uniform_int_distribution<int>(1, 100)(rng_) <= s_.theftAfterKeysPercent)
      StepIn(std::uniform_int_distribution<int>(0, 3000)(rng_));
  }

  void OnEvents() {
    KeepTime();
    if (progressLogic_.Running() &&
        (!duties_.awake || duties_.reasons.size() != 2 || mainLogic_.QueryEndSession() || progressLogic_.QueryEndSession()))
      sessionLetGo_ = true;
    if (pressWaiting_) {
      pressWaiting_ = false;
      progressLogic_.cmdCancel_Click();
    }
    const int pump = pumps_++;
    if (pump == s_.stopAtPump && !stopRequested_) {
      stopRequested_ = true;
      keysAtStop_ = world_.keyboard.sent.size();
      progressLogic_.cmdCancel_Click();
    }
    if (const auto it = s_.commandsAtPump.find(pump); it != s_.commandsAtPump.end()) Give(kGiven[it->second]);
  }

  void Give(Given what) {
    const std::string before = ListState();
    switch (what) {
      case Given::PrintAll: mainLogic_.Execute(IDM_PRINT_ALLPRINT); break;
      case Given::PrintSelected: mainLogic_.Execute(IDM_POPUP_SELECTEDPRINT); break;
      case Given::NewList: mainLogic_.Execute(IDM_FILE_NEW); break;
      case Given::Close: mainLogic_.Execute(IDM_FILE_CLOSE); break;
      case Given::Delete: mainLogic_.Execute(IDM_EDIT_DELETE); break;
      case Given::SelectAll: mainLogic_.Execute(IDM_EDIT_ALLSELECT); break;
      case Given::Sort: mainLogic_.ColumnClick(0); break;
      case Given::SecondActivation: progressLogic_.Form_Activate(); break;
      case Given::ExecPrint: commands_.ExecPrint(); break;
    }
    if (ListState() != before)
      report_ << "the list changed during the run (command " << static_cast<int>(what) << ")\n";
    if (mainLogic_.CloseAllowed()) report_ << "a close would have been allowed during the run\n";
  }

  // The list as the user sees it: the entries in their order with their selection marks, the
  // current entry, the sort state.
  std::string ListState() const {
    std::string state;
    for (std::size_t i = 0; i < list_.Count(); ++i)
      state += list_.At(i).Key() + (list_.IsSelected(i) ? " *\n" : "\n");
    const auto current = list_.Current();
    const SortState& sort = list_.Sort();
    state += "current " + (current ? std::to_string(*current) : std::string("-")) + ", sort " +
             (sort.sorted ? std::to_string(sort.key) + "/" + std::to_string(static_cast<int>(sort.direction)) : "-");
    return state;
  }

  void Check() {
    bool unreachable = false;
    for (const auto& d : s_.documents) unreachable = unreachable || (!ansi_.ReachesAnsiProgram(d) && !s_.shortForms.count(d));
    if (unreachable) {
      // Refused before anything is sent.
      if (runs_ != 0 || messages_.shown.size() != 1 || !world_.keyboard.sent.empty() || !world_.shell.calls.empty())
        report_ << "a document ClarisWorks cannot read was not refused\n";
      return;
    }
    const auto& c = world_.claris;
    const std::vector<std::string>& handed = state_.ClarisPaths;
    const std::size_t n = s_.documents.size();
    if (runs_ != 1) report_ << "runs: " << runs_ << "\n";
    if (state_.TargetFiles != targetsAtStart_ || targetsAtStart_ != s_.documents)
      report_ << "the documents of the run changed\n";
    if (handed.size() != n) report_ << "no path for every document\n";
    for (const auto& k : world_.KeysOutsideClaris()) report_ << "a key reached another program: " << k << "\n";
    if (stopRequested_ && world_.keyboard.sent.size() != keysAtStop_) report_ << "keys went out after the stop\n";

    // Each document opened once, in order; printed once, in order.
    auto inOrder = [&](const std::vector<std::string>& seen, const char* what) {
      if (seen.size() > handed.size()) {
        report_ << what << " more documents than listed\n";
        return;
      }
      for (std::size_t i = 0; i < seen.size(); ++i)
        if (seen[i] != handed[i]) report_ << what << " #" << i + 1 << ": " << seen[i] << "\n";
    };
    inOrder(c.opened, "opened");
    inOrder(c.printed, "printed");
    if (c.untitled != 0) report_ << "new documents made by stray keys: " << c.untitled << "\n";
    if (c.typedIntoDocument != 0) report_ << "keys typed into a document: " << c.typedIntoDocument << "\n";

    const bool ok = state_.LastPrintResult != -1;
    const std::string& text = world_.display.text;
    if (!ok && Benign(s_) && !theftAtKeys_) report_ << "a run without a fault failed\n";
    if (ok) {
      if (c.printed != handed) report_ << "success reported, but not every document printed\n";
      if (printedCount_ != static_cast<int>(n) || state_.LastPrintResult != static_cast<int>(n))
        report_ << "success reported with " << state_.LastPrintResult << " of " << n << "\n";
      if (c.running()) report_ << "success reported while ClarisWorks still runs\n";
      if (mainView_.status != std::to_string(n) + std::string(texts::kStatusPrintedSuffix))
        report_ << "status line: " << mainView_.status << "\n";
    } else {
      if (mainView_.status != texts::kStatusPrintFailed) report_ << "status line: " << mainView_.status << "\n";
      if (!EndsWith(text, kTimeoutText) && !EndsWith(text, kStopText) && report_.tellp() == 0)
        report_ << "a failed run without its timeout or stop text\n";
    }
    if (text.find(kStopText) != text.rfind(kStopText)) report_ << "the stop text came twice\n";
    if (locks_ == 0 && text.find(texts::kRunWaitingForUnlock) != std::string::npos)
      report_ << "waited for an unlock with the screen never locked\n";
    if (hidden_) report_ << "the main window stays hidden\n";
    if (sessionLetGo_) report_ << "the session was not held at every event check of the run\n";
    if (duties_.awake || !duties_.reasons.empty() || !mainLogic_.QueryEndSession() || duties_.awakeCalls != runs_)
      report_ << "the session is held after the run, or was held more than once\n";
    if (list_.Count() != n) report_ << "the list changed\n";
    if (mainView_.closes != 0) report_ << "the main window was closed during the run\n";
  }

  const Schedule& s_;
  fakes::RunWorld world_;
  std::mt19937 rng_;
  PrintList list_;
  fakes::FakeMainView mainView_;
  FrmMainLogic mainLogic_{list_, mainView_, *this};
  fakes::FakeAnsiPaths ansi_;
  fakes::FakeMessageBoxes messages_;
  PrintState state_;
  Session session_{this};
  fakes::MemoryFileSystem files_;
  PrintCommands commands_{list_, world_.probes, files_, ansi_, messages_, session_, state_};
  struct NoView final : ProgressView {
    void MakeTopmost() override {}
    void SetWarningText(std::string_view) override {}
    void SetWarningVisible(bool) override {}
    void SetButton(std::string_view, bool) override {}
    void RemoveCloseItem() override {}
    void PostClose() override {}
    void Close() override {}
  } progressView_;
  fakes::FakeSessionDuties duties_;
  RunSessionHold hold_{duties_};
  FrmProgressLogic progressLogic_{progressView_, world_.progress, state_, hold_, [this](int& p) { return Run(p); }};

  std::ostringstream report_;
  std::int64_t bound_ = 0;
  platform::WindowId thief_ = platform::kNoWindow;
  platform::WindowId takenFrom_ = platform::kNoWindow;
  std::int64_t theftUntil_ = -1;
  std::map<std::size_t, std::pair<int, platform::WindowId>> foreign_;
  bool crashed_ = false;
  // Keys were taken and no time has passed since: another program that steps in now makes it
  // uncertain where they went, and a run that stops right there (without a moment passing) is
  // excused. A theft at any other moment, in the same millisecond or not, is not.
  bool keysJustTaken_ = false;
  bool theftAtKeys_ = false;
  int locks_ = 0;
  bool tracing_ = false;
  bool hidden_ = false;
  bool stopRequested_ = false;
  bool pressWaiting_ = false;  // a press of the stop button not yet handled
  int typedPieces_ = 0;
  std::pair<std::int64_t, std::int64_t> midBatchLock_{-1, -1};
  bool sessionLetGo_ = false;
  std::size_t keysAtStop_ = 0;
  int pumps_ = 0;
  int runs_ = 0;
  int printedCount_ = -1;
  std::vector<std::string> targetsAtStart_;
};

std::string Describe(const Schedule& s) {
  std::ostringstream o;
  o << "documents:";
  for (const auto& d : s.documents) o << " " << d;
  o << "\ndelays launch " << s.launchMs << " dialog " << s.dialogMs << " open " << s.openMs << " print " << s.printMs
    << " close " << s.closeMs << " quit " << s.quitMs << "; read-only " << s.readOnly.size() << " (again "
    << s.readOnlyRepeats << "), modified " << s.modified.size() << "; never " << s.neverAnswers << ":"
    << s.faultDocument << (s.printingBlink ? "; printing blinks" : "") << "; crash at " << s.crashAt
    << "; frame hidden " << s.hidesFrameBeforeEndMs << " ms before the end; warning " << s.warningBeforeFrameMs
    << " ms before the frame; screen locked " << s.locked.size() << " times, mid-batch from " << s.lockMidBatchFrom
    << " after " << s.lockMidBatchAfter << " keys for " << s.lockMidBatchMs << " ms"
    << "\nforeign windows " << s.foreign.size() << ", thefts " << s.theftPerMille << "/1000 per question, "
    << s.theftAfterKeysPercent << "% after keys, modifier held " << s.modifierHeld.size() << ", queue "
    << s.jobs.front() << ", stop at pump " << s.stopAtPump << " or typed piece " << s.stopAtTypedPiece << ", commands "
    << s.commandsAtPump.size() << "\n";
  return o.str();
}

TEST(PrintRunFaults, InvariantsHoldOverRandomFaultSchedules) {
  std::uint32_t first = 1;
  std::uint32_t last = kSchedules;
  if (const char* replay = std::getenv("VELMOK_FAULT_SEED")) first = last = static_cast<std::uint32_t>(std::atol(replay));
  int failures = 0;
  for (std::uint32_t seed = first; seed <= last && failures < 5; ++seed) {
    const Schedule s = Draw(seed);
    Desk desk(s);
    if (first == last) desk.Trace();
    const std::string problems = desk.Play();
    if (first == last) std::printf("%s\n%s\n", Describe(s).c_str(), desk.ProgressText().c_str());
    if (problems.empty()) continue;
    ++failures;
    ADD_FAILURE() << "seed " << seed << " (replay: VELMOK_FAULT_SEED=" << seed << ")\n"
                  << Describe(s) << problems;
  }
}

}  // namespace
}  // namespace velmok
