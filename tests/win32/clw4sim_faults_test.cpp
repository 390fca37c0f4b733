// The simulator's faults under Wine: a crash or a hang at each step, a dialog that never comes,
// and another program taking the foreground.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "win32/clw4sim_session.h"

namespace velmok::testing {
namespace {

using clw4sim::KeyRecord;
using clw4sim::KeyStatus;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Clw4SimFaults : public Clw4SimTest {};

// Drives one document the whole road (open through the dialog, print, close) as long as the
// program lives; returns when it has ended or the road is done.
void DriveUntilGone(SimSession& sim, const std::wstring& document) {
  const auto step = [&](auto condition) { return WaitUntil([&] { return !sim.Running() || condition(); }, 5s); };
  const auto gone = [&] { return !sim.Running(); };
  if (!sim.Send("^o") || !step([&] { return sim.FindWindowTitled(OpenTitle()) != nullptr; }) || gone()) return;
  if (!sim.Type(document) || !sim.Send("{ENTER}")) return;
  if (!step([&] { return sim.Title() == ClarisTitle(NameOf(document)); }) || gone()) return;
  if (!sim.Send("^p") || !step([&] { return sim.FindWindowTitled(PrintTitle()) != nullptr; }) || gone()) return;
  if (!sim.Send("{ENTER}") || !step([&] { return sim.FindWindowTitled(PrintingTitle()) != nullptr; }) || gone())
    return;
  if (!step([&] { return sim.FindWindowTitled(PrintingTitle()) == nullptr; }) || gone()) return;
  if (!sim.Send("^w")) return;
  step([&] { return sim.Title() == ClarisTitle(); });
}

TEST_F(Clw4SimFaults, CrashKnobEndsTheProcessAtItsStep) {
  struct Case {
    const wchar_t* knob;
    std::size_t printed;
  };
  const Case cases[] = {
      {L"open:1", 0}, {L"opened:1", 0}, {L"printdialog:1", 0}, {L"printing:1", 0}, {L"close:1", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.knob));
    SimSession sim({{L"CLW4SIM_CRASH_AT", c.knob}});
    const std::wstring document = sim.MakeDocument(L"落ちる.cwj");
    ASSERT_TRUE(sim.Launch());
    DriveUntilGone(sim, document);
    ASSERT_TRUE(sim.WaitExit()) << "still running";
    EXPECT_EQ(sim.ExitCode(), 3u);
    EXPECT_THAT(TopLevelWindowsOf(sim.ProcessId()), IsEmpty());
    EXPECT_EQ(sim.Printed().size(), c.printed);
  }
}

TEST_F(Clw4SimFaults, HangKnobLeavesWindowsThatNoLongerAnswer) {
  struct Case {
    const wchar_t* knob;
    bool printDialogShown;
    bool printingShown;
  };
  const Case cases[] = {
      {L"opened:1", false, false},
      {L"printdialog:1", true, false},
      {L"printing:1", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.knob));
    SimSession sim({{L"CLW4SIM_HANG_AT", c.knob}});
    const std::wstring document = sim.MakeDocument(L"固まる.cwj");
    ASSERT_TRUE(sim.Launch(document));
    ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(L"固まる.cwj")));
    if (c.printDialogShown || c.printingShown) {
      ASSERT_TRUE(sim.Send("^p"));
      ASSERT_TRUE(sim.WaitForWindow(PrintTitle()));
    }
    if (c.printingShown) {
      ASSERT_TRUE(sim.Send("{ENTER}"));
      ASSERT_TRUE(sim.WaitForWindow(PrintingTitle()));
    }
    ASSERT_TRUE(WaitUntil(
        [&] {
          DWORD_PTR result = 0;
          return !SendMessageTimeoutW(sim.Main(), WM_NULL, 0, 0, SMTO_BLOCK, 200, &result);
        },
        5s))
        << "the main window goes on answering";
    EXPECT_TRUE(sim.Running());
    EXPECT_TRUE(IsWindowVisible(sim.Main()));
    EXPECT_EQ(sim.FindWindowTitled(PrintTitle()) != nullptr, c.printDialogShown);
    // The printing window of a hung program never goes, and nothing reaches the spooler.
    EXPECT_EQ(sim.FindWindowTitled(PrintingTitle()) != nullptr, c.printingShown);
    EXPECT_THAT(sim.Printed(), IsEmpty());
    sim.Kill();
  }
}

TEST_F(Clw4SimFaults, WithheldDialogLeavesItsKeyIgnored) {
  struct Case {
    const wchar_t* knob;
    bool withDocument;
    const char* key;
    const char* summary;
  };
  const Case cases[] = {
      {L"open:1", false, "^o", "down O"},
      {L"print:1", true, "^p", "down P"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.knob));
    SimSession sim({{L"CLW4SIM_NO_DIALOG", c.knob}});
    const std::wstring document = c.withDocument ? sim.MakeDocument(L"出ない.cwj") : L"";
    ASSERT_TRUE(sim.Launch(document));
    ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(c.withDocument ? L"出ない.cwj" : L"")));
    ASSERT_TRUE(sim.Send(c.key));
    ASSERT_TRUE(sim.WaitForKey([&](const KeyRecord& r) {
      return r.status == KeyStatus::Ignored && KeySummary(r) == c.summary && r.note.find("withheld") != std::string::npos;
    })) << Describe(sim.Keys());
    EXPECT_EQ(VisibleWindowsOf(sim.ProcessId()).size(), 1u);
    // Ctrl+Q is taken only by a program waiting for commands: no dialog is on its way.
    ASSERT_TRUE(sim.Send("^q"));
    EXPECT_TRUE(sim.WaitExit());
    EXPECT_EQ(sim.ExitCode(), 0u);
  }
}

