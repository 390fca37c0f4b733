// The list's pointer events and the command states they recompute: selections made through the
// control, clicks, the pop-up menu after a right-click, the item click's status text.

#include <gtest/gtest.h>

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

// The list-dependent elements as the user sees them.
struct States {
  bool editDelete, popupDelete, property, printAll, printSelected;
  friend bool operator==(const States&, const States&) = default;
};

std::ostream& operator<<(std::ostream& os, const States& s) {
  return os << "{delete " << s.editDelete << ", pop-up delete " << s.popupDelete << ", property " << s.property
            << ", print all " << s.printAll << ", print selected " << s.printSelected << "}";
}

// Reads the states, checking that each element's twins (menu bar, pop-up, toolbar) agree.
States ReadStates(const MainWindowHarness& w, int line) {
  SCOPED_TRACE(::testing::Message() << "from line " << line);
  const States s{w.MenuBarEnabled(IDM_EDIT_DELETE), w.PopupEnabled(IDM_POPUP_DELETE),
                 w.MenuBarEnabled(IDM_FILE_PROPERTY), w.MenuBarEnabled(IDM_PRINT_ALLPRINT),
                 w.MenuBarEnabled(IDM_PRINT_SELECTEDPRINT)};
  EXPECT_EQ(w.ButtonEnabled(IDT_DELETE), s.editDelete);
  EXPECT_EQ(w.PopupEnabled(IDM_POPUP_PROPERTY), s.property);
  EXPECT_EQ(w.ButtonEnabled(IDT_PROPERTY), s.property);
  EXPECT_EQ(w.ButtonEnabled(IDT_PRINT), s.printAll);
  EXPECT_EQ(w.PopupEnabled(IDM_POPUP_SELECTEDPRINT), s.printSelected);
  return s;
}

class ListPointer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    SYSTEMTIME t{};
    t.wYear = 2001;
    t.wMonth = 2;
    t.wDay = 3;
    t.wHour = 4;
    t.wMinute = 5;
    for (const wchar_t* name : {L"一.cwj", L"二.cwj", L"三.cwj"}) {
      WriteTextFile(dir_ / name, std::string(12345, 'x'));
      ASSERT_TRUE(SetFileTimesLocal(dir_ / name, t));
      window_.Add(dir_ / name);
    }
    ASSERT_EQ(window_.ItemCount(), 3);
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(ListPointer, SelectionsThroughTheControlRecomputeTheStates) {
  // After the intake: entries, no mark, no current entry.
  EXPECT_EQ(ReadStates(window_, __LINE__), (States{false, false, false, true, false}));
  struct Step {
    const char* what;
    std::function<void()> act;
    States expected;
    std::vector<int> selected;
    int focused;
  };
  const Step steps[] = {
      {"a mark without a current entry (LVM_SETITEMSTATE)",
       [&] { window_.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED); }, {true, false, false, true, true}, {1}, -1},
      {"a current entry whose mark is off", [&] { window_.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED); },
       {true, true, true, true, true}, {1}, 2},
      {"the marks cleared, the current entry kept",
       [&] { window_.SetItemState(-1, 0, LVIS_SELECTED); }, {true, true, true, true, true}, {}, 2},
      {"a click on an entry", [&] { window_.LeftClick(window_.ItemPoint(0)); }, {true, true, true, true, true}, {0}, 0},
      {"Ctrl+click on another", [&] { window_.LeftClick(window_.ItemPoint(2), MK_CONTROL); },
       {true, true, true, true, true}, {0, 2}, 2},
      {"a click on empty space", [&] { window_.LeftClick(window_.EmptyPoint()); },
       {false, false, false, true, false}, {}, -1},
      {"select all", [&] { window_.Command(IDM_EDIT_ALLSELECT); }, {true, false, false, true, true}, {0, 1, 2}, -1},
      {"invert", [&] { window_.Command(IDM_EDIT_CHANGE); }, {false, false, false, true, false}, {}, -1},
      {"clear", [&] { window_.Command(IDM_FILE_NEW); }, {false, false, false, false, false}, {}, -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(ReadStates(window_, __LINE__), s.expected);
    EXPECT_EQ(window_.SelectedItems(), s.selected);
    EXPECT_EQ(window_.FocusedItem(), s.focused);
  }
}

TEST_F(ListPointer, ClickingAnEntryShowsItsTimeAndSize) {
  window_.LeftClick(window_.ItemPoint(1));
  EXPECT_EQ(window_.StatusText(), L"更新日時: 2001/02/03 04:05 サイズ: 12 KB");
  // The current entry with its mark off counts as selected: delete is enabled and removes nothing.
  window_.SetItemState(1, 0, LVIS_SELECTED);
  window_.Command(IDM_EDIT_DELETE);
  EXPECT_EQ(window_.ItemCount(), 3);
  EXPECT_EQ(window_.StatusText(), L"0個のファイルをリストから削除しました。");
}

