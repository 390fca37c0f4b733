// The whole road on a desk that does not cooperate: commands and closes posted to the program
// during a run, another program's window titled "警告", an ANSI ClarisWorks that cannot read
// every name, a quit and a log-off in the middle of a run.

#include "e2e/print_e2e_fixture.h"

namespace velmok::testing {
namespace {

std::wstring ShortPathOf(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD n = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
  return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring();
}

int WindowsOfClass(const wchar_t* className) {
  int n = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr))
    ++n;
  return n;
}

// Key journal lines of the simulator that are Ctrl+N, wherever it went.
int CtrlNs(const std::vector<std::wstring>& journal) {
  int n = 0;
  for (const auto& line : journal) n += line.find(L"\tN\tctrl\t") != std::wstring::npos;
  return n;
}

TEST_F(PrintE2E, CommandsAndClosesPostedDuringARunDoNothing) {
  const std::vector<std::wstring> names = {L"1.cwj", L"2.cwj", L"3.cwj"};
  MakeDocs(names);
  HWND main = Start(Quoted(Doc(names[0])) + L" " + Quoted(Doc(names[1])) + L" " + Quoted(Doc(names[2])),
                    Knobs({{L"CLW4SIM_OPEN_DELAY_MS", L"400"}}));
  ASSERT_TRUE(main);
  HWND list = ChildByClass(main, L"SysListView32");
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"ファイル 2 / 3") != std::wstring::npos; }, 60s))
      << U8(ProgressText());
  // What another program, a script or a stray key could send the hidden main window.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_FILE_NEW, 0), 0);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDT_PRINT, 0), 0);
  PostMessageW(main, WM_KEYDOWN, VK_F5, 0);
  PostMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(IDM_FILE_CLOSE, 0), 0, SMTO_ABORTIFHUNG, 5000, &answer);
  Sleep(300);
  EXPECT_EQ(WindowsOfClass(kProgressClass), 1) << "a second run was started";
  EXPECT_TRUE(IsWindow(main));

  const Outcome o = FollowRun(main, 120s);
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(o.status, L"3個のファイルを正常に印刷しました。");
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(names[0]), Doc(names[1]), Doc(names[2])}));
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
  // After the run the window is as it was: all there, enabled, the list whole.
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_FALSE(app_->Proc().WaitExit(500ms)) << "the program was closed by a message sent during the run";
}

TEST_F(PrintE2E, AnotherProgramsWarningIsNeverAnsweredNorTypedInto) {
  MakeDocs({L"1.cwj", L"2.cwj"});
  // A mail program's "警告", open in the background for the whole run.
  Process mailer = Process::Launch(BinDir() + L"\\focusthief.exe",
                                   L"600000 \"" + (dir_ / L"mailer.txt") + L"\" 警告 behind");
  ASSERT_TRUE(WaitForTopLevel(L"VelmokFocusThief", L"警告", 10s));
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_CLOSE_DELAY_MS", L"2000"}, {L"CLW4SIM_CLOSE_BLOCK_MS", L"1500"}}));
  ASSERT_TRUE(main);
  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);
  EXPECT_TRUE(o.finished) << U8(o.progress);
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"1.cwj"), Doc(L"2.cwj")}));
  const auto keys = ReadLines(dir_ / L"keys.txt");
  EXPECT_EQ(CtrlNs(keys), 0) << "the other program's warning was answered: " << U8(Joined(keys));
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
  EXPECT_TRUE(ReadLines(dir_ / L"mailer.txt").empty()) << U8(Joined(ReadLines(dir_ / L"mailer.txt")));
  EXPECT_TRUE(FindTopLevel(L"VelmokFocusThief", L"警告")) << "still there, untouched";
  mailer.Kill();
}

TEST_F(PrintE2E, AnAnsiClarisWorksIsHandedNamesItCanRead) {
  const std::vector<std::wstring> names = {L"a.cwj", L"b_Müller.cwj", L"c_한글.cwj"};
  MakeDocs(names);
  const std::vector<std::wstring> handed = {Doc(names[0]), ShortPathOf(Doc(names[1])), ShortPathOf(Doc(names[2]))};
  ASSERT_NE(handed[1], Doc(names[1])) << "Wine keeps short names";
  HWND main = Start(Quoted(Doc(names[0])) + L" " + Quoted(Doc(names[1])) + L" " + Quoted(Doc(names[2])),
                    Knobs({{L"CLW4SIM_ANSI", L"1"}}));
  ASSERT_TRUE(main);
  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);
  EXPECT_TRUE(o.finished) << U8(o.progress);
  EXPECT_EQ(o.status, L"3個のファイルを正常に印刷しました。");
  EXPECT_EQ(Printed(), handed) << "each once, in order, by a name it could read";
  EXPECT_TRUE(IgnoredKeys().empty()) << U8(Joined(IgnoredKeys()));
}

