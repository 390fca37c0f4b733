// The print run on a desk that does not cooperate: other programs' windows with ClarisWorks'
// titles, the foreground taken between a check and a keystroke, a stop pressed at any moment, a
// key the user holds. Whatever happens, no key goes anywhere but to the ClarisWorks window that was
// checked to be in front, and none at all after a stop.

#include <gtest/gtest.h>

#include "core/texts.h"
#include "platform/key_notation.h"
#include "platform/utf8.h"
#include "printing/print_run.h"
#include "unit/print_run_world.h"

namespace velmok {
namespace {

using fakes::EndsWith;
using fakes::kStopText;
using fakes::kTimeoutText;
using fakes::RunWorld;
using Outcome = platform::Keyboard::Outcome;

constexpr std::uint32_t kOther = 99;  // another program's process

int Count(const std::vector<fakes::FakeKeyboard::Sent>& sent, const std::string& notation) {
  int n = 0;
  for (const auto& s : sent) n += s.notation == notation;
  return n;
}

// The characters the batches of keys spell, in order.
std::string Spelled(const std::vector<fakes::FakeKeyboard::Sent>& sent, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t i = from; i < to && i < sent.size(); ++i)
    if (const auto strokes = ParseKeyNotation(sent[i].notation))
      for (const auto& stroke : *strokes) AppendUtf8(out, stroke.character);
  return out;
}

// A wait counts polls 0 to 400: a window that comes at poll 400 is seen, one that would come at
// poll 401 is not.
TEST(PrintRun, AWaitGivesUpAfterExactly401Polls) {
  struct Case {
    int poll;  // the poll of the print dialog wait at which the dialog comes
    bool seen;
  };
  for (const Case c : {Case{399, true}, Case{400, true}, Case{401, false}, Case{402, false}}) {
    SCOPED_TRACE(c.poll);
    RunWorld w;
    w.Prompt();
    w.claris.dialogMs = 1050 + c.poll * 50;  // Ctrl+P, then a pause, then the polls
    const bool ok = w.Run({"C:\\a.cwj"});
    EXPECT_EQ(ok, c.seen);
    const std::string& text = w.display.text;
    if (c.seen) {
      EXPECT_NE(text.find("印刷ダイアログ検知 Cnt=" + std::to_string(c.poll) + "\r\n"), std::string::npos) << text;
    } else {
      EXPECT_TRUE(EndsWith(text, "CTRL+Pを送信しています..." + kTimeoutText)) << text;
      EXPECT_EQ(Count(w.keyboard.sent, "{ENTER}"), 0) << "nothing more is sent";
    }
  }
}

TEST(PrintRun, OnlyClarisWorksOwnWindowsAreAnsweredOrAwaited) {
  RunWorld w;
  w.claris.closeMs = 3000;  // a slow close: the save-warning wait polls sixty times
  w.claris.openMs = 2000;
  // Another program's windows with ClarisWorks' titles, open for the whole run, never in front.
  for (const char* title : {"警告", "開く", "印刷", "クラリスワークス印刷"})
    w.windows.Add({"OtherApp", title, kOther});
  const std::vector<std::string> targets = {"C:\\d\\1.cwj", "C:\\d\\2.cwj", "C:\\d\\3.cwj"};
  ASSERT_TRUE(w.Run(targets)) << w.display.text;
  EXPECT_EQ(w.claris.printed, targets);
  EXPECT_EQ(w.claris.opened, targets);
  EXPECT_EQ(Count(w.keyboard.sent, "^n"), 0) << "the other program's 警告 was answered";
  EXPECT_EQ(w.claris.untitled, 0);
  EXPECT_TRUE(w.claris.strayKeys.empty());
  EXPECT_TRUE(w.KeysOutsideClaris().empty());
  EXPECT_EQ(w.display.text.find("警告検知"), std::string::npos);
}

TEST(PrintRun, AnotherProgramsPrintDialogDoesNotTakeTheEnterMeantForClarisWorks) {
  RunWorld w;
  w.Prompt();
  w.claris.dialogMs = 3000;  // ClarisWorks' own print dialog takes its time
  w.pump.onPump = [&] {
    // An editor's print dialog opens in the background while ClarisWorks prepares its own.
    if (w.keyboard.sent.size() == 1 && w.windows.FindTopLevelByTitle("印刷") == platform::kNoWindow)
      w.windows.Add({"Editor", "印刷", kOther});
  };
  ASSERT_TRUE(w.Run({"C:\\d\\1.cwj"})) << w.display.text;
  EXPECT_TRUE(w.claris.strayKeys.empty()) << "no Enter typed into the document";
  EXPECT_NE(w.display.text.find("印刷ダイアログ検知 Cnt=39\r\n"), std::string::npos) << w.display.text;
}

// A stop requested anywhere, also while a step's text is being shown or a key is held, is
// honoured before the next keystroke.
TEST(PrintRun, AStopMeansNoFurtherKeystroke) {
  struct Case {
    const char* name;
    std::string shownWhenPressed;  // the status text ends with this when the stop is pressed
    bool foreignInFront;           // another program holds the foreground meanwhile
  };
  const std::vector<Case> cases = {
      {"as ClarisWorks is being started", "クラリスワークスの起動中...", false},
      {"between Ctrl+P's text and its key", "CTRL+Pを送信しています...", false},
      {"between Enter's text and its key", "ENTERを送信しています...", false},
      {"between the Open dialog's text and Ctrl+O", "ファイルを開いています...", false},
      {"while a key is held for the foreground", "CTRL+Wを送信しています...", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunWorld w;
    w.Prompt();
    const auto other = w.windows.Add({"Other", "よそのアプリ", kOther});
    std::size_t sentAtStop = 0;
    bool stopped = false;
    w.pump.onPump = [&] {
      if (stopped || !EndsWith(w.display.text, c.shownWhenPressed)) return;
      if (c.foreignInFront && w.windows.foreground != other) {
        w.windows.foreground = other;
        return;  // held for one check first
      }
      stopped = true;
      sentAtStop = w.keyboard.sent.size();
      w.progress.SetCancelRequested(true);
    };
    EXPECT_FALSE(w.Run({"C:\\a.cwj", "C:\\b.cwj"}));
    ASSERT_TRUE(stopped);
    EXPECT_EQ(w.keyboard.sent.size(), sentAtStop) << "a key went out after the stop";
    EXPECT_TRUE(EndsWith(w.display.text, c.shownWhenPressed + kStopText)) << w.display.text;
    EXPECT_EQ(w.display.text.find(kStopText), w.display.text.size() - kStopText.size()) << "once";
    if (c.shownWhenPressed == "クラリスワークスの起動中...") {
      EXPECT_TRUE(w.shell.calls.empty());
    }
    if (c.shownWhenPressed == "ENTERを送信しています...") {
      EXPECT_TRUE(w.claris.printed.empty());
    }
  }
}

TEST(PrintRun, AForegroundThatChangesWhileKeysAreTakenStopsTheRun) {
  struct Case {
    const char* name;
    std::function<bool(const std::string& notation)> takenAway;  // after this batch
    bool toClarisMain;  // to ClarisWorks' own main window rather than another program's
    bool stops;
  };
  const auto midPath = [](const std::string& k) { return k == "C:\\d\\222"; };
  const std::vector<Case> cases = {
      {"in the middle of a typed path", midPath, false, true},
      {"to ClarisWorks' main window in the middle of a typed path", midPath, true, true},
      {"right after Ctrl+P", [](const std::string& k) { return k == "^p"; }, false, true},
      {"to another window of ClarisWorks after Ctrl+O", [](const std::string&) { return false; }, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunWorld w;
    w.Prompt();
    const auto other = w.windows.Add({"Other", "よそのアプリ", kOther});
    std::size_t sentWhenTaken = 0;
    std::int64_t takenAt = 0;
    w.keyboard.afterSend = [&] {
      if (sentWhenTaken == 0 && c.takenAway(w.keyboard.sent.back().notation)) {
        takenAt = w.clock.sleptMs;
        w.windows.foreground = c.toClarisMain ? w.windows.FindTopLevelByClass("CLW4MainClass") : other;
        sentWhenTaken = w.keyboard.sent.size();
      }
    };
    const bool ok = w.Run({"C:\\d\\1.cwj", "C:\\d\\2222.cwj"});
    if (!c.stops) {
      EXPECT_TRUE(ok) << w.display.text;  // (Prompt: the dialogs come while their key is taken)
      EXPECT_EQ(w.claris.printed.size(), 2u);
      continue;
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(EndsWith(w.display.text, kTimeoutText)) << w.display.text;
    EXPECT_EQ(w.keyboard.sent.size(), sentWhenTaken) << "nothing more went out";
    EXPECT_EQ(w.clock.sleptMs, takenAt) << "the run stops at once, not after holding the next key";
    EXPECT_TRUE(w.KeysOutsideClaris().empty());
  }
}

TEST(PrintRun, AnAnswerWaitsForItsDialogToBeInFront) {
  RunWorld w;
  w.Prompt();
  w.claris.readOnly = {"ro.cwj"};
  w.claris.openMs = 500;
  const auto other = w.windows.Add({"Other", "よそのアプリ", kOther});
  std::int64_t givenBack = 0;
  w.pump.onPump = [&] {
    // Another program is in front as the warning opens, and gives the foreground back to
    // ClarisWorks' main window a while later, not to the warning.
    if (givenBack == 0 && w.claris.running() && w.clock.sleptMs >= 300) {
      w.windows.foreground = other;
      givenBack = w.clock.sleptMs + 1500;
    }
    if (givenBack != 0 && w.windows.foreground == other && w.clock.sleptMs >= givenBack)
      w.windows.foreground = w.windows.FindTopLevelByClass("CLW4MainClass");
    if (givenBack != 0 && w.clock.sleptMs >= givenBack + 2000) w.claris.Activate();  // the user clicks it
  };
  ASSERT_TRUE(w.Run({"C:\\d\\ro.cwj"})) << w.display.text;
  EXPECT_TRUE(w.claris.strayKeys.empty()) << "the Enter was not typed into the main window";
  EXPECT_EQ(w.claris.printed.size(), 1u);
}

TEST(PrintRun, KeysHeldByTheUserOrRefusedBySendInput) {
  {
    SCOPED_TRACE("Shift held for three seconds: the keys wait");
    RunWorld w;
    w.Prompt();
    w.pump.onPump = [&] { w.keyboard.modifiersHeld = w.clock.sleptMs >= 500 && w.clock.sleptMs < 3500; };
    ASSERT_TRUE(w.Run({"C:\\a.cwj"})) << w.display.text;
    EXPECT_GE(w.clock.sleptMs, 3500);
  }
  {
    SCOPED_TRACE("a modifier never let go");
    RunWorld w;
    w.Prompt();
    w.keyboard.modifiersHeld = true;
    EXPECT_FALSE(w.Run({"C:\\a.cwj"}));
    EXPECT_TRUE(w.keyboard.sent.empty());
    EXPECT_TRUE(EndsWith(w.display.text, "CTRL+Pを送信しています..." + kTimeoutText)) << w.display.text;
  }
  for (const Outcome fault : {Outcome::Refused, Outcome::Failed}) {
    SCOPED_TRACE(static_cast<int>(fault));
    RunWorld w;
    w.Prompt();
    w.keyboard.fault = fault;
    EXPECT_FALSE(w.Run({"C:\\a.cwj"}));
    EXPECT_TRUE(EndsWith(w.display.text, "CTRL+Pを送信しています..." + kTimeoutText)) << "a failed send is not ignored";
  }
}

// Local time in the night, `ms` of virtual time after 23:59:00.
platform::LocalDateTime NightAt(std::int64_t ms) {
  const std::int64_t second = 23 * 3600 + 59 * 60 + ms / 1000;
  return {2026, 12, static_cast<int>(7 + second / 86400), static_cast<int>(second % 86400 / 3600),
          static_cast<int>(second % 3600 / 60), static_cast<int>(second % 60), 0};
}

// A locked screen (Win+L, a disconnected remote session) holds the keys as long as it lasts, without
// counting their checks, and says once per wait when it began and when it ended, in local time;
// ClarisWorks' windows are waited for as ever, and the stop still ends the run.
TEST(PrintRun, ALockedScreenHoldsTheKeysUntilItIsUnlocked) {
  const std::string waiting(texts::kRunWaitingForUnlock);
  auto occurrences = [](const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  struct Case {
    const char* what;
    std::vector<std::pair<std::int64_t, std::int64_t>> locked;  // from..until, virtual ms
    bool lockAsKeysGo;   // the lock comes between the check and the keys
    std::int64_t stopAt;  // -1: no stop
    bool printed;
    int waits;  // texts of waiting for the unlock
    std::string held;  // the first wait as the report tells it
  };
  const Case cases[] = {
      {"locked for a minute, longer than 401 checks, past midnight", {{300, 60300}}, false, -1, true, 1,
       waiting + " 2026/12/07 23:59:01 から 2026/12/08 0:00:00 まで 印刷ダイアログ検知"},
      {"locked twice", {{300, 10300}, {13000, 18000}}, false, -1, true, 2,
       waiting + " 2026/12/07 23:59:01 から 2026/12/07 23:59:10 まで"},
      {"locked just as the keys go, for five seconds", {}, true, -1, true, 1, waiting},
      {"stopped while locked", {{300, 600000}}, false, 5000, false, 1,
       waiting + " 2026/12/07 23:59:01 から" + kStopText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunWorld w;
    w.Prompt();
    auto locked = c.locked;
    auto lockedNow = [&] {
      for (const auto& [from, until] : locked)
        if (w.clock.sleptMs >= from && w.clock.sleptMs < until) return true;
      return false;
    };
    w.pump.onPump = [&] {
      w.clock.now = NightAt(w.clock.sleptMs);
      w.keyboard.locked = lockedNow();
      if (c.stopAt >= 0 && w.clock.sleptMs >= c.stopAt) w.progress.SetCancelRequested(true);
    };
    // The lock comes after the check of who is in front, as the second batch of keys is to go.
    w.keyboard.beforeSend = [&] {
      if (!c.lockAsKeysGo || !locked.empty() || w.keyboard.sent.empty()) return;
      locked.push_back({w.clock.sleptMs, w.clock.sleptMs + 5000});
      w.keyboard.locked = true;
    };
    EXPECT_EQ(w.Run({"C:\\a.cwj"}), c.printed) << w.display.text;
    EXPECT_EQ(occurrences(w.display.text, waiting), c.waits) << w.display.text;
    EXPECT_EQ(w.claris.printed.size(), c.printed ? 1u : 0u);
    EXPECT_NE(w.display.text.find(c.held), std::string::npos) << w.display.text;
    if (!c.printed) EXPECT_TRUE(EndsWith(w.display.text, c.held)) << w.display.text;
    EXPECT_TRUE(w.claris.strayKeys.empty());
  }
  {
    SCOPED_TRACE("a window of ClarisWorks that never comes times out, locked or not");
    RunWorld w;
    w.Prompt();
    w.claris.neverAnswers = {"printdialog"};
    w.pump.onPump = [&] { w.keyboard.locked = w.clock.sleptMs >= 3000; };
    EXPECT_FALSE(w.Run({"C:\\a.cwj"}));
    EXPECT_TRUE(EndsWith(w.display.text, kTimeoutText)) << w.display.text;
  }
}

TEST(PrintRun, ClarisWorksIsHandedTheNamesItCanRead) {
  RunWorld w;
  w.Prompt();
  const std::vector<std::string> targets = {"C:\\d\\b_Müller.cwj", "C:\\d\\c_한글.cwj"};
  const std::vector<std::string> handed = {"C:\\d\\B_M_~1.CWJ", "C:\\d\\C_~1.CWJ"};
  ASSERT_TRUE(w.Run(targets, 2, handed));
  ASSERT_EQ(w.shell.calls.size(), 1u);
  EXPECT_EQ(w.shell.calls[0].file, handed[0]);
  EXPECT_EQ(w.claris.opened, handed);
  EXPECT_EQ(w.display.text.rfind("ファイル 2 / 2 ( c_한글.cwj )", 0), 0u) << "the user reads the real name";
  std::size_t open = 0;
  while (open < w.keyboard.sent.size() && w.keyboard.sent[open].notation != "^o") ++open;
  std::size_t enter = open + 1;
  while (enter < w.keyboard.sent.size() && w.keyboard.sent[enter].notation != "{ENTER}") ++enter;
  EXPECT_EQ(Spelled(w.keyboard.sent, open + 1, enter), handed[1]);
}

}  // namespace
}  // namespace velmok
