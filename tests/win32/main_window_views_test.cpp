// The four views from the menu bar, the pop-up menu and the toolbar, kept in step everywhere; the
// column-header clicks that sort the list, read back as the control displays it.

#include <gtest/gtest.h>

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

const DWORD kListViews[4] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
const int kViewButtons[4] = {IDT_VW_LARGE, IDT_VW_SMALL, IDT_VW_LIST, IDT_VW_DETAIL};

// Exactly view v is checked in both menus and pressed on the toolbar, and the list shows it.
void ExpectView(const MainWindowHarness& w, int v, int line) {
  SCOPED_TRACE(::testing::Message() << "view " << v << ", from line " << line);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(w.MenuBarChecked(IDM_VIEW_CHANGEVIEW0 + i), i == v) << "menu bar item " << i;
    EXPECT_EQ(w.PopupChecked(IDM_POPUP_VIEW0 + i), i == v) << "pop-up item " << i;
    EXPECT_EQ(w.ButtonChecked(kViewButtons[i]), i == v) << "button " << i;
  }
  EXPECT_EQ(w.View(), kListViews[v]);
}

class MainWindowViews : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    for (const wchar_t* name : {L"見積書.cwj", L"請求書.cwj"}) WriteTextFile(dir_ / name, "document");
    window_.Add(dir_.Path());
    window_.LeftClick(window_.ItemPoint(1));
    ASSERT_EQ(window_.FocusedItem(), 1);
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(MainWindowViews, EveryRoadKeepsBothMenusTheButtonsAndTheListInStep) {
  ExpectView(window_, 3, __LINE__);  // the load's view
  struct Road {
    const char* name;
    std::function<void(int)> choose;
  };
  const Road roads[] = {
      {"menu bar", [&](int v) { window_.Command(IDM_VIEW_CHANGEVIEW0 + v); }},
      {"pop-up item", [&](int v) { window_.Command(IDM_POPUP_VIEW0 + v); }},
      {"toolbar click", [&](int v) { window_.ClickButton(kViewButtons[v]); }},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.name);
    for (const int v : {2, 0, 1, 3, 3}) {
      road.choose(v);
      ExpectView(window_, v, __LINE__);
      // The entries, their marks and the current entry stay.
      EXPECT_EQ(window_.ItemCount(), 2);
      EXPECT_EQ(window_.SelectedItems(), std::vector<int>{1});
      EXPECT_EQ(window_.FocusedItem(), 1);
    }
  }
}

// A click on the pressed check button releases it in the control; the view command presses it
// again.
TEST_F(MainWindowViews, ClickingThePressedViewButtonKeepsItPressed) {
  for (const int v : {3, 2}) {
    window_.ClickButton(kViewButtons[v]);
    window_.ClickButton(kViewButtons[v]);
    ExpectView(window_, v, __LINE__);
  }
}

// View and sort commands leave the command states alone.
TEST_F(MainWindowViews, ViewAndSortDoNotRecomputeTheCommandStates) {
  window_.Command(IDM_EDIT_ALLSELECT);
  window_.Command(IDM_EDIT_CHANGE);  // no mark, no current entry: delete disabled
  ASSERT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
  // Marks set behind RefreshMenus' back.
  window_.Model().SetAllSelected(true);
  window_.Command(IDM_VIEW_CHANGEVIEW0 + 1);
  window_.Command(IDM_VIEW_SORTORDER0 + 2);
  window_.Command(IDM_POPUP_SORT0 + 1);
  EXPECT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
  EXPECT_FALSE(window_.ButtonEnabled(IDT_DELETE));
}

// In every view each entry has a place of its own: no two entries' rectangles overlap, also after
// entries were added in that view and after the window was resized.
void ExpectNoOverlap(const MainWindowHarness& w, int line) {
  SCOPED_TRACE(::testing::Message() << "view " << w.View() << ", from line " << line);
  std::vector<RECT> rects;
  for (int i = 0; i < w.ItemCount(); ++i) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(w.ListView(), LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)));
    for (std::size_t j = 0; j < rects.size(); ++j) {
      RECT overlap{};
      EXPECT_FALSE(IntersectRect(&overlap, &r, &rects[j]))
          << "entries " << j << " and " << i << ": (" << rects[j].left << "," << rects[j].top << ")-(" << rects[j].right
          << "," << rects[j].bottom << ") and (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    }
    rects.push_back(r);
  }
  // Scroll bars only where the entries do not fit.
  RECT client{};
  GetClientRect(w.ListView(), &client);
  RECT all{};
  for (const RECT& r : rects) UnionRect(&all, &all, &r);
  const LONG style = GetWindowLongW(w.ListView(), GWL_STYLE);
  if (w.View() != LV_VIEW_DETAILS && all.bottom <= client.bottom && all.right <= client.right) {
    EXPECT_FALSE(style & WS_VSCROLL) << "a vertical scroll bar although everything fits";
    EXPECT_FALSE(style & WS_HSCROLL) << "a horizontal scroll bar although everything fits";
  }
}

