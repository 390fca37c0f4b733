#include "clw4sim/simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "unit/clw4sim_fake_host.h"

namespace clw4sim::testing {
namespace {

using ::testing::ElementsAre;

class Clw4SimSimulator : public SimulatorTest {};

TEST_F(Clw4SimSimulator, OneDocumentOpenedByTheShellPrintedClosedAndTheProgramQuit) {
  knobs.spoolDir = "C:\\spool";
  Sim().Start(kDoc1);
  Elapse(Timer::OpenDone);
  Print();
  EXPECT_EQ(Press(Surface::Main, Ctrl('W')).note, "close");
  Elapse(Timer::CloseDone);
  EXPECT_EQ(Press(Surface::Main, Ctrl('Q')).note, "quit");
  Elapse(Timer::QuitDone);

  EXPECT_THAT(host.calls, ElementsAre("show frame", "document -", "timer 2 300", "document 見積 (案).cwj",  //
                                      "timer 1 100", "show print 見積 (案).cwj",               //
                                      "hide print", "show printing 見積 (案).cwj", "timer 4 600",
                                      "spool 見積 (案).cwj", "hide printing",  // job handed over, then the window goes
                                      "timer 5 50", "document -", "timer 6 70", "quit"));
  EXPECT_THAT(host.journal, ElementsAre(kDoc1));
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Stopped);
}

// ClarisWorks' own ways: a read-only document given at start raises its warning before the main
// window is shown, which comes a while after the answer; after Ctrl+Q the main window goes a
// while before the program ends.
TEST_F(Clw4SimSimulator, AWarningBeforeTheFrameAndAFrameHiddenBeforeTheEnd) {
  knobs.warningBeforeFrameMs = 1200;
  knobs.hideBeforeEndMs = 4000;
  knobs.readOnly = NameList::Parse("見積 (案).cwj");
  Sim().Start(kDoc1);
  Elapse(Timer::OpenDone);
  EXPECT_THAT(host.calls, ElementsAre("document -", "timer 2 300", "show readonly 見積 (案).cwj"))
      << "no main window before the warning";
  EXPECT_EQ(Press(Surface::ReadOnlyWarning, kEnter).command, Command::DismissReadOnly);
  EXPECT_EQ(host.calls.back(), "timer 7 1200");
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Opening) << "busy until the main window comes";
  Elapse(Timer::FrameDue);
  EXPECT_THAT(std::vector<std::string>(host.calls.end() - 2, host.calls.end()),
              ElementsAre("show frame", "document 見積 (案).cwj"));
  Print();
  EXPECT_EQ(Press(Surface::Main, Ctrl('Q')).note, "quit");
  Elapse(Timer::CloseDone);
  EXPECT_THAT(std::vector<std::string>(host.calls.end() - 2, host.calls.end()), ElementsAre("hide frame", "timer 6 4000"));
  Elapse(Timer::QuitDone);
  EXPECT_EQ(host.calls.back(), "quit");
  // Without the knobs the main window comes first, and stays to the end.
  FakeHost plain;
  plain.files = {kDoc1};
  Knobs none;
  none.readOnly = NameList::Parse("*");
  Simulator other(none, plain);
  other.Start(kDoc1);
  EXPECT_EQ(plain.calls.front(), "show frame");
}

TEST_F(Clw4SimSimulator, TwoDocumentsThroughTheOpenDialogArePrintedOnceEachInOrder) {
  Sim().Start("");
  for (const char* path : {kDoc1, kDoc2}) {
    SCOPED_TRACE(path);
    OpenByDialog(path);
    EXPECT_EQ(Sim().CurrentDocument()->path, path);
    Print();
    Press(Surface::Main, Ctrl('W'));
    Elapse(Timer::CloseDone);
    EXPECT_EQ(Sim().CurrentDocument(), nullptr);
  }
  EXPECT_THAT(host.journal, ElementsAre(kDoc1, kDoc2));
  EXPECT_EQ(Sim().DocumentsStarted(), 2);
}