TEST_F(PrintE2E, AQuitDuringARunEndsTheProgramWithoutTypingOn) {
  MakeDocs({L"1.cwj", L"2.cwj"});
  HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_OPEN_DELAY_MS", L"4000"}}));
  ASSERT_TRUE(main);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"ファイルオープン待ちしています...") != std::wstring::npos; },
                        60s));
  const DWORD thread = GetWindowThreadProcessId(main, nullptr);
  ASSERT_TRUE(PostThreadMessageW(thread, WM_QUIT, 0, 0));
  EXPECT_TRUE(app_->Proc().WaitExit(10s)) << "the program goes on after WM_QUIT";
  const std::size_t keysAtQuit = ReadLines(dir_ / L"keys.txt").size();
  Sleep(6000);  // the document opens meanwhile: a run typing on would send Ctrl+P now
  EXPECT_EQ(ReadLines(dir_ / L"keys.txt").size(), keysAtQuit) << U8(Joined(ReadLines(dir_ / L"keys.txt")));
  EXPECT_TRUE(Printed().empty());
}

// Asked whether the session may end (a log-off, a shut-down, an installer's Restart Manager), the
// program answers "not now" during a run and prints on; only the session's real end stops the run.
class SessionEndE2E : public PrintE2E {
 protected:
  void Run(LPARAM reason, BOOL ends) {
    MakeDocs({L"1.cwj", L"2.cwj"});
    HWND main = Start(Quoted(Docs()), Knobs({{L"CLW4SIM_OPEN_DELAY_MS", L"3000"}}));
    ASSERT_TRUE(main);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    ASSERT_TRUE(WaitUntil([] { return ProgressText().find(L"ファイルオープン待ちしています...") != std::wstring::npos; },
                          60s));
    for (HWND window : {Progress(), main}) {
      DWORD_PTR answer = TRUE;
      ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG, 5000, &answer));
      EXPECT_EQ(answer, static_cast<DWORD_PTR>(FALSE)) << "the session may not end under a run";
    }
    const std::size_t keysBefore = ReadLines(dir_ / L"keys.txt").size();
    for (HWND window : {Progress(), main})
      SendMessageTimeoutW(window, WM_ENDSESSION, static_cast<WPARAM>(ends), reason, SMTO_ABORTIFHUNG, 5000, nullptr);
    const Outcome o = FollowRun(main, 120s);
    if (ends) {
      EXPECT_FALSE(o.finished);
      EXPECT_TRUE(o.progress.size() >= kStopText.size() &&
                  o.progress.substr(o.progress.size() - kStopText.size()) == kStopText)
          << U8(o.progress);
      EXPECT_EQ(ReadLines(dir_ / L"keys.txt").size(), keysBefore) << "no key after the session's end";
      EXPECT_TRUE(Printed().empty());
    } else {
      EXPECT_TRUE(o.finished) << U8(o.progress);
      EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"1.cwj"), Doc(L"2.cwj")}));
    }
    DWORD_PTR answer = FALSE;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "once the run has ended, the session may end";
  }
};

TEST_F(SessionEndE2E, AnInstallerAsksThenLetsTheSessionGoOnAndTheRunPrintsOn) { Run(ENDSESSION_CLOSEAPP, FALSE); }

TEST_F(SessionEndE2E, ALogOffThatHappensStopsTheRunBeforeItsNextKey) { Run(ENDSESSION_LOGOFF, TRUE); }

// Windows' loader looks in the program's folder before the system folder for a library that is
// not one of the known system ones. Wine takes its own spooler unless told to prefer a native
// one; the per-program override below tells it so, and Wine then searches as Windows does.
class PreferNativeSpoolerFor {
 public:
  explicit PreferNativeSpoolerFor(const std::wstring& exeName)
      : key_(L"Software\\Wine\\AppDefaults\\" + exeName + L"\\DllOverrides") {
    const wchar_t order[] = L"native,builtin";
    RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"winspool.drv", REG_SZ, order, sizeof order);
  }
  ~PreferNativeSpoolerFor() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"winspool.drv"); }

 private:
  std::wstring key_;
};

TEST_F(PrintE2E, ASpoolerPlacedBesideTheProgramIsNeverLoaded) {
  const std::wstring planted = BinDir() + L"\\planted\\WINSPOOL.DRV";
  // The stand-in works: whatever loads it leaves the marker (here under a name Wine has no
  // library of its own for, so that this process takes it).
  const std::wstring probe = dir_ / L"probe";
  MakeFolder(probe);
  ASSERT_TRUE(CopyFileW(planted.c_str(), (probe + L"\\planted.dll").c_str(), FALSE));
  HMODULE loaded = LoadLibraryExW((probe + L"\\planted.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  ASSERT_TRUE(loaded);
  FreeLibrary(loaded);
  ASSERT_TRUE(ReadTextFile(probe + L"\\planted-dll-loaded.txt").has_value()) << "the stand-in leaves no marker";

  ASSERT_TRUE(CopyFileW(planted.c_str(), (dir_ / L"app\\WINSPOOL.DRV").c_str(), FALSE));
  MakeDocs({L"a.cwj", L"b.cwj"});
  PreferNativeSpoolerFor velmok(L"VELMOK.exe");
  HWND main = Start(Quoted(Docs()), Knobs());
  ASSERT_TRUE(main);
  const Outcome o = Print(main, IDM_PRINT_ALLPRINT);  // the queue is looked at before every document
  EXPECT_TRUE(o.finished);
  EXPECT_EQ(Printed(), (std::vector<std::wstring>{Doc(L"a.cwj"), Doc(L"b.cwj")}));
  EXPECT_FALSE(ReadTextFile(dir_ / L"app\\planted-dll-loaded.txt").has_value()) << "the planted spooler was loaded";
}

}  // namespace
}  // namespace velmok::testing
