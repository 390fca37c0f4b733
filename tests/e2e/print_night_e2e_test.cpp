// A run left alone overnight, end to end: ClarisWorks' own ways of ending and starting (its frame
// hidden some seconds before it ends, a read-only warning shown before its frame) are no faults,
// a locked screen holds the keys until it is unlocked, and once the run has ended nothing holds the
// session.

#include "e2e/print_e2e_fixture.h"

#include <wtsapi32.h>

namespace velmok::testing {
namespace {

TEST_F(PrintE2E, ClarisWorksOwnWaysOfEndingAndStartingAreNoFaults) {
  struct Case {
    const char* what;
    std::map<std::wstring, std::wstring> knobs;
  };
  const Case cases[] = {
      {"its frame hidden three seconds before it ends", {{L"CLW4SIM_HIDE_BEFORE_END_MS", L"3000"}}},
      {"a read-only warning at launch before its frame",
       {{L"CLW4SIM_WARNING_BEFORE_FRAME_MS", L"1500"}, {L"CLW4SIM_READONLY", L"1.cwj"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    DeleteFileW((dir_ / L"printed.txt").c_str());
    DeleteFileW((dir_ / L"keys.txt").c_str());
    SetUp();
    MakeDocs({L"1.cwj", L"2.cwj"});
    HWND main = Start(Quoted(Docs()), Knobs(c.knobs));
    ASSERT_TRUE(main);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    // The end is reported only once ClarisWorks has ended, not when its frame went.
    ASSERT_TRUE(WaitUntil([] { return FindTopLevel(L"#32770", kAppTitle) || (StopButton() && WindowText(StopButton()) == L"閉じる(&X)"); },
                          120s));
    EXPECT_FALSE(AnyProcessNamed(L"clw4sim.exe")) << "success reported while ClarisWorks still runs";
    const Outcome o = FollowRun(main, 60s);
    EXPECT_TRUE(o.finished) << U8(o.progress);
    EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"1.cwj"), Doc(L"2.cwj")}));
    EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
    EXPECT_EQ(o.status, L"2個のファイルを正常に印刷しました。");
    if (c.knobs.count(L"CLW4SIM_READONLY")) {
      bool answered = false;
      for (const auto& line : ReadLines(dir_ / L"keys.txt"))
        answered = answered || (line.find(L"\tused\t") != std::wstring::npos && line.find(L"\t警告\t") != std::wstring::npos);
      EXPECT_TRUE(answered) << "the warning shown before the frame was answered";
    }
  }
}

// Windows tells the progress window that the session was locked and unlocked; meanwhile no key
// goes out, the progress window says what it waits for, and the run goes on afterwards.
TEST_F(PrintE2E, ALockedScreenHoldsTheKeysUntilItIsUnlocked) {
  MakeDocs({L"1.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_OPEN_DELAY_MS", L"1500"}}));
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"ファイルオープン待ちしています...") != std::wstring::npos; },
                        60s));
  PostMessageW(Progress(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"画面のロック解除を待っています...") != std::wstring::npos; },
                        30s))
      << U8(ProgressText());
  const std::size_t keys = ReadLines(dir_ / L"keys.txt").size();
  Sleep(4000);  // the document is open by now: a run that typed on would have sent Ctrl+P
  EXPECT_EQ(ReadLines(dir_ / L"keys.txt").size(), keys) << "a key went out while the screen was locked";
  PostMessageW(Progress(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  const Outcome o = FollowRun(main, 120s);
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(Printed(), std::vector<std::wstring>{Doc(L"1.cwj")});
}

// After the run, its report (of a stopped run) and the closing message (of a finished one) leave
// the session free: every window of the program lets it end, and the settings are saved then as
// at any close.
TEST_F(PrintE2E, AfterTheRunTheReportAndTheClosingMessageLetTheSessionEnd) {
  auto mayEnd = [](HWND window) {
    DWORD_PTR answer = FALSE;
    return SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer) &&
           answer == TRUE;
  };
  auto placementSaved = [] {
    return RegGetValueW(HKEY_CURRENT_USER, L"Software\\ベルモック\\frmMain", L"Top", RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
  };
  for (const bool stopped : {true, false}) {
    SCOPED_TRACE(stopped ? "the report of a stopped run" : "the closing message");
    TearDown();
    SetUp();
    MakeDocs({L"1.cwj"});
    HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_OPEN_DELAY_MS", L"2000"}}));
    ASSERT_TRUE(main);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"ファイルオープン待ちしています...") != std::wstring::npos; },
                          60s));
    EXPECT_FALSE(mayEnd(main)) << "under way, the run holds the session";
    if (stopped) Click(StopButton());
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          box = FindTopLevel(L"#32770", kAppTitle);
          return stopped ? StopButton() && WindowText(StopButton()) == L"閉じる(&X)" : box != nullptr;
        },
        120s));
    for (HWND window : {main, stopped ? Progress() : box}) EXPECT_TRUE(mayEnd(window)) << U8(WindowText(window));
    EXPECT_FALSE(placementSaved());
    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(placementSaved()) << "the settings are saved at the session's end";
    const Outcome o = FollowRun(main, 30s);
    EXPECT_EQ(o.finished, !stopped);
  }
}

}  // namespace
}  // namespace velmok::testing