// Which keys each state takes; everything else is ignored and changes nothing.
TEST_F(Clw4SimSimulator, EachStateTakesOnlyItsOwnKeys) {
  enum class State { NoDocument, Document, OpenDialog, PrintDialog, Printing, Opening, DialogComing, ReadOnly, Save };
  struct Case {
    State state;
    Surface surface;
    KeyEvent key;
    KeyStatus status;
    std::string_view note;
    bool translate;
    bool deliver;
    bool wait = false;  // the program is busy: the key is kept and judged later
  };
  const auto U = KeyStatus::Used;
  const auto S = KeyStatus::Stray;
  const auto I = KeyStatus::Ignored;
  const auto M = KeyStatus::Modifier;
  const Case cases[] = {
      {State::NoDocument, Surface::Main, Ctrl('O'), U, "open dialog", false, false},
      {State::NoDocument, Surface::Main, Ctrl('P'), I, "no document", true, false},
      {State::NoDocument, Surface::Main, Ctrl('W'), I, "no document", true, false},
      {State::NoDocument, Surface::Main, Ctrl('Q'), U, "quit", false, false},
      {State::NoDocument, Surface::Main, Ctrl('N'), S, "new document", false, false},
      {State::NoDocument, Surface::Main, kEnter, I, "no command", true, false},
      {State::NoDocument, Surface::Main, Down('O'), I, "no command", true, false},
      {State::NoDocument, Surface::Main, Down('O', kCtrl | kShift), I, "no command", true, false},
      {State::NoDocument, Surface::Main, {KeyKind::SysDown, 'O', kAlt}, I, "no command", true, false},
      {State::NoDocument, Surface::Main, Char('a'), I, "no command", true, false},
      {State::NoDocument, Surface::Main, Down(vk::kPacket), I, "no command", true, false},
      {State::NoDocument, Surface::Main, Down(vk::kControl, kCtrl), M, "modifier", true, false},
      {State::NoDocument, Surface::Main, {KeyKind::SysDown, vk::kMenu, kAlt}, M, "modifier", true, false},
      {State::Document, Surface::Main, Ctrl('P'), U, "print dialog", false, false},
      {State::Document, Surface::Main, Ctrl('W'), U, "close", false, false},
      {State::Document, Surface::Main, Ctrl('O'), U, "open dialog", false, false},
      {State::Document, Surface::Main, kEscape, I, "no command", true, false},
      {State::Document, Surface::Main, kEnter, S, "typed into the document", false, false},
      {State::Document, Surface::Main, Char('a'), S, "typed into the document", false, false},
      {State::Document, Surface::Main, Char(0x0E, kCtrl), I, "no command", true, false},
      {State::Document, Surface::Main, Ctrl('N'), S, "new document", false, false},
      {State::OpenDialog, Surface::OpenDialog, Down(vk::kPacket), U, "typed", true, false},
      {State::OpenDialog, Surface::OpenDialog, Char(0x898B), U, "typed", true, true},
      {State::OpenDialog, Surface::OpenDialog, Char(' '), U, "typed", true, true},
      {State::OpenDialog, Surface::OpenDialog, Down(vk::kBack), U, "edit", true, true},
      {State::OpenDialog, Surface::OpenDialog, Char(0x08), U, "edit", true, true},
      {State::OpenDialog, Surface::OpenDialog, Down(vk::kHome, kShift), U, "edit", true, true},
      {State::OpenDialog, Surface::OpenDialog, Down(vk::kTab), I, "not for this dialog", true, false},
      {State::OpenDialog, Surface::OpenDialog, Ctrl('V'), I, "not for this dialog", true, false},
      {State::OpenDialog, Surface::OpenDialog, Char(0x16, kCtrl), I, "not for this dialog", true, false},
      {State::OpenDialog, Surface::OpenDialog, Char(0x0D), I, "not for this dialog", true, false},
      {State::OpenDialog, Surface::OpenDialog, Down(vk::kReturn, kShift), I, "not for this dialog", true, false},
      {State::OpenDialog, Surface::OpenDialog, kEscape, U, "cancel", false, false},
      {State::OpenDialog, Surface::Main, Ctrl('O'), I, "a dialog is open", true, false},
      {State::PrintDialog, Surface::PrintDialog, kEnter, U, "print", false, false},
      {State::PrintDialog, Surface::PrintDialog, kEscape, U, "cancel", false, false},
      {State::PrintDialog, Surface::PrintDialog, Char('1'), I, "not for this dialog", true, false},
      {State::PrintDialog, Surface::PrintDialog, Ctrl('P'), I, "not for this dialog", true, false},
      {State::PrintDialog, Surface::Main, Ctrl('W'), I, "a dialog is open", true, false},
      {State::Printing, Surface::Main, Ctrl('W'), I, "busy: printing", true, false, true},
      {State::Printing, Surface::Printing, kEnter, I, "busy: printing", true, false, true},
      {State::Opening, Surface::Main, Ctrl('P'), I, "busy: opening", true, false, true},
      {State::DialogComing, Surface::Main, Down(vk::kPacket), I, "busy: a dialog is coming", true, false, true},
      {State::DialogComing, Surface::Main, kEnter, I, "busy: a dialog is coming", true, false, true},
      {State::ReadOnly, Surface::ReadOnlyWarning, kEnter, U, "ok", false, false},
      {State::ReadOnly, Surface::ReadOnlyWarning, kEscape, I, "not for this dialog", true, false},
      {State::ReadOnly, Surface::ReadOnlyWarning, Ctrl('N'), I, "not for this dialog", true, false},
      {State::Save, Surface::SaveWarning, Ctrl('N'), U, "don't save", false, false},
      {State::Save, Surface::SaveWarning, kEscape, U, "cancel", false, false},
      {State::Save, Surface::SaveWarning, kEnter, U, "save", false, false},
      {State::Save, Surface::SaveWarning, Down('N'), I, "not for this dialog", true, false},
      {State::Save, Surface::OpenDialog, kEnter, I, "window not active", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    knobs.readOnly = NameList::Parse(c.state == State::ReadOnly ? "*" : "");
    knobs.modified = NameList::Parse(c.state == State::Save ? "*" : "");
    simulator.reset();
    host = FakeHost{};
    host.files = {kDoc1};
    Sim().Start(c.state == State::NoDocument || c.state == State::DialogComing ? "" : kDoc1);
    if (c.state == State::DialogComing) Press(Surface::Main, Ctrl('O'));
    if (c.state != State::NoDocument && c.state != State::Opening && c.state != State::DialogComing)
      Elapse(Timer::OpenDone);
    if (c.state == State::OpenDialog) {
      Press(Surface::Main, Ctrl('O'));
      Elapse(Timer::OpenDialogDue);
    }
    if (c.state == State::PrintDialog || c.state == State::Printing) {
      Press(Surface::Main, Ctrl('P'));
      Elapse(Timer::PrintDialogDue);
    }
    if (c.state == State::Printing) Press(Surface::PrintDialog, kEnter);
    if (c.state == State::Save) Press(Surface::Main, Ctrl('W'));
    const Phase before = Sim().CurrentPhase();
    const std::size_t callsBefore = host.calls.size();

    const KeyVerdict verdict = Press(c.surface, c.key);
    EXPECT_EQ(verdict.status, c.status);
    EXPECT_EQ(verdict.note, c.note);
    EXPECT_EQ(verdict.translate, c.translate);
    EXPECT_EQ(verdict.deliver, c.deliver);
    EXPECT_EQ(verdict.wait, c.wait);
    if (c.status == KeyStatus::Ignored || c.status == KeyStatus::Modifier || verdict.command == Command::None) {
      EXPECT_EQ(Sim().CurrentPhase(), before) << "a key that is not a command must change nothing";
      EXPECT_EQ(host.calls.size(), callsBefore);
    }
  }
}

TEST_F(Clw4SimSimulator, EnterOnAMissingPathBeepsAndKeepsTheOpenDialog) {
  Sim().Start("");
  Press(Surface::Main, Ctrl('O'));
  Elapse(Timer::OpenDialogDue);
  for (const std::string path : {"", "C:\\書類\\無い.cwj", "C:\\書類"}) {
    SCOPED_TRACE(path);
    host.typed = path;
    const KeyVerdict verdict = Press(Surface::OpenDialog, kEnter);
    EXPECT_EQ(verdict.note, "no such file");
    EXPECT_EQ(host.calls.back(), "beep");
    EXPECT_EQ(Sim().CurrentPhase(), Phase::OpenDialog);
  }
  EXPECT_EQ(Sim().DocumentsStarted(), 0);
  EXPECT_EQ(Press(Surface::OpenDialog, kEscape).note, "cancel");
  EXPECT_EQ(host.calls.back(), "hide open");
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Idle);
}