// The middle and left buttons recompute the states on release but open no menu.
TEST_F(ListPointer, ReleasesRecomputeTheStatesOnlyTheRightButtonOpensTheMenu) {
  PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
  // Marks set behind RefreshMenus' back: the states are stale until a release.
  window_.Model().SetAllSelected(true);
  window_.Frm().ListChanged();
  ASSERT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
  window_.MiddleClick(window_.ItemPoint(0));
  EXPECT_TRUE(window_.MenuBarEnabled(IDM_EDIT_DELETE)) << "middle release";
  window_.Command(IDM_EDIT_CHANGE);
  window_.Model().SetAllSelected(true);
  window_.Frm().ListChanged();
  ASSERT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
  window_.LeftClick(window_.EmptyPoint(), MK_CONTROL);  // Ctrl keeps the marks
  EXPECT_TRUE(window_.MenuBarEnabled(IDM_EDIT_DELETE)) << "left release";
  EXPECT_EQ(probe.Opened(), 0);
}

// A press of the middle button, which the list does not handle itself, still clears the current
// entry first; its release recomputes the states.
TEST_F(ListPointer, MiddlePressClearsTheCurrentEntry) {
  window_.LeftClick(window_.ItemPoint(0));
  ASSERT_TRUE(window_.MenuBarEnabled(IDM_FILE_PROPERTY));
  window_.MiddleClick(window_.ItemPoint(1));
  EXPECT_EQ(window_.FocusedItem(), -1);
  EXPECT_FALSE(window_.Model().Current().has_value());
  EXPECT_EQ(ReadStates(window_, __LINE__), (States{true, false, false, true, true})) << "the mark of entry 0 stays";
  EXPECT_EQ(window_.SelectedItems(), std::vector<int>{0});
}

TEST_F(ListPointer, RightClickOpensThePopupWithStatesOfTheListAfterThePress) {
  struct Case {
    const char* where;
    bool onEntry;
    bool deleteAndProperty;
    bool selectedPrint;
  };
  const Case cases[] = {
      {"on an entry", true, true, true},
      {"on empty space", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    window_.LeftClick(window_.ItemPoint(0));  // a current entry before the press
    PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
    window_.RightClick(c.onEntry ? window_.ItemPoint(2) : window_.EmptyPoint());
    ASSERT_EQ(probe.Opened(), 1);
    EXPECT_TRUE(probe.MenuWindowWasVisible());
    EXPECT_EQ(probe.EnabledWhenOpen(IDM_POPUP_DELETE), c.deleteAndProperty);
    EXPECT_EQ(probe.EnabledWhenOpen(IDM_POPUP_PROPERTY), c.deleteAndProperty);
    EXPECT_EQ(probe.EnabledWhenOpen(IDM_POPUP_SELECTEDPRINT), c.selectedPrint);
    EXPECT_TRUE(probe.EnabledWhenOpen(IDM_POPUP_VIEW0));
    EXPECT_TRUE(probe.EnabledWhenOpen(IDM_POPUP_SORT0 + 3));
    EXPECT_EQ(window_.FocusedItem(), c.onEntry ? 2 : -1);
    EXPECT_TRUE(window_.Handlers().calls.empty()) << "a dismissed menu performs nothing";
  }
}

// The keyboard's menu key (WM_CONTEXTMENU without a point) opens the same pop-up menu, with the
// states of the list as it is.
TEST_F(ListPointer, MenuKeyOpensThePopupForTheCurrentEntry) {
  struct Case {
    const char* what;
    std::function<void()> before;
    bool deleteAndProperty;
  };
  const Case cases[] = {
      {"with a current entry", [&] { window_.LeftClick(window_.ItemPoint(1)); }, true},
      {"without one", [&] { window_.LeftClick(window_.EmptyPoint()); }, false},
  };
  // Windows puts (-1, -1) into the low 32 bits; a 64-bit lParam of -1 holds the same point.
  const LPARAM keyboardPositions[] = {static_cast<LPARAM>(static_cast<DWORD>(MAKELPARAM(-1, -1))), -1};
  for (const Case& c : cases) {
    for (const LPARAM position : keyboardPositions) {
      SCOPED_TRACE(::testing::Message() << c.what << ", lParam " << position);
      c.before();
      PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
      SendMessageW(window_.Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.ListView()), position);
      window_.Pump();
      ASSERT_EQ(probe.Opened(), 1);
      EXPECT_EQ(probe.EnabledWhenOpen(IDM_POPUP_DELETE), c.deleteAndProperty);
      EXPECT_EQ(probe.EnabledWhenOpen(IDM_POPUP_PROPERTY), c.deleteAndProperty);
    }
  }
}

