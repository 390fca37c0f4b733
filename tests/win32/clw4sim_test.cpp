// The real clw4sim.exe under Wine, driven as the print run drives ClarisWorks: through the shell,
// window titles and the program's own keyboard. Quick delays keep every case within a few seconds.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "win32/clw4sim_session.h"

namespace velmok::testing {
namespace {

using clw4sim::KeyKind;
using clw4sim::KeyRecord;
using clw4sim::KeyStatus;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class Clw4Sim : public Clw4SimTest {
 protected:
  static void PrintCurrent(SimSession& sim) {
    ASSERT_TRUE(sim.Send("^p"));
    ASSERT_TRUE(sim.WaitForWindow(PrintTitle())) << "no Print dialog";
    ASSERT_TRUE(sim.Send("{ENTER}"));
    ASSERT_TRUE(sim.WaitForWindow(PrintingTitle())) << "no printing window";
    ASSERT_TRUE(sim.WaitForNoWindow(PrintingTitle()));
  }
};

TEST_F(Clw4Sim, StartsWithoutADocumentAsTheActiveEmptyMainWindow) {
  SimSession sim;
  ASSERT_TRUE(sim.Launch());
  // In the foreground as soon as it can be seen: keys typed at once must reach it.
  EXPECT_EQ(GetForegroundWindow(), sim.Main());
  EXPECT_EQ(ClassOf(sim.Main()), L"CLW4MainClass");
  EXPECT_EQ(sim.Title(), ClarisTitle());
  EXPECT_EQ(VisibleWindowsOf(sim.ProcessId()).size(), 1u) << "nothing but the main window";
}

TEST_F(Clw4Sim, ForegroundDelayKeepsTheNewWindowInTheBackgroundForAWhile) {
  SimSession sim({{L"CLW4SIM_FOREGROUND_DELAY_MS", L"400"}});
  ASSERT_TRUE(sim.Launch());
  EXPECT_NE(GetForegroundWindow(), sim.Main());
  EXPECT_TRUE(sim.WaitForForeground(sim.Main()));
  ASSERT_TRUE(sim.Send("^o"));
  EXPECT_TRUE(sim.WaitForWindow(OpenTitle()));
}

TEST_F(Clw4Sim, ShellOpenStartsItWithTheDocumentAndHandsLaterDocumentsToTheRunningProgram) {
  SimSession sim;
  ScopedCwjAssociation association;
  const std::wstring first = sim.MakeDocument(L"見積 (案) [第1版].cwj");
  const std::wstring second = sim.MakeDocument(L"請求書 {控} +1.cwj");

  ASSERT_TRUE(sim.LaunchThroughShell(first));
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"見積 (案) [第1版].cwj"))) << U8(sim.Title());
  EXPECT_TRUE(sim.WaitForForeground(sim.Main()));

  ASSERT_TRUE(sim.LaunchThroughShell(second));
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"請求書 {控} +1.cwj"))) << U8(sim.Title());
  EXPECT_EQ(FindTopLevel(L"CLW4MainClass", L"", true), sim.Main());
  EXPECT_TRUE(WaitUntil(
      [&] {
        int mainWindows = 0;
        for (HWND w = FindWindowExW(nullptr, nullptr, L"CLW4MainClass", nullptr); w;
             w = FindWindowExW(nullptr, w, L"CLW4MainClass", nullptr))
          ++mainWindows;
        return mainWindows == 1;
      },
      5s))
      << "the second start must leave no window of its own";
}