TEST_F(Clw4SimSimulator, ReadOnlyWarningComesBackAsOftenAsSetBeforeTheDocumentOpens) {
  struct Case {
    const char* list;
    bool attribute;
    int repeat;
    int expectedWarnings;
  };
  const Case cases[] = {
      {"見積 (案).cwj", false, 0, 1},
      {"見積 (案).CWJ", false, 2, 3},
      {"", true, 1, 2},  // the file's read-only attribute
      {"other.cwj", false, 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    knobs.readOnly = NameList::Parse(c.list);
    knobs.readOnlyRepeat = c.repeat;
    simulator.reset();
    host = FakeHost{};
    host.files = {kDoc1};
    if (c.attribute) host.readOnlyFiles = {kDoc1};
    Sim().Start(kDoc1);
    Elapse(Timer::OpenDone);
    int warnings = 0;
    while (Sim().CurrentPhase() == Phase::ReadOnlyWarning) {
      ++warnings;
      EXPECT_EQ(host.calls.back(), "show readonly 見積 (案).cwj");
      EXPECT_EQ(Sim().CurrentDocument(), nullptr) << "the title changes only after the warning";
      EXPECT_EQ(Press(Surface::ReadOnlyWarning, kEnter).note, "ok");
      if (Sim().CurrentPhase() == Phase::ReadOnlyWarningPending) {
        EXPECT_EQ(host.timers[Timer::WarningAgain], 150u);
        Elapse(Timer::WarningAgain);
      }
      ASSERT_LE(warnings, 10);
    }
    EXPECT_EQ(warnings, c.expectedWarnings);
    ASSERT_NE(Sim().CurrentDocument(), nullptr);
    EXPECT_EQ(Sim().CurrentDocument()->path, kDoc1);
  }
}

TEST_F(Clw4SimSimulator, SaveWarningIsCancelledByEscapeAndAnsweredByCtrlN) {
  knobs.modified = NameList::Parse("*");
  Sim().Start(kDoc1);
  Elapse(Timer::OpenDone);
  Press(Surface::Main, Ctrl('W'));
  EXPECT_EQ(host.calls.back(), "show save 見積 (案).cwj");
  EXPECT_EQ(Press(Surface::SaveWarning, kEscape).note, "cancel");
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Idle);
  ASSERT_NE(Sim().CurrentDocument(), nullptr);

  Press(Surface::Main, Ctrl('W'));
  EXPECT_EQ(Press(Surface::SaveWarning, Ctrl('N')).note, "don't save");
  EXPECT_EQ(host.calls.back(), "timer 5 50");
  Elapse(Timer::CloseDone);
  EXPECT_EQ(Sim().CurrentDocument(), nullptr);
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Idle) << "Ctrl+W does not quit";
}

TEST_F(Clw4SimSimulator, QuitAsksForEveryModifiedDocumentAndEscapeStopsIt) {
  knobs.modified = NameList::Parse("請求 {4}+[控].cwj");
  Sim().Start("");
  OpenByDialog(kDoc1);
  OpenByDialog(kDoc2);
  EXPECT_EQ(Sim().CurrentDocument()->path, kDoc2) << "the document opened last is the current one";

  Press(Surface::Main, Ctrl('Q'));
  EXPECT_EQ(Sim().CurrentPhase(), Phase::SaveWarning);
  Press(Surface::SaveWarning, kEscape);
  EXPECT_EQ(Sim().CurrentPhase(), Phase::Idle);

  Press(Surface::Main, Ctrl('Q'));
  Press(Surface::SaveWarning, Ctrl('N'));
  Elapse(Timer::CloseDone);
  EXPECT_EQ(host.calls.back(), "timer 5 50") << "the unmodified document closes without a question";
  Elapse(Timer::CloseDone);
  Elapse(Timer::QuitDone);
  EXPECT_EQ(host.calls.back(), "quit");
}

}  // namespace
}  // namespace clw4sim::testing
