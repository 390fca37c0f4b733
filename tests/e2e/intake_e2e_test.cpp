// The command-line intake of the real program: started with paths as the shell starts it for a
// document, a folder or several documents dropped on its icon, or with nothing at all.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "e2e/velmok_app.h"
#include "platform/win32/scoped.h"
#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

class IntakeE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(L"VELMOK.exe");
    ClearVelmokSettings();
    // A folder whose name holds a blank: only the double quotes keep it whole.
    folder_ = docs_ / L"サンプル 文書";
    MakeFolder(folder_);
    MakeFolder(folder_ + L"\\2025年度");
    for (const wchar_t* name : {L"見積書.cwj", L"請求書 12月分.cwj", L"名簿.CWJ"})
      WriteTextFile(folder_ + L"\\" + name, "document");
    WriteTextFile(folder_ + L"\\メモ.txt", "not a document");
    WriteTextFile(folder_ + L"\\2025年度\\予算案.cwj", "document");
  }
  void TearDown() override { KillProcessesNamed(L"VELMOK.exe"); }

  // The status line of the program's main window once it is shown.
  std::wstring StatusAfterStart(const std::wstring& args) {
    app_.Start(args);
    HWND main = app_.WaitMainWindow();
    if (!main) return L"(no main window)";
    HWND status = ChildByClass(main, L"msctls_statusbar32");
    if (!status) return L"(no status bar)";
    return WindowText(status);
  }

  TempDir docs_;
  TempDir programFolder_;
  VelmokApp app_{programFolder_.Path()};
  std::wstring folder_;
};

TEST_F(IntakeE2E, QuotedFolderIsTakenWholeAndCounted) {
  EXPECT_EQ(StatusAfterStart(L"\"" + folder_ + L"\""), L"4 個のファイルをリストに追加しました。");
  EXPECT_TRUE(app_.Close());
}

TEST_F(IntakeE2E, SeveralQuotedPathsReportTheLastOne) {
  EXPECT_EQ(StatusAfterStart(L"\"" + folder_ + L"\" \"" + folder_ + L"\\2025年度\""),
            L"印刷可能なファイルが見つかりませんでした。")
      << "the second folder's document came with the first";
  EXPECT_TRUE(app_.Close());
}

// Documents dropped on the program's icon: the shell quotes only the paths that hold a blank.
TEST_F(IntakeE2E, DocumentsDroppedOnTheIconAreAllListed) {
  const std::wstring plain = docs_ / L"束";
  MakeFolder(plain);
  for (const wchar_t* name : {L"一.cwj", L"二.cwj", L"三.cwj"}) WriteTextFile(plain + L"\\" + name, "document");
  const std::wstring arguments = plain + L"\\一.cwj " + plain + L"\\二.cwj \"" + folder_ + L"\\請求書 12月分.cwj\" " +
                                 plain + L"\\三.cwj";
  EXPECT_EQ(StatusAfterStart(arguments), L"1 個のファイルをリストに追加しました。") << "the last path's count";
  EXPECT_EQ(SendMessageW(ChildByClass(app_.WaitMainWindow(), L"SysListView32"), LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_TRUE(app_.Close());
}

// A folder that another program holds open for itself alone cannot be listed: the intake says so
// after the walk.
TEST_F(IntakeE2E, AFolderThatCannotBeReadIsToldAfterTheIntake) {
  const std::wstring unreadable = folder_ + L"\\読めない";
  ASSERT_TRUE(CreateDirectoryW(unreadable.c_str(), nullptr));
  WriteTextFile(unreadable + L"\\中.cwj", "document");
  win32::ScopedFile held(CreateFileW(unreadable.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(held);

  app_.Start(L"\"" + folder_ + L"\"");
  HWND box = WaitForMessageBox(kAppTitle, 20s);
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box),
            L"次のフォルダを読み取れなかったため、中のファイルはリストに追加されていません。\r\n\r\n" + unreadable);
  EXPECT_TRUE(MessageBoxHasIcon(box));
  PressMessageBoxOk(box);
  HWND main = app_.WaitMainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(WindowText(ChildByClass(main, L"msctls_statusbar32")), L"4 個のファイルをリストに追加しました。");
  EXPECT_TRUE(app_.Close());
}

// The window opens active, whether or not an intake ran while it loaded: its caption is drawn in
// the active caption's colour.
TEST_F(IntakeE2E, WindowOpensActiveAfterTheStartingIntake) {
  for (const bool withFolder : {false, true}) {
    SCOPED_TRACE(withFolder ? "with a folder" : "without arguments");
    app_.Start(withFolder ? L"\"" + folder_ + L"\"" : L"");
    HWND main = app_.WaitMainWindow();
    ASSERT_TRUE(main);
    RedrawWindow(main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5s));
    RECT r{};
    GetWindowRect(main, &r);
    // A point of the caption left of its buttons.
    const int x = r.right - GetSystemMetrics(SM_CXFRAME) - 4 * GetSystemMetrics(SM_CXSIZE);
    const int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    COLORREF pixel = 0;
    const bool active = WaitUntil(
        [&] {
          HDC screen = GetDC(nullptr);
          pixel = GetPixel(screen, x, y);
          ReleaseDC(nullptr, screen);
          return pixel == GetSysColor(COLOR_ACTIVECAPTION) || pixel == GetSysColor(COLOR_GRADIENTACTIVECAPTION);
        },
        5s);
    EXPECT_TRUE(active) << "caption colour " << std::hex << pixel << ", inactive "
                        << GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_TRUE(app_.Close());
  }
}

TEST_F(IntakeE2E, NoArgumentsLeaveTheStartingText) {
  EXPECT_EQ(StatusAfterStart(L""), L"リストビューにファイルまたはフォルダを追加してください。");
  EXPECT_TRUE(app_.Close());
}

}  // namespace
}  // namespace velmok::testing