TEST(MainWindowViewLayout, EntriesNeverOverlapInAnyView) {
  TempDir dir;
  const wchar_t* names[] = {L"会議議事録(第3回).cwj", L"取引先一覧表_株式会社さくら商事_2024年度版.cwj",
                            L"見積書.cwj", L"請求書 12月分.cwj", L"名簿.CWJ", L"案内状.cwj"};
  for (const wchar_t* name : names) WriteTextFile(dir / name, "document");
  ScratchSettings settings;
  MainWindowHarness w(settings);
  ASSERT_TRUE(w.Created());
  for (int i = 0; i < 3; ++i) w.Add(dir / names[i]);
  for (const int v : {0, 1, 2, 3, 1, 0}) {
    w.Command(IDM_VIEW_CHANGEVIEW0 + v);
    ExpectNoOverlap(w, __LINE__);
  }
  // Entries added while the icons are shown.
  for (int i = 3; i < 6; ++i) w.Add(dir / names[i]);
  ExpectNoOverlap(w, __LINE__);
  w.Command(IDM_VIEW_CHANGEVIEW0 + 1);
  ExpectNoOverlap(w, __LINE__);
  SetWindowPos(w.Main(), nullptr, 0, 0, 320, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  w.Pump();
  ExpectNoOverlap(w, __LINE__);
  w.Command(IDM_VIEW_CHANGEVIEW0);
  ExpectNoOverlap(w, __LINE__);
}

// --- sorting ----------------------------------------------------------------------------------------

class MainWindowSorting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    // name, folder, bytes, modified (local)
    struct Doc {
      const wchar_t* folder;
      const wchar_t* name;
      std::size_t bytes;
      WORD year;
    };
    const Doc docs[] = {{L"f2", L"b.cwj", 9000, 2001}, {L"f3", L"a.cwj", 10000, 1999}, {L"f1", L"c.cwj", 100000, 2005}};
    for (const Doc& d : docs) {
      MakeFolder(dir_ / d.folder);
      const std::wstring path = dir_ / (std::wstring(d.folder) + L"\\" + d.name);
      WriteTextFile(path, std::string(d.bytes, 'x'));
      SYSTEMTIME t{};
      t.wYear = d.year;
      t.wMonth = 6;
      t.wDay = 1;
      t.wHour = 12;
      ASSERT_TRUE(SetFileTimesLocal(path, t));
      window_.Add(path);
    }
    ASSERT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"b.cwj", L"a.cwj", L"c.cwj"})) << "intake order";
  }

  // A click on column header `column` as the mouse makes it.
  void ClickHeader(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(window_.ListView(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
    window_.Pump();
  }

  std::vector<std::wstring> Folders() {
    std::vector<std::wstring> out;
    for (const auto& f : window_.ColumnTexts(3)) out.push_back(f.substr(f.size() - 2));
    return out;
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(MainWindowSorting, HeaderClicksToggleTheDirectionAndAnotherColumnKeepsIt) {
  using Texts = std::vector<std::wstring>;
  struct Step {
    const char* what;
    std::function<void()> act;
    int column;
    Texts expected;
  };
  const Step steps[] = {
      // The list starts sorted by name, ascending, with sorting off: the first name sort reverses.
      {"name", [&] { ClickHeader(0); }, 0, {L"c.cwj", L"b.cwj", L"a.cwj"}},
      {"name again", [&] { ClickHeader(0); }, 0, {L"a.cwj", L"b.cwj", L"c.cwj"}},
      // Sizes compare as text: 10 KB, 100 KB, 9 KB.
      {"size", [&] { ClickHeader(2); }, 2, {L"10 KB", L"100 KB", L"9 KB"}},
      {"size again", [&] { ClickHeader(2); }, 2, {L"9 KB", L"100 KB", L"10 KB"}},
      {"folder keeps descending", [&] { ClickHeader(3); }, 3, {L"f3", L"f2", L"f1"}},
      {"date keeps descending", [&] { ClickHeader(1); }, 1,
       {L"2005/06/01 12:00", L"2001/06/01 12:00", L"1999/06/01 12:00"}},
      {"date again: oldest first", [&] { ClickHeader(1); }, 1,
       {L"1999/06/01 12:00", L"2001/06/01 12:00", L"2005/06/01 12:00"}},
      {"menu: name", [&] { window_.Command(IDM_VIEW_SORTORDER0); }, 0, {L"a.cwj", L"b.cwj", L"c.cwj"}},
      {"pop-up: name again", [&] { window_.Command(IDM_POPUP_SORT0); }, 0, {L"c.cwj", L"b.cwj", L"a.cwj"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(s.column == 3 ? Folders() : window_.ColumnTexts(s.column), s.expected);
  }
}

// The marks and the current entry travel with their entries when the order changes, and the
// position-walking commands see the displayed order.
TEST_F(MainWindowSorting, MarksAndTheCurrentEntryFollowTheirEntries) {
  window_.LeftClick(window_.ItemPoint(2));  // c.cwj
  ClickHeader(0);                          // c, b, a
  EXPECT_EQ(window_.SelectedItems(), std::vector<int>{0});
  EXPECT_EQ(window_.FocusedItem(), 0);
  EXPECT_EQ(window_.ItemText(window_.FocusedItem(), 0), L"c.cwj");
  window_.Command(IDM_EDIT_DELETE);
  EXPECT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"b.cwj", L"a.cwj"}));
  // An entry added while sorting is on takes its sorted place at once.
  WriteTextFile(dir_ / L"f1\\ab.cwj", "x");
  window_.Add(dir_ / L"f1\\ab.cwj");
  EXPECT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"b.cwj", L"ab.cwj", L"a.cwj"}));
}

}  // namespace
}  // namespace velmok::testing