TEST_F(Clw4Sim, PrintsTwoDocumentsOpenedByTypedPathsOnceEachInOrder) {
  SimSession run;
  const std::wstring spool = run.Folder() + L"\\spool";
  MakeFolder(spool);
  run.SetKnob(L"CLW4SIM_SPOOL_DIR", spool);
  const std::wstring documents[] = {
      run.MakeDocument(L"書類 +^%~(){}[]\\見積 (案) {最終} [第1版] +50%~^.cwj"),
      run.MakeDocument(L"ﾃｽﾄ　フォルダ\\請求書 2026年{4}月 [控] (写).cwj"),
  };
  ASSERT_TRUE(run.Launch());
  ASSERT_TRUE(run.WaitForTitle(ClarisTitle()));

  for (const auto& document : documents) {
    SCOPED_TRACE(U8(document));
    ASSERT_TRUE(run.Send("^o"));
    const HWND open = run.WaitForWindow(OpenTitle());
    ASSERT_TRUE(open) << "no Open dialog";
    EXPECT_EQ(GetWindow(open, GW_OWNER), run.Main());
    EXPECT_NE(ClassOf(open), L"#32770") << "the simulator's dialogs must not look like message boxes";
    ASSERT_TRUE(run.Type(document));
    ASSERT_TRUE(run.Send("{ENTER}"));
    ASSERT_TRUE(run.WaitForTitle(ClarisTitle(NameOf(document)))) << U8(run.Title());
    EXPECT_EQ(run.FindWindowTitled(OpenTitle()), nullptr);
    EXPECT_TRUE(run.WaitForForeground(run.Main()));

    const std::size_t printedBefore = run.Printed().size();
    ASSERT_NO_FATAL_FAILURE(PrintCurrent(run));
    EXPECT_EQ(run.Printed().size(), printedBefore + 1) << "journalled by the time the printing window goes";

    ASSERT_TRUE(run.Send("^w"));
    ASSERT_TRUE(run.WaitForTitle(ClarisTitle())) << U8(run.Title());
  }
  ASSERT_TRUE(run.Send("^q"));
  ASSERT_TRUE(run.WaitExit());
  EXPECT_EQ(run.ExitCode(), 0u);

  EXPECT_THAT(run.Printed(), ElementsAreArray(documents));
  const auto keys = run.Keys();
  EXPECT_THAT(IgnoredKeys(keys), IsEmpty()) << Describe(IgnoredKeys(keys));
  EXPECT_THAT(TypedPaths(keys), ElementsAreArray(documents)) << Describe(keys);

  int jobs = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((spool + L"\\*.spl").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do ++jobs;
    while (FindNextFileW(find, &data));
    FindClose(find);
  }
  EXPECT_EQ(jobs, 2) << "one job file per printed document";
}

TEST_F(Clw4Sim, KeysTheApplicationWouldNotTakeAreIgnoredAndJournalled) {
  struct Case {
    const char* situation;
    const char* keys;
    std::vector<std::string> ignored;  // in order
  };
  // Run in this order on one program: first without a document, then with the Open dialog showing.
  const Case withoutDocument[] = {
      {"no document", "^p", {"down P", "char U+0010"}},
      {"no document", "^w", {"down W", "char U+0017"}},
      {"no document", "{ENTER}", {"down RETURN", "char U+000D"}},
      {"no document", "x", {"down PACKET", "char U+0078"}},
      {"no document", "%f", {"sysdown F", "syschar U+0066"}},
  };
  const Case inOpenDialog[] = {
      {"open dialog", "{TAB}", {"down TAB", "char U+0009"}},
      {"open dialog", "^p", {"down P", "char U+0010"}},
      {"open dialog", "+{ENTER}", {"down RETURN", "char U+000D"}},
  };

  SimSession sim;
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle()));
  const auto run = [&](const Case& c, const std::wstring& window) {
    SCOPED_TRACE(std::string(c.situation) + ": " + c.keys);
    const std::size_t before = sim.Keys().size();
    ASSERT_TRUE(sim.Send(c.keys));
    std::vector<std::string> ignored;
    const bool complete = WaitUntil(
        [&] {
          ignored.clear();
          const auto keys = sim.Keys();
          for (std::size_t i = before; i < keys.size(); ++i) {
            if (keys[i].status == KeyStatus::Used) ADD_FAILURE() << "used: " << clw4sim::FormatKeyRecord(keys[i]);
            if (keys[i].status != KeyStatus::Ignored) continue;
            EXPECT_EQ(keys[i].window, U8(window));
            ignored.push_back(KeySummary(keys[i]));
          }
          return ignored.size() >= c.ignored.size();
        },
        3s);
    EXPECT_TRUE(complete);
    EXPECT_EQ(ignored, c.ignored);
  };

  for (const auto& c : withoutDocument) run(c, ClarisTitle());
  EXPECT_EQ(sim.Title(), ClarisTitle());
  EXPECT_EQ(VisibleWindowsOf(sim.ProcessId()).size(), 1u) << "no dialog came up";

  // Ctrl+O is taken only by a program waiting for commands: the stray keys left it so.
  ASSERT_TRUE(sim.Send("^o"));
  ASSERT_TRUE(sim.WaitForWindow(OpenTitle()));
  for (const auto& c : inOpenDialog) run(c, OpenTitle());
  EXPECT_TRUE(sim.FindWindowTitled(OpenTitle())) << "the Open dialog stays";
  EXPECT_EQ(sim.FindWindowTitled(PrintTitle()), nullptr);
}

