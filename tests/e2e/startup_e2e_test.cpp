// Start-up as a user meets it: the refusals, the second instance, the log's daily reset.

#include <gtest/gtest.h>

#include "e2e/velmok_app.h"
#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

class StartupE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(L"clw4sim.exe");
    KillProcessesNamed(L"VELMOK.exe");
    ClearVelmokSettings();
  }
  void TearDown() override {
    KillProcessesNamed(L"clw4sim.exe");
    KillProcessesNamed(L"VELMOK.exe");
  }

  // The simulator, running with no document (its main window titled "ｸﾗﾘｽﾜｰｸｽ 4.0").
  Process StartClaris() {
    Process sim = Process::Launch(BinDir() + L"\\clw4sim.exe", L"", {}, dir_.Path());
    EXPECT_TRUE(WaitForTopLevel(L"CLW4MainClass", L"ｸﾗﾘｽﾜｰｸｽ 4.0", 15s)) << "simulator did not come up";
    return sim;
  }

  TempDir dir_;
};

// A window of another program titled exactly "印刷", as a print dialog would be.
class ForeignPrintWindow {
 public:
  ForeignPrintWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelmokTestForeignPrint";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"印刷", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                            nullptr, wc.hInstance, nullptr);
  }
  ~ForeignPrintWindow() { DestroyWindow(hwnd_); }

 private:
  HWND hwnd_ = nullptr;
};

// Waits for the refusal box, checks its text and icon, presses OK; the process must then end
// without showing another box or its main window.
void ExpectRefusal(VelmokApp& app, const std::wstring& text) {
  HWND box = WaitForMessageBox(kAppTitle, 20s);
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(MessageBoxText(box), text);
  EXPECT_TRUE(MessageBoxHasIcon(box)) << "the information icon";
  EXPECT_FALSE(FindTopLevel(kMainWindowClass, L""));
  PressMessageBoxOk(box);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5s)) << "the box did not close";
  // A box shown after this one would keep the process alive until someone answered it.
  HWND next = nullptr;
  const bool ended = WaitUntil(
      [&] {
        next = FindTopLevel(L"#32770", kAppTitle);
        if (!next) next = FindTopLevel(kMainWindowClass, L"");
        return next || WaitForSingleObject(app.Proc().Handle(), 0) == WAIT_OBJECT_0;
      },
      10s);
  EXPECT_FALSE(next) << "only the first refusal is reported: " << U8(MessageBoxText(next));
  EXPECT_TRUE(ended && !next) << "the process did not end";
}

TEST_F(StartupE2E, RefusesWhileClarisWorksRuns) {
  Process sim = StartClaris();
  VelmokApp app(dir_.Path());
  app.Start();
  ExpectRefusal(app, L"クラリスワークスを閉じてから実行してください");
}

TEST_F(StartupE2E, RefusesWhileAnyWindowTitledPrintIsOpen) {
  ForeignPrintWindow printWindow;
  VelmokApp app(dir_.Path());
  app.Start();
  ExpectRefusal(app, L"他のアプリケーションを閉じてから実行してください");
}

TEST_F(StartupE2E, WithBothOnlyTheClarisRefusalIsShown) {
  Process sim = StartClaris();
  ForeignPrintWindow printWindow;
  VelmokApp app(dir_.Path());
  app.Start();
  ExpectRefusal(app, L"クラリスワークスを閉じてから実行してください");
}

