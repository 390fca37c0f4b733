// The whole road under Wine: the real VELMOK.exe prints through the real simulator, started by
// the shell's ".cwj" association.

#include <thread>

#include "e2e/print_e2e_fixture.h"
#include "platform/win32/keyboard_win32.h"

namespace velmok::testing {
namespace {

TEST_F(PrintE2E, ThreeDocumentsWithAwkwardNamesPrintOnceEachInListOrder) {
  // The second and third are typed into the Open dialog: every notation character and blanks.
  const std::vector<std::wstring> names = {L"見積書.cwj", L"a+b^c%d~e (1) {2} [3].cwj", L"請求書 12月分.cwj"};
  MakeDocs(names);
  HWND main = Start(Quoted(Doc(names[0])) + L" " + Quoted(Doc(names[1])) + L" " + Quoted(Doc(names[2])), Knobs());
  ASSERT_TRUE(main);
  EXPECT_EQ(SendMessageW(ChildByClass(main, L"SysListView32"), LVM_GETITEMCOUNT, 0, 0), 3);

  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(o.status, L"3個のファイルを正常に印刷しました。");
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(names[0]), Doc(names[1]), Doc(names[2])}));
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
  EXPECT_FALSE(FindTopLevel(L"CLW4MainClass", L"", true)) << "ClarisWorks was quit";
}

TEST_F(PrintE2E, SortedByNameDescendingPrintsInThatOrderAndPrintSelectedTakesTwoOfThree) {
  MakeDocs({L"b.cwj", L"c.cwj", L"a.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs());
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_VIEW_SORTORDER0, 0), 0);  // the first name sort: descending

  // Select the second and third rows with the keyboard, as a user would.
  ASSERT_TRUE(BringToFront(main));
  win32::Win32Keyboard keyboard;
  ASSERT_TRUE(keyboard.SendKeys("{HOME}{DOWN}+{DOWN}", platform::Keyboard::Wait::UntilProcessed));
  HWND list = ChildByClass(main, L"SysListView32");
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 2; }, 5s));

  const Outcome selected = Print(main, IDM_PRINT_SELECTEDPRINT);
  EXPECT_TRUE(selected.finished);
  EXPECT_EQ(selected.status, L"2個のファイルを正常に印刷しました。");
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"b.cwj"), Doc(L"a.cwj")}));
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2) << "a run changes neither list nor selection";
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
}

TEST_F(PrintE2E, WarningsAreAnsweredReadOnlyTwiceAgainAndTheSaveWarningWithCtrlN) {
  MakeDocs({L"ro.cwj", L"changed.cwj"});
  HWND main = Start(Quoted(Doc(L"ro.cwj")) + L" " + Quoted(Doc(L"changed.cwj")),
                    Knobs({{L"CLW4SIM_READONLY", L"ro.cwj"},
                           {L"CLW4SIM_READONLY_REPEAT", L"2"},
                           {L"CLW4SIM_MODIFIED", L"changed.cwj"}}));
  ASSERT_TRUE(main);
  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"ro.cwj"), Doc(L"changed.cwj")}));
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
  // The save warning was answered with Ctrl+N, never with Enter (which would save).
  int ctrlN = 0;
  for (const auto& line : ReadLines(dir_ / L"keys.txt"))
    if (line.find(L"\tused\tdown\tN\tctrl\t警告") != std::wstring::npos) ++ctrlN;
  EXPECT_EQ(ctrlN, 1);
}

TEST_F(PrintE2E, EmergencyStopDuringAPauseAndDuringAWait) {
  struct Case {
    const char* name;
    std::map<std::wstring, std::wstring> knobs;
    std::wstring waitFor;   // press the button once the progress text ends with this
    std::wstring precedes;  // the text just before the stop text
  };
  const std::vector<Case> cases = {
      {"pause", {}, L"ファイルオープン検知 Cnt=", L"\r\n"},
      {"wait", {{L"CLW4SIM_OPEN_DELAY_MS", L"8000"}}, L"ファイルオープン待ちしています...",
       L"ファイルオープン待ちしています..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    MakeDocs({L"one.cwj", L"two.cwj"});
    HWND main = Start(Quoted(Docs()), Knobs(c.knobs));
    ASSERT_TRUE(main);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return ProgressText().find(c.waitFor) != std::wstring::npos; }, 30s));
    HWND button = StopButton();
    Click(button);
    const auto pressed = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil([&] { return WindowText(button) == L"閉じる(&X)"; }, 10s));
    const auto took = std::chrono::steady_clock::now() - pressed;
    EXPECT_LT(took, 2s) << "the stop takes effect at the next slice";
    const Outcome o = FollowRun(main, 10s);
    ASSERT_GE(o.progress.size(), kStopText.size());
    EXPECT_EQ(o.progress.substr(o.progress.size() - kStopText.size()), kStopText);
    const std::wstring before = o.progress.substr(0, o.progress.size() - kStopText.size());
    EXPECT_EQ(before.substr(before.size() - c.precedes.size()), c.precedes) << U8(before);
    EXPECT_EQ(o.status, L"印刷に失敗しました。");
    EXPECT_TRUE(Printed().empty());
    TearDown();
  }
}

TEST_F(PrintE2E, ADialogThatNeverComesTimesOut) {
  MakeDocs({L"only.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_NO_DIALOG", L"print:1"}}));
  ASSERT_TRUE(main);
  const auto start = std::chrono::steady_clock::now();
  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);
  EXPECT_FALSE(o.finished);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20s) << "401 polls of 50 ms";
  EXPECT_NE(o.progress.find(L"CTRL+Pを送信しています..." + kTimeoutText), std::wstring::npos) << U8(o.progress);
  EXPECT_EQ(o.status, L"印刷に失敗しました。");
}