// Keys a print run must never send do what they do in the real program: Ctrl+N makes a new
// document, Enter typed into it modifies it, and its close then asks to save.
TEST_F(Clw4Sim, StrayKeysHaveTheRealProgramsConsequences) {
  SimSession sim;
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle()));
  ASSERT_TRUE(sim.Send("^n"));
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"名称未設定 1"))) << U8(sim.Title());
  ASSERT_TRUE(sim.Send("{ENTER}"));
  ASSERT_TRUE(sim.Send("^w"));
  EXPECT_TRUE(sim.WaitForWindow(WarningTitle())) << "the document was modified by the Enter";
  std::vector<std::string> stray;
  for (const auto& k : sim.Keys())
    if (k.status == KeyStatus::Stray) stray.push_back(KeySummary(k) + " " + k.note);
  EXPECT_EQ(stray, (std::vector<std::string>{"down N new document", "down RETURN typed into the document"}));
}

TEST_F(Clw4Sim, KeyboardReturnsOnlyWhenTheReceiverHasTakenEveryKey) {
  SimSession sim;
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.Send("^o"));
  ASSERT_TRUE(sim.WaitForWindow(OpenTitle()));
  const std::wstring text = L"C:\\長い パス名 +^%~(){}[] ﾃｽﾄ\\0123456789 abcdefghij ＡＢＣ 漢字かなカナ.cwj";
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const std::size_t before = sim.Keys().size();
    ASSERT_TRUE(sim.Type(text));
    // No polling: the journal is read the moment the keyboard says the keys have been taken.
    const auto keys = sim.Keys();
    std::size_t chars = 0;
    for (std::size_t i = before; i < keys.size(); ++i)
      if (keys[i].event.kind == KeyKind::Char && keys[i].status == KeyStatus::Used) ++chars;
    EXPECT_EQ(chars, text.size());
  }
}

TEST_F(Clw4Sim, OpenDialogKeepsAMissingPathUntilItIsCorrectedAndEscapeCloses) {
  SimSession sim;
  const std::wstring document = sim.MakeDocument(L"有る (1).cwj");
  const std::wstring missing = sim.Folder() + L"\\無い (1).cwj";
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle()));

  ASSERT_TRUE(sim.Send("^o"));
  const HWND open = sim.WaitForWindow(OpenTitle());
  ASSERT_TRUE(open);
  ASSERT_TRUE(sim.Type(missing));
  ASSERT_TRUE(sim.Send("{ENTER}"));
  ASSERT_TRUE(sim.WaitForKey([](const KeyRecord& r) { return r.note == "no such file"; }));
  EXPECT_EQ(sim.FindWindowTitled(OpenTitle()), open) << "the dialog stays open";
  EXPECT_EQ(GetForegroundWindow(), open);
  EXPECT_EQ(sim.Title(), ClarisTitle());

  // Backspace over the missing name, then the right one.
  ASSERT_TRUE(sim.Send("{BS " + std::to_string(NameOf(missing).size()) + "}"));
  ASSERT_TRUE(sim.Type(NameOf(document)));
  ASSERT_TRUE(sim.Send("{ENTER}"));
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(L"有る (1).cwj"))) << U8(sim.Title());

  ASSERT_TRUE(sim.Send("^o"));
  ASSERT_TRUE(sim.WaitForWindow(OpenTitle()));
  ASSERT_TRUE(sim.Send("{ESC}"));
  EXPECT_TRUE(sim.WaitForNoWindow(OpenTitle()));
  EXPECT_TRUE(sim.WaitForForeground(sim.Main()));
  EXPECT_EQ(sim.Title(), ClarisTitle(L"有る (1).cwj"));

  const auto keys = sim.Keys();
  EXPECT_THAT(IgnoredKeys(keys), IsEmpty()) << Describe(IgnoredKeys(keys));
  EXPECT_THAT(TypedPaths(keys), ElementsAre(document));
}