// The second press of a double-click, of any button, is the double-click and not a press: the
// current entry stays, and the states after its release describe the list with it (the right
// button's control takes a second right press as a press of its own: a second pop-up).
TEST_F(ListPointer, TheSecondPressOfADoubleClickKeepsTheCurrentEntry) {
  struct Case {
    const char* button;
    UINT down, dblclk, up;
    WPARAM key;
  };
  const Case cases[] = {
      {"left", WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON},
      {"right", WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, MK_RBUTTON},
      {"middle", WM_MBUTTONDOWN, WM_MBUTTONDBLCLK, WM_MBUTTONUP, MK_MBUTTON},
  };
  const LPARAM empty = MAKELPARAM(window_.EmptyPoint().x, window_.EmptyPoint().y);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
    // The first press and its release, on empty space: no current entry afterwards. Then an entry
    // is made current (as Windows' list does on the first press of a double-click on an entry),
    // and the second press comes.
    if (c.up == WM_RBUTTONUP) PostMessageW(window_.ListView(), c.up, 0, empty);
    SendMessageW(window_.ListView(), c.down, c.key, empty);
    SendMessageW(window_.ListView(), c.up, 0, empty);
    window_.Pump();
    ASSERT_FALSE(window_.Model().Current().has_value());
    window_.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    if (c.up == WM_RBUTTONUP) PostMessageW(window_.ListView(), c.up, 0, empty);
    SendMessageW(window_.ListView(), c.dblclk, c.key, empty);
    SendMessageW(window_.ListView(), c.up, 0, empty);
    window_.Pump();
    EXPECT_EQ(window_.Model().Current(), std::optional<std::size_t>(1)) << "the double-click kept it";
    EXPECT_EQ(window_.FocusedItem(), 1);
    EXPECT_EQ(ReadStates(window_, __LINE__), (States{true, true, true, true, true}));
    EXPECT_EQ(probe.Opened(), c.up == WM_RBUTTONUP ? 2 : 0);
  }
}

// A press that turns into a drag or a rubber-band selection ends without a click notification;
// its release still recomputes the states.
TEST_F(ListPointer, AReleaseThatEndsADragRecomputesTheStates) {
  struct Case {
    const char* what;
    POINT from;
  };
  const Case cases[] = {{"a drag of an entry", window_.ItemPoint(0)}, {"a rubber band from empty space", window_.EmptyPoint()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window_.Model().SetAllSelected(true);
    window_.Frm().ListChanged();
    ASSERT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
    const POINT to{c.from.x + 60, c.from.y + 40};
    SendMessageW(window_.ListView(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(c.from.x, c.from.y));
    for (int step = 1; step <= 4; ++step)
      SendMessageW(window_.ListView(), WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL,
                   MAKELPARAM(c.from.x + 15 * step, c.from.y + 10 * step));
    SendMessageW(window_.ListView(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(to.x, to.y));
    window_.Pump();
    EXPECT_EQ(window_.MenuBarEnabled(IDM_EDIT_DELETE), !window_.SelectedItems().empty())
        << "the states describe the list after the release";
    window_.Command(IDM_FILE_NEW);
    for (const wchar_t* name : {L"一.cwj", L"二.cwj", L"三.cwj"}) window_.Add(dir_ / name);
  }
}

// Items chosen in the open pop-up menu with their access keys perform their menu twin's command.
TEST_F(ListPointer, ItemsChosenInThePopupPerformTheirCommands) {
  {
    PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
    probe.TypeWhenOpen(L"vl");  // 表示(&V) → 一覧(&L)
    window_.RightClick(window_.ItemPoint(1));
    EXPECT_EQ(probe.Opened(), 1);
    EXPECT_EQ(window_.View(), static_cast<DWORD>(LV_VIEW_LIST));
    EXPECT_TRUE(window_.MenuBarChecked(IDM_VIEW_CHANGEVIEW0 + 2));
    EXPECT_TRUE(window_.PopupChecked(IDM_POPUP_VIEW0 + 2));
    EXPECT_TRUE(window_.ButtonChecked(IDT_VW_LIST));
  }
  {
    PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
    probe.TypeWhenOpen(L"r");  // プロパティ(&R) of the entry under the pointer
    window_.RightClick(window_.ItemPoint(1));
    EXPECT_EQ(window_.Handlers().calls, std::vector<std::string>{"Property " + U8(dir_ / L"二.cwj")});
  }
  {
    PopupMenuProbe probe(window_.Main(), window_.Frm().PopupMenu());
    probe.TypeWhenOpen(L"d");  // (リストから)削除(&D)
    window_.RightClick(window_.ItemPoint(1));
    EXPECT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"一.cwj", L"三.cwj"}));
    EXPECT_EQ(window_.StatusText(), L"1個のファイルをリストから削除しました。");
  }
}

}  // namespace
}  // namespace velmok::testing