TEST_F(Clw4SimFaults, FocusThiefTakesTheForegroundRecordsTheKeysAndGivesItBack) {
  SimSession sim({{L"CLW4SIM_STEAL_FOCUS", L"opened:1:1500"}});
  const std::wstring document = sim.MakeDocument(L"横取り.cwj");
  ASSERT_TRUE(sim.Launch(document));
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(L"横取り.cwj")));

  const HWND thief = WaitForTopLevel(L"VelmokFocusThief", L"よそのアプリ", 5s);
  ASSERT_TRUE(thief);
  ASSERT_TRUE(sim.WaitForForeground(thief));
  EXPECT_TRUE(ReadTextFile(sim.Knobs().at(L"CLW4SIM_THIEF_KEYLOG")).has_value()) << "the thief's journal exists";

  const std::size_t simKeysBefore = sim.Keys().size();
  ASSERT_TRUE(sim.Send("ab^p"));
  std::vector<std::string> stolen;
  const auto readStolen = [&] {
    stolen.clear();
    for (const auto& record : sim.ThiefKeys()) {
      EXPECT_EQ(record.window, "よそのアプリ");
      if (record.status != KeyStatus::Modifier) stolen.push_back(KeySummary(record));
    }
    return stolen.size() >= 6;
  };
  EXPECT_TRUE(WaitUntil(readStolen, 3s)) << Describe(sim.ThiefKeys());
  EXPECT_THAT(stolen, ElementsAre("down PACKET", "char U+0061", "down PACKET", "char U+0062", "down P",
                                  "char U+0010"));
  EXPECT_EQ(sim.Keys().size(), simKeysBefore) << "the simulator got none of them";
  EXPECT_EQ(sim.FindWindowTitled(PrintTitle()), nullptr);

  ASSERT_TRUE(WaitForNoTopLevel(L"VelmokFocusThief", L"", 5s));
  ASSERT_TRUE(sim.WaitForForeground(sim.Main())) << "the foreground comes back";
  ASSERT_TRUE(sim.Send("^p"));
  EXPECT_TRUE(sim.WaitForWindow(PrintTitle())) << "and the simulator takes keys again";
}

TEST_F(Clw4SimFaults, DialogOpenedWhileTheThiefHoldsTheForegroundIsActiveWhenItComesBack) {
  // The thief starts with the print dialog; the dialog must have the keys once the thief has gone.
  SimSession sim({{L"CLW4SIM_STEAL_FOCUS", L"printdialog:1:600"}});
  const std::wstring document = sim.MakeDocument(L"横取り2.cwj");
  ASSERT_TRUE(sim.Launch(document));
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(L"横取り2.cwj")));
  ASSERT_TRUE(sim.Send("^p"));
  const HWND print = sim.WaitForWindow(PrintTitle());
  ASSERT_TRUE(print);
  ASSERT_TRUE(WaitForTopLevel(L"VelmokFocusThief", L"", 5s));
  ASSERT_TRUE(WaitForNoTopLevel(L"VelmokFocusThief", L"", 5s));
  ASSERT_TRUE(sim.WaitForForeground(print));
  ASSERT_TRUE(sim.Send("{ENTER}"));
  ASSERT_TRUE(sim.WaitForWindow(PrintingTitle()));
  ASSERT_TRUE(sim.WaitForNoWindow(PrintingTitle()));
  EXPECT_THAT(sim.Printed(), ElementsAre(document));
}

}  // namespace
}  // namespace velmok::testing

namespace velmok::testing {
namespace {

std::wstring ShortPathOf(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD n = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
  return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring();
}

// An ANSI program reads names through the code page: a name with a character outside it reaches
// it mangled, from the command line and from the Open dialog alike; its short form gets through.
TEST_F(Clw4SimFaults, AnAnsiProgramCannotReadNamesOutsideItsCodePage) {
  SimSession sim({{L"CLW4SIM_ANSI", L"1"}});
  const std::wstring japanese = sim.MakeDocument(L"見積.cwj");
  const std::wstring mueller = sim.MakeDocument(L"b_Müller.cwj");
  const std::wstring hangul = sim.MakeDocument(L"c_한글.cwj");
  const std::wstring shortHangul = ShortPathOf(hangul);
  ASSERT_FALSE(shortHangul.empty());
  ASSERT_NE(shortHangul, hangul) << "Wine keeps short names";

  ASSERT_TRUE(sim.Launch(mueller));
  EXPECT_FALSE(sim.WaitForTitle(ClarisTitle(NameOf(mueller)), std::chrono::milliseconds(1500))) << "opened a name it cannot read";
  EXPECT_EQ(sim.Title(), ClarisTitle());
  const auto typeIntoOpen = [&](const std::wstring& path) {
    EXPECT_TRUE(sim.Send("^o"));
    EXPECT_TRUE(sim.WaitForWindow(OpenTitle()));
    EXPECT_TRUE(sim.Type(path));
    EXPECT_TRUE(sim.Send("{ENTER}"));
  };
  typeIntoOpen(hangul);
  EXPECT_TRUE(sim.WaitForWindow(OpenTitle())) << "no such file: the dialog stays";
  EXPECT_EQ(sim.Title(), ClarisTitle());
  ASSERT_TRUE(sim.Send("{ESCAPE}"));
  ASSERT_TRUE(sim.WaitForNoWindow(OpenTitle()));

  typeIntoOpen(japanese);
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"見積.cwj"))) << "Shift_JIS names are read whole: " << U8(sim.Title());
  ASSERT_TRUE(sim.Send("^w"));
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle()));
  typeIntoOpen(shortHangul);
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(NameOf(shortHangul)))) << U8(sim.Title());
}

}  // namespace
}  // namespace velmok::testing
