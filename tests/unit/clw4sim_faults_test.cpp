// The simulator's faults and surprises: crashes, hangs, withheld dialogs, the focus theft and
// documents handed over by another start.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "unit/clw4sim_fake_host.h"

namespace clw4sim::testing {
namespace {

using ::testing::ElementsAre;

class Clw4SimFaults : public SimulatorTest {};

TEST_F(Clw4SimFaults, FaultsStrikeTheirDocumentAtTheirStepOnly) {
  struct Case {
    const char* knob;
    const char* lastCallBeforeFault;
    std::size_t printed;
  };
  const Case cases[] = {
      {"open:2", "hide open", 1},
      {"opened:2", "document 請求 {4}+[控].cwj", 1},
      {"printdialog:2", "show print 請求 {4}+[控].cwj", 1},
      {"printing:2", "timer 4 600", 1},
      {"close:2", "hide printing", 2},
  };
  for (const bool hang : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(hang ? "hang " : "crash ") + c.knob);
      (hang ? knobs.hangAt : knobs.crashAt) = ParseMoment(c.knob);
      (hang ? knobs.crashAt : knobs.hangAt).reset();
      simulator.reset();
      host = FakeHost{};
      host.files = {kDoc1, kDoc2};
      Sim().Start("");
      // The print run for two documents, until the program stops.
      for (const char* path : {kDoc1, kDoc2}) {
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Press(Surface::Main, Ctrl('O'));
        Elapse(Timer::OpenDialogDue);
        host.typed = path;
        Press(Surface::OpenDialog, kEnter);
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Elapse(Timer::OpenDone);
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Press(Surface::Main, Ctrl('P'));
        Elapse(Timer::PrintDialogDue);
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Press(Surface::PrintDialog, kEnter);
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Elapse(Timer::PrintDone);
        Press(Surface::Main, Ctrl('W'));
        if (Sim().CurrentPhase() == Phase::Stopped) break;
        Elapse(Timer::CloseDone);
      }
      ASSERT_EQ(Sim().CurrentPhase(), Phase::Stopped);
      ASSERT_GE(host.calls.size(), 2u);
      EXPECT_EQ(host.calls.back(), hang ? "hang" : "crash");
      EXPECT_EQ(host.calls[host.calls.size() - 2], c.lastCallBeforeFault);
      EXPECT_EQ(host.journal.size(), c.printed);
      EXPECT_EQ(Press(Surface::Main, Ctrl('Q')).status, KeyStatus::Ignored) << "a stopped program takes nothing";
    }
  }
}

TEST_F(Clw4SimFaults, WithheldDialogLeavesItsKeyIgnoredForThatDocumentOnly) {
  knobs.noDialog = ParseMissingDialog("print:2");
  Sim().Start("");
  OpenByDialog(kDoc1);
  EXPECT_EQ(Press(Surface::Main, Ctrl('P')).note, "print dialog");
  Elapse(Timer::PrintDialogDue);
  Press(Surface::PrintDialog, kEscape);
  OpenByDialog(kDoc2);
  const KeyVerdict verdict = Press(Surface::Main, Ctrl('P'));
  EXPECT_EQ(verdict.status, KeyStatus::Ignored);
  EXPECT_EQ(verdict.note, "print dialog withheld (CLW4SIM_NO_DIALOG)");
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Idle);

  knobs.noDialog = ParseMissingDialog("open:1");
  simulator.reset();
  EXPECT_EQ(Press(Surface::Main, Ctrl('O')).status, KeyStatus::Ignored);
}

TEST_F(Clw4SimFaults, FocusIsStolenOnceAtItsMoment) {
  knobs.stealFocus = ParseFocusTheft("printing:1:800");
  Sim().Start(kDoc1);
  Elapse(Timer::OpenDone);
  Press(Surface::Main, Ctrl('P'));
  Elapse(Timer::PrintDialogDue);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "thief 800"), 0);
  Press(Surface::PrintDialog, kEnter);
  EXPECT_EQ(host.calls.back(), "thief 800");
  Elapse(Timer::PrintDone);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "thief 800"), 1);
  EXPECT_THAT(host.journal, ElementsAre(kDoc1)) << "the theft does not disturb the printing";
}

TEST_F(Clw4SimFaults, DocumentsHandedOverWhileBusyOrMissingAreNotOpened) {
  Sim().Start("C:\\無い.cwj");
  EXPECT_EQ(Sim().DocumentsStarted(), 0);
  Sim().OpenFromShell(kDoc1);
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Opening);
  Sim().OpenFromShell(kDoc2);
  Elapse(Timer::OpenDone);
  EXPECT_EQ(Sim().DocumentsStarted(), 1);
  EXPECT_EQ(Sim().CurrentDocument()->path, kDoc1);
  Sim().OpenFromShell(kDoc2);
  Elapse(Timer::OpenDone);
  EXPECT_EQ(Sim().CurrentDocument()->path, kDoc2);
  EXPECT_EQ(Sim().CurrentDocument()->ordinal, 2);
}

TEST(Clw4SimFileName, IsTheLastComponentOfThePath) {
  EXPECT_EQ(FileNameOf("C:\\a\\見積 (案).cwj"), "見積 (案).cwj");
  EXPECT_EQ(FileNameOf("Z:/tmp/x.cwj"), "x.cwj");
  EXPECT_EQ(FileNameOf("x.cwj"), "x.cwj");
  EXPECT_EQ(FileNameOf("C:\\a\\"), "");
}

}  // namespace
}  // namespace clw4sim::testing

namespace clw4sim::testing {
namespace {

// What the real program does with keys a print run should never send: Ctrl+N makes a new
// document, typing into a document modifies it (its close then asks to save), and a close that
// blocks the program leaves keys to be taken afterwards.
TEST_F(Clw4SimFaults, StrayKeysHaveTheRealProgramsConsequences) {
  knobs.closeBlockMs = 2500;
  Sim().Start(kDoc1);
  Elapse(Timer::OpenDone);
  EXPECT_EQ(Press(Surface::Main, kEnter).status, KeyStatus::Stray);
  Press(Surface::Main, Ctrl('W'));
  EXPECT_EQ(Sim().CurrentPhase(), Phase::SaveWarning) << "typed into: it asks to be saved";
  Press(Surface::SaveWarning, Ctrl('N'));
  EXPECT_EQ(host.calls.back(), "block 2500") << "the close holds the program";
  const KeyVerdict late = Press(Surface::Main, Ctrl('N'));
  EXPECT_TRUE(late.wait) << "a key while closing waits";
  Elapse(Timer::CloseDone);
  EXPECT_TRUE(Sim().TakesKeys());
  const KeyVerdict taken = Press(Surface::Main, Ctrl('N'));
  EXPECT_EQ(taken.status, KeyStatus::Stray);
  ASSERT_NE(Sim().CurrentDocument(), nullptr);
  EXPECT_EQ(Sim().CurrentDocument()->name, "名称未設定 1");
  EXPECT_EQ(host.calls.back(), "document 名称未設定 1");
  Press(Surface::Main, Ctrl('P'));
  Elapse(Timer::PrintDialogDue);
  Press(Surface::PrintDialog, kEnter);
  Elapse(Timer::PrintDone);
  EXPECT_THAT(host.journal, ElementsAre("名称未設定 1")) << "what a stray Ctrl+N makes gets printed";
}

}  // namespace
}  // namespace clw4sim::testing
