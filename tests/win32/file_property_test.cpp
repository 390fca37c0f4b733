// The property command under Wine: the shell has no "properties" verb here, so the sheet comes
// from the document's context menu; it must appear for the current entry, leave the main window
// working, and close; a document that is gone shows nothing.

#include "intake/win32/file_property_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

// Visible dialog windows of this process whose title holds `name`.
std::vector<HWND> SheetsFor(const std::wstring& name) {
  std::vector<HWND> out;
  for (HWND w : TopLevelWindowsOf(GetCurrentProcessId())) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    wchar_t title[512] = {};
    GetWindowTextW(w, title, 512);
    if (IsWindowVisible(w) && std::wstring(cls) == L"#32770" && std::wstring(title).find(name) != std::wstring::npos)
      out.push_back(w);
  }
  return out;
}

std::vector<HWND> AnyDialogs() { return SheetsFor(L""); }

class FileProperty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    window_.Handlers().onProperty = [this](const std::string& path) { win32::ShowFileProperty(window_.Main(), path); };
    for (const wchar_t* name : {L"一覧表.cwj", L"見積書.cwj", L"請求書.cwj"}) {
      WriteTextFile(dir_ / name, "document");
      window_.Add(dir_ / name);
    }
    ASSERT_EQ(window_.ItemCount(), 3);
  }
  void TearDown() override {
    for (HWND sheet : AnyDialogs()) PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    window_.PumpUntil([] { return AnyDialogs().empty(); }, 5s);
  }

  // Makes entry `item` the current one while every entry carries a mark.
  void MakeCurrent(int item) {
    window_.Command(IDM_EDIT_ALLSELECT);
    window_.SetItemState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    ASSERT_TRUE(window_.MenuBarEnabled(IDM_FILE_PROPERTY));
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(FileProperty, SheetOfTheCurrentEntryOpensBesideTheWindowAndCloses) {
  MakeCurrent(1);
  {
    // Should the command wait for its sheet, the sheet is closed after a while, so that the test
    // fails instead of hanging.
    std::atomic<bool> returned{false};
    std::atomic<bool> rescued{false};
    std::thread watchdog([&] {
      for (int i = 0; i < 250 && !returned; ++i) Sleep(20);
      if (returned) return;
      rescued = true;
      for (HWND sheet : AnyDialogs()) PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    window_.Command(IDM_FILE_PROPERTY);
    returned = true;
    watchdog.join();
    ASSERT_FALSE(rescued) << "the command waited until its sheet was closed";
  }
  std::vector<HWND> sheets;
  ASSERT_TRUE(window_.PumpUntil([&] { return !(sheets = SheetsFor(L"見積書.cwj")).empty(); }, 10s))
      << "no property sheet appeared";
  EXPECT_EQ(sheets.size(), 1u);
  EXPECT_TRUE(SheetsFor(L"一覧表.cwj").empty()) << "only the current entry's sheet";
  EXPECT_TRUE(SheetsFor(L"請求書.cwj").empty());
  EXPECT_TRUE(IsWindowEnabled(window_.Main())) << "the main window keeps working while the sheet is open";

  // The window takes commands meanwhile, and a second document's sheet can be open beside it.
  window_.Command(IDM_VIEW_CHANGEVIEW0 + 2);
  EXPECT_EQ(window_.View(), static_cast<DWORD>(LV_VIEW_LIST));
  window_.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
  window_.Command(IDM_POPUP_PROPERTY);
  EXPECT_TRUE(window_.PumpUntil([&] { return !SheetsFor(L"請求書.cwj").empty(); }, 10s));
  EXPECT_EQ(SheetsFor(L"見積書.cwj").size(), 1u);

  for (HWND sheet : AnyDialogs()) PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(window_.PumpUntil([] { return AnyDialogs().empty(); }, 5s)) << "the sheets close";
}

TEST_F(FileProperty, DocumentGoneFromDiskShowsNothing) {
  MakeCurrent(0);
  ASSERT_TRUE(DeleteFileW((dir_ / L"一覧表.cwj").c_str()));
  window_.Command(IDM_FILE_PROPERTY);
  EXPECT_EQ(window_.Handlers().calls, std::vector<std::string>{"Property " + U8(dir_ / L"一覧表.cwj")});
  EXPECT_FALSE(window_.PumpUntil([] { return !AnyDialogs().empty(); }, 1500ms)) << "no sheet, no message";
  EXPECT_TRUE(IsWindowEnabled(window_.Main()));
}

}  // namespace
}  // namespace velmok::testing