TEST_F(StartupE2E, ALogOffSavesThePlacementAsACloseDoes) {
  const std::wstring key = L"Software\\ベルモック\\frmMain";
  auto stored = [&](const wchar_t* value) {
    wchar_t data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
      return std::wstring();
    return std::wstring(data);
  };
  struct Case {
    const char* name;
    WPARAM ending;  // WM_ENDSESSION's wParam: whether the session really ends
    bool saved;
  };
  const Case cases[] = {{"the session ends", TRUE, true}, {"another program refused: it goes on", FALSE, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearVelmokSettings();
    VelmokApp app(dir_.Path());
    app.Start();
    HWND main = app.WaitMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(SetWindowPos(main, nullptr, 150, 120, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE));
    DWORD_PTR answer = FALSE;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, c.ending, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    // The system ends the process right after WM_ENDSESSION: what counts must be stored by then.
    HDC screen = GetDC(nullptr);
    const int twipsPerPixel = 1440 / GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(stored(L"Left"), c.saved ? std::to_wstring(150 * twipsPerPixel) : L"");
    EXPECT_EQ(stored(L"Top"), c.saved ? std::to_wstring(120 * twipsPerPixel) : L"");
    EXPECT_EQ(stored(L"Width"), c.saved ? std::to_wstring(700 * twipsPerPixel) : L"");
    EXPECT_TRUE(IsWindow(main)) << "the window itself is left to the system";
    app.Proc().Kill();
  }
}

TEST_F(StartupE2E, SecondInstanceEndsSilentlyAndLeavesTheFirstAlone) {
  VelmokApp first(dir_.Path());
  first.Start();
  HWND main = first.WaitMainWindow();
  ASSERT_TRUE(main);
  const std::wstring title = WindowText(main);

  TempDir other;
  VelmokApp second(other.Path());
  second.Start();
  EXPECT_TRUE(second.Proc().WaitExit(15s));
  EXPECT_FALSE(FindTopLevel(L"#32770", kAppTitle)) << "no message";
  EXPECT_TRUE(IsWindow(main));
  EXPECT_EQ(WindowText(main), title);
  EXPECT_TRUE(first.Close());
}

// A first copy running elevated, or as another user in the session, holds the token with rights
// that this copy lacks: the system refuses to open it. Made here with an access list that grants
// nothing.
TEST_F(StartupE2E, ASecondStartEndsSilentlyWhenTheFirstCopysTokenIsOutOfReach) {
  const auto token = MutexOutOfReach(L"Local\\VELMOK.SingleInstance");
  ASSERT_TRUE(token.Get());

  VelmokApp second(dir_.Path());
  second.Start();
  EXPECT_TRUE(second.Proc().WaitExit(15s));
  EXPECT_FALSE(FindTopLevel(kMainWindowClass, L"")) << "no main window";
  EXPECT_FALSE(FindTopLevel(L"#32770", kAppTitle)) << "no message";

}

TEST_F(StartupE2E, LogFileOfAnEarlierDayIsDeletedAtStartEvenWhenRefused) {
  struct Case {
    const char* name;
    bool earlierDay;
    bool refused;
    bool kept;
  };
  const Case cases[] = {
      {"earlier day, started", true, false, false},
      {"earlier day, refused", true, true, false},
      {"today, started", false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    VelmokApp app(folder.Path());
    WriteTextFile(app.LogPath(), " 1 old line\r\n");
    if (c.earlierDay) {
      SYSTEMTIME now{};
      GetLocalTime(&now);
      SYSTEMTIME earlier = now;
      earlier.wYear = static_cast<WORD>(now.wYear - 1);
      ASSERT_TRUE(SetFileTimesLocal(app.LogPath(), earlier));
    }
    Process sim;
    if (c.refused) sim = StartClaris();
    app.Start();
    if (c.refused) {
      HWND box = WaitForMessageBox(kAppTitle, 20s);
      ASSERT_TRUE(box);
      EXPECT_EQ(GetFileAttributesW(app.LogPath().c_str()), INVALID_FILE_ATTRIBUTES) << "deleted before the refusal";
      PressMessageBoxOk(box);
      EXPECT_TRUE(app.Proc().WaitExit(10s));
    } else {
      ASSERT_TRUE(app.WaitMainWindow());
      EXPECT_TRUE(app.Close());
    }
    EXPECT_EQ(GetFileAttributesW(app.LogPath().c_str()) != INVALID_FILE_ATTRIBUTES, c.kept);
    sim.Kill();
    KillProcessesNamed(L"clw4sim.exe");
  }
}

}  // namespace
}  // namespace velmok::testing