TEST_F(PrintE2E, ASimulatorThatCrashesMidDocumentEndsTheRunAndNothingIsTypedElsewhere) {
  MakeDocs({L"first.cwj", L"second.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_CRASH_AT", L"printdialog:1"}}));
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  // Once it is gone, a witness of ours takes the foreground: it must receive nothing.
  ASSERT_TRUE(WaitUntil([] { return FindTopLevel(L"CLW4MainClass", L"", true) != nullptr; }, 20s));
  ASSERT_TRUE(WaitUntil([] { return FindTopLevel(L"CLW4MainClass", L"", true) == nullptr; }, 20s));
  Process witness = Process::Launch(BinDir() + L"\\focusthief.exe", L"60000 \"" + (dir_ / L"witness.txt") + L"\"");
  const Outcome o = FollowRun(main, 120s);
  EXPECT_FALSE(o.finished);
  EXPECT_NE(o.progress.find(kTimeoutText), std::wstring::npos) << U8(o.progress);
  EXPECT_TRUE(ReadLines(dir_ / L"witness.txt").empty()) << U8(Joined(ReadLines(dir_ / L"witness.txt")));
  witness.Kill();
  EXPECT_TRUE(Printed().empty());
}

TEST_F(PrintE2E, AnotherProgramInFrontHoldsTheKeystrokesUntilClarisWorksIsBack) {
  MakeDocs({L"1.cwj", L"2.cwj"});
  // Once the first document is open, another program takes the foreground for 6 s.
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_STEAL_FOCUS", L"opened:1:6000"}}));
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  HWND thief = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        thief = FindTopLevel(L"VelmokFocusThief", L"");
        return thief && GetForegroundWindow() == thief;
      },
      60s))
      << "the other program never came to the front";
  // It keeps the foreground for its whole time, and ClarisWorks receives nothing meanwhile.
  const auto inFront = std::chrono::steady_clock::now();
  const std::size_t keysBefore = ReadLines(dir_ / L"keys.txt").size();
  std::size_t keysWhileInFront = keysBefore;
  WaitUntil(
      [&] {
        const std::size_t keys = ReadLines(dir_ / L"keys.txt").size();
        if (GetForegroundWindow() != thief) return true;
        keysWhileInFront = keys;
        return false;
      },
      30s);
  EXPECT_GE(std::chrono::steady_clock::now() - inFront, 5s) << "the foreground was taken back from the other program";
  EXPECT_EQ(keysWhileInFront, keysBefore) << "ClarisWorks received keys while another program was in front";

  const Outcome o = FollowRun(main, 240s);
  EXPECT_TRUE(o.finished) << U8(o.progress);
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"1.cwj"), Doc(L"2.cwj")}));
  EXPECT_TRUE(ThiefKeys().empty()) << "keys reached the other program: " << U8(Joined(ThiefKeys()));
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
}

TEST_F(PrintE2E, ClarisWorksAlreadyRunningAtF5IsRefused) {
  MakeDocs({L"x.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs());
  ASSERT_TRUE(main);
  const std::wstring status = StatusLine(main);
  Process sim = Process::Launch(BinDir() + L"\\clw4sim.exe", L"", Knobs());
  ASSERT_TRUE(WaitForTopLevel(L"CLW4MainClass", L"ｸﾗﾘｽﾜｰｸｽ 4.0", 15s));
  // The simulator takes the foreground as it starts; only then is it given back.
  WaitUntil([] { return GetForegroundWindow() == FindTopLevel(L"CLW4MainClass", L"", true); }, 5s);
  ASSERT_TRUE(BringToFront(main));
  win32::Win32Keyboard keyboard;
  ASSERT_TRUE(keyboard.SendKeys("{F5}", platform::Keyboard::Wait::UntilProcessed));  // the real shortcut
  HWND box = WaitForMessageBox(kAppTitle, 10s);
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), L"開いているクラリスワークスを閉じてください");
  EXPECT_FALSE(Progress());
  PressMessageBoxOk(box);
  EXPECT_TRUE(WaitForNoTopLevel(L"#32770", kAppTitle, 5s));
  EXPECT_EQ(StatusLine(main), status) << "the status line is left alone";
  EXPECT_TRUE(IsWindowVisible(main));
  sim.Kill();
}

TEST_F(PrintE2E, AFullQueueHoldsTheNextDocumentUntilItDrains) {
  MakeDocs({L"1.cwj", L"2.cwj"});
  const std::wstring queue = dir_ / L"queue";
  MakeFolder(queue);
  for (int i = 0; i < 7; ++i) WriteTextFile(queue + L"\\job" + std::to_wstring(i) + L".spl", "job");
  auto env = Knobs();
  env[L"VELMOK_TEST_QUEUE_DIR"] = queue;
  HWND main = Start(Quoted(Docs()), env, L"VELMOK_queuetest.exe");
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"プリンタジョブが満杯のため待機中...") != std::wstring::npos; },
                        60s));
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"待機中...") != std::wstring::npos &&
                                    ProgressText().find(L"待機中.....") != std::wstring::npos; },
                        20s))
      << "one dot per check";
  EXPECT_EQ(Printed().size(), 1u) << "the second document waits";
  for (int i = 0; i < 2; ++i) DeleteFileW((queue + L"\\job" + std::to_wstring(i) + L".spl").c_str());
  const Outcome o = FollowRun(main, 120s);
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(Printed().size(), 2u);
}

}  // namespace
}  // namespace velmok::testing