TEST_F(Clw4Sim, ReadOnlyWarningComesBackAsOftenAsSetBeforeTheDocumentOpens) {
  struct Case {
    const wchar_t* readOnlyKnob;
    bool readOnlyAttribute;
    const wchar_t* repeat;
    int warnings;
  };
  const Case cases[] = {
      {L"ロック済み.cwj", false, L"2", 3},
      {L"", true, L"0", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.warnings);
    SimSession sim({{L"CLW4SIM_READONLY", c.readOnlyKnob}, {L"CLW4SIM_READONLY_REPEAT", c.repeat}});
    const std::wstring document = sim.MakeDocument(L"ロック済み.cwj");
    if (c.readOnlyAttribute) {
      ASSERT_TRUE(SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ASSERT_TRUE(sim.Launch(document));

    int warnings = 0;
    for (;;) {
      HWND warning = nullptr;
      ASSERT_TRUE(WaitUntil(
          [&] {
            warning = sim.FindWindowTitled(WarningTitle());
            return warning || sim.Title() != ClarisTitle();
          },
          5s));
      if (!warning) break;
      ++warnings;
      ASSERT_LE(warnings, 5);
      EXPECT_EQ(sim.Title(), ClarisTitle()) << "the title changes only after the warning";
      ASSERT_TRUE(sim.WaitForForeground(warning));
      ASSERT_TRUE(sim.Send("{ENTER}"));
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(warning); }, 5s));
    }
    EXPECT_EQ(warnings, c.warnings);
    EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"ロック済み.cwj")));
    EXPECT_TRUE(sim.WaitForForeground(sim.Main()));
    EXPECT_THAT(IgnoredKeys(sim.Keys()), IsEmpty()) << Describe(sim.Keys());
  }
}

TEST_F(Clw4Sim, SaveWarningIsCancelledByEscapeAndAnsweredByCtrlN) {
  SimSession sim({{L"CLW4SIM_MODIFIED", L"変更あり.cwj"}});
  const std::wstring document = sim.MakeDocument(L"変更あり.cwj");
  ASSERT_TRUE(sim.Launch(document));
  ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(L"変更あり.cwj")));

  ASSERT_TRUE(sim.Send("^w"));
  HWND warning = sim.WaitForWindow(WarningTitle());
  ASSERT_TRUE(warning);
  EXPECT_EQ(GetWindow(warning, GW_OWNER), sim.Main());
  ASSERT_TRUE(sim.Send("{ESC}"));
  ASSERT_TRUE(sim.WaitForNoWindow(WarningTitle()));
  EXPECT_EQ(sim.Title(), ClarisTitle(L"変更あり.cwj")) << "Esc keeps the document open";
  EXPECT_TRUE(sim.WaitForForeground(sim.Main()));

  ASSERT_TRUE(sim.Send("^w"));
  ASSERT_TRUE(sim.WaitForWindow(WarningTitle()));
  ASSERT_TRUE(sim.Send("^n"));
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle())) << U8(sim.Title());
  EXPECT_TRUE(sim.Running()) << "Ctrl+W does not end the program";
  EXPECT_THAT(IgnoredKeys(sim.Keys()), IsEmpty()) << Describe(sim.Keys());
}

TEST_F(Clw4Sim, CtrlQEndsTheProgramAfterTheSaveWarningWhenThereIsOne) {
  struct Case {
    const wchar_t* document;  // none: started empty
    const wchar_t* modified;
  };
  const Case cases[] = {{L"", L""}, {L"普通.cwj", L""}, {L"普通.cwj", L"*"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.document) + " modified=" + U8(c.modified));
    SimSession sim({{L"CLW4SIM_MODIFIED", c.modified}});
    const std::wstring document = *c.document ? sim.MakeDocument(c.document) : L"";
    ASSERT_TRUE(sim.Launch(document));
    ASSERT_TRUE(sim.WaitForTitle(ClarisTitle(c.document)));
    ASSERT_TRUE(sim.Send("^q"));
    if (*c.modified) {
      ASSERT_TRUE(sim.WaitForWindow(WarningTitle()));
      EXPECT_TRUE(sim.Running());
      ASSERT_TRUE(sim.Send("^n"));
    }
    ASSERT_TRUE(sim.WaitExit());
    EXPECT_EQ(sim.ExitCode(), 0u);
    EXPECT_EQ(FindTopLevel(L"CLW4MainClass", L"", true), nullptr);
  }
}

}  // namespace
}  // namespace velmok::testing
