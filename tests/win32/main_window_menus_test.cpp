// frmMain's menu bar, its list pop-up menu, the accelerators and the toolbar, read from the real
// window and checked against the table of the window's elements.

#include <gtest/gtest.h>

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

constexpr int kPopup = 0;       // an item that opens a submenu
constexpr int kSeparator = -1;  // "-"

struct MenuRow {
  int level;
  const wchar_t* caption;  // "&" marks the access key
  const wchar_t* shortcut;
  int id;
};

const MenuRow kMenuBar[] = {
    {1, L"ファイル(&F)", L"", kPopup},
    {2, L"新規(&N)", L"Ctrl+N", IDM_FILE_NEW},
    {2, L"", L"", kSeparator},
    {2, L"プロパティ(&R)", L"", IDM_FILE_PROPERTY},
    {2, L"", L"", kSeparator},
    {2, L"終了(&X)", L"", IDM_FILE_CLOSE},
    {1, L"編集(&E)", L"", kPopup},
    {2, L"(リストから)削除(&D)", L"Del", IDM_EDIT_DELETE},
    {2, L"貼り付け(&P)", L"Ctrl+V", IDM_EDIT_PASTE},
    {2, L"", L"", kSeparator},
    {2, L"すべて選択(&A)", L"Ctrl+A", IDM_EDIT_ALLSELECT},
    {2, L"選択の切り替え(&I)", L"", IDM_EDIT_CHANGE},
    {1, L"表示(&V)", L"", kPopup},
    {2, L"大きいアイコン(&G)", L"", IDM_VIEW_CHANGEVIEW0},
    {2, L"小さいアイコン(&M)", L"", IDM_VIEW_CHANGEVIEW0 + 1},
    {2, L"一覧(&L)", L"", IDM_VIEW_CHANGEVIEW0 + 2},
    {2, L"詳細(&D)", L"", IDM_VIEW_CHANGEVIEW0 + 3},
    {2, L"", L"", kSeparator},
    {2, L"アイコンの整列(&I)", L"", kPopup},
    {3, L"名前順(&N)", L"", IDM_VIEW_SORTORDER0},
    {3, L"日付順(&D)", L"", IDM_VIEW_SORTORDER0 + 1},
    {3, L"サイズ順(&Z)", L"", IDM_VIEW_SORTORDER0 + 2},
    {3, L"フォルダ名順(&F)", L"", IDM_VIEW_SORTORDER0 + 3},
    {1, L"印刷(&P)", L"", kPopup},
    {2, L"すべて印刷(&P)", L"F5", IDM_PRINT_ALLPRINT},
    {2, L"選択アイテムを印刷(&S)", L"", IDM_PRINT_SELECTEDPRINT},
    {1, L"デバッグ(&D)", L"", kPopup},
    {2, L"ログ(&L)", L"", kPopup},
    {3, L"記録しない(&0)", L"", IDM_DEBUG_LOGGINGLEVEL0},
    {3, L"記録する(&1)", L"", IDM_DEBUG_LOGGINGLEVEL0 + 1},
    {2, L"電子メールで報告(&M)", L"", IDM_DEBUG_SENDMAIL},
    {1, L"ヘルプ(&H)", L"", kPopup},
    {2, L"バージョン情報(&A)...", L"", IDM_HELP_INFO},
};

// Below the hidden root "リストポップアップ".
const MenuRow kListPopup[] = {
    {2, L"表示(&V)", L"", kPopup},
    {3, L"大きいアイコン(&G)", L"", IDM_POPUP_VIEW0},
    {3, L"小さいアイコン(&M)", L"", IDM_POPUP_VIEW0 + 1},
    {3, L"一覧(&L)", L"", IDM_POPUP_VIEW0 + 2},
    {3, L"詳細(&D)", L"", IDM_POPUP_VIEW0 + 3},
    {2, L"", L"", kSeparator},
    {2, L"アイコンの整列(&I)", L"", kPopup},
    {3, L"名前順(&N)", L"", IDM_POPUP_SORT0},
    {3, L"日付順(&D)", L"", IDM_POPUP_SORT0 + 1},
    {3, L"サイズ順(&Z)", L"", IDM_POPUP_SORT0 + 2},
    {3, L"フォルダ名順(&F)", L"", IDM_POPUP_SORT0 + 3},
    {2, L"", L"", kSeparator},
    {2, L"(リストから)削除(&D)", L"", IDM_POPUP_DELETE},
    {2, L"貼り付け(&P)", L"", IDM_POPUP_PASTE},
    {2, L"", L"", kSeparator},
    {2, L"選択アイテムを印刷(&S)", L"", IDM_POPUP_SELECTEDPRINT},
    {2, L"", L"", kSeparator},
    {2, L"プロパティ(&R)", L"", IDM_POPUP_PROPERTY},
};

// The menu's items depth first, in the form of the table.
void Walk(HMENU menu, int level, std::vector<MenuRow>& rows, std::vector<std::wstring>& texts) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text));
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
    if (info.fType & MFT_SEPARATOR) {
      rows.push_back({level, L"", L"", kSeparator});
      continue;
    }
    const std::wstring whole(text);
    const auto tab = whole.find(L'\t');
    texts.push_back(whole.substr(0, tab));
    texts.push_back(tab == std::wstring::npos ? L"" : whole.substr(tab + 1));
    rows.push_back({level, nullptr, nullptr, info.hSubMenu ? kPopup : static_cast<int>(info.wID)});
    if (info.hSubMenu) Walk(info.hSubMenu, level + 1, rows, texts);
  }
}

void ExpectMenu(HMENU menu, int firstLevel, const MenuRow* expected, std::size_t count) {
  std::vector<MenuRow> rows;
  std::vector<std::wstring> texts;
  Walk(menu, firstLevel, rows, texts);
  ASSERT_EQ(rows.size(), count);
  std::size_t t = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const MenuRow& want = expected[i];
    SCOPED_TRACE(::testing::Message() << "row " << i << " " << U8(want.caption));
    EXPECT_EQ(rows[i].level, want.level);
    EXPECT_EQ(rows[i].id, want.id);
    if (want.id == kSeparator) continue;
    EXPECT_EQ(texts[t], want.caption);
    EXPECT_EQ(texts[t + 1], want.shortcut);
    t += 2;
  }
}

class MainWindowMenus : public ::testing::Test {
 protected:
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(MainWindowMenus, MenuBarCaptionsAccessKeysAndShortcuts) {
  ASSERT_TRUE(window_.Created());
  EXPECT_EQ(GetMenu(window_.Main()), window_.Frm().MenuBar());
  ExpectMenu(window_.Frm().MenuBar(), 1, kMenuBar, std::size(kMenuBar));
}

TEST_F(MainWindowMenus, ListPopupMenuUnderItsHiddenRoot) {
  ASSERT_TRUE(window_.Created());
  HMENU root = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPMENU));
  ASSERT_EQ(GetMenuItemCount(root), 1);
  wchar_t caption[64] = {};
  GetMenuStringW(root, 0, caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"リストポップアップ");
  DestroyMenu(root);
  ExpectMenu(window_.Frm().PopupMenu(), 2, kListPopup, std::size(kListPopup));
}

// The accelerator table holds exactly the shortcuts the menu shows.
TEST_F(MainWindowMenus, AcceleratorTableMatchesTheShortcutTexts) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  ASSERT_TRUE(table);
  ACCEL entries[16] = {};
  const int n = CopyAcceleratorTableW(table, entries, 16);
  struct Want {
    BYTE flags;
    WORD key;
    int id;
  };
  const Want want[] = {{FVIRTKEY | FCONTROL, 'N', IDM_FILE_NEW},
                       {FVIRTKEY, VK_DELETE, IDM_EDIT_DELETE},
                       {FVIRTKEY | FCONTROL, 'V', IDM_EDIT_PASTE},
                       {FVIRTKEY | FCONTROL, 'A', IDM_EDIT_ALLSELECT},
                       {FVIRTKEY, VK_F5, IDM_PRINT_ALLPRINT}};
  ASSERT_EQ(n, static_cast<int>(std::size(want)));
  for (const Want& w : want) {
    SCOPED_TRACE(w.id);
    int found = 0;
    for (int i = 0; i < n; ++i)
      if (entries[i].cmd == w.id && entries[i].key == w.key && (entries[i].fVirt & ~0x80) == w.flags) ++found;
    EXPECT_EQ(found, 1);
  }
}

class MainWindowAccelerators : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Created());
    for (const wchar_t* name : {L"a.cwj", L"b.cwj", L"c.cwj"}) WriteTextFile(dir_ / name, "document");
    window_.Add(dir_.Path());
    ASSERT_EQ(window_.ItemCount(), 3);
    SetForegroundWindow(window_.Main());
    SetFocus(window_.ListView());
  }
  // Presses the keys and lets them through the window's loop until `done` holds.
  bool Press(std::initializer_list<WORD> keys, const std::function<bool()>& done) {
    PressKeys(keys);
    return window_.PumpUntil(done, 2s);
  }

  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(MainWindowAccelerators, ShortcutsReachTheirCommands) {
  // Ctrl+A marks every entry and leaves no current one.
  EXPECT_TRUE(Press({VK_CONTROL, 'A'}, [&] { return window_.SelectedItems().size() == 3; }));
  EXPECT_EQ(window_.FocusedItem(), -1);

  // F5: print all.
  EXPECT_TRUE(Press({VK_F5}, [&] { return !window_.Handlers().calls.empty(); }));
  EXPECT_EQ(window_.Handlers().calls, std::vector<std::string>{"PrintAll"});

  // Del removes the marked entries.
  EXPECT_TRUE(Press({VK_DELETE}, [&] { return window_.ItemCount() == 0; }));
  EXPECT_EQ(window_.StatusText(), L"3個のファイルをリストから削除しました。");

  // Ctrl+V pastes once the clipboard offers a file list (the watch enables the command).
  window_.OwnClipboard().offers = true;
  window_.OwnClipboard().files = std::vector<std::string>{U8(dir_ / L"b.cwj")};
  ASSERT_TRUE(window_.PumpUntil([&] { return window_.MenuBarEnabled(IDM_EDIT_PASTE); }, 1s));
  EXPECT_TRUE(Press({VK_CONTROL, 'V'}, [&] { return window_.ItemCount() == 1; }));
  EXPECT_EQ(window_.Handlers().calls.back(), "Paste");
  EXPECT_EQ(window_.ItemText(0, 0), L"b.cwj");

  // Ctrl+N clears the list and shows the starting text.
  EXPECT_TRUE(Press({VK_CONTROL, 'N'}, [&] { return window_.ItemCount() == 0; }));
  EXPECT_EQ(window_.StatusText(), L"リストビューにファイルまたはフォルダを追加してください。");
}

TEST_F(MainWindowAccelerators, ShortcutsOfDisabledCommandsDoNothing) {
  // No entry marked and none current: Del is disabled; an empty list disables F5; no file list on
  // the clipboard disables Ctrl+V.
  window_.LeftClick(window_.EmptyPoint());
  ASSERT_FALSE(window_.MenuBarEnabled(IDM_EDIT_DELETE));
  const std::wstring status = window_.StatusText();
  PressKeys({VK_DELETE});
  PressKeys({VK_CONTROL, 'V'});
  // A key that is handled proves that the earlier ones have been through the loop.
  EXPECT_TRUE(Press({VK_CONTROL, 'A'}, [&] { return window_.SelectedItems().size() == 3; }));
  EXPECT_EQ(window_.ItemCount(), 3);
  EXPECT_EQ(window_.StatusText(), status);
  EXPECT_TRUE(window_.Handlers().calls.empty());

  // An empty list: F5 does nothing; Ctrl+N after it shows that it has been through the loop.
  window_.Command(IDM_FILE_NEW);
  window_.Add(dir_ / L"missing.cwj");
  ASSERT_EQ(window_.StatusText(), L"印刷可能なファイルが見つかりませんでした。");
  ASSERT_FALSE(window_.MenuBarEnabled(IDM_PRINT_ALLPRINT));
  PressKeys({VK_F5});
  EXPECT_TRUE(Press({VK_CONTROL, 'N'}, [&] {
    return window_.StatusText() == L"リストビューにファイルまたはフォルダを追加してください。";
  }));
  EXPECT_TRUE(window_.Handlers().calls.empty());
}

// --- the toolbar ------------------------------------------------------------------------------------

enum class Kind { Plain, Check, Separator };

struct ButtonRow {
  int id;
  const char* key;
  Kind kind;
  const wchar_t* tip;
};

const ButtonRow kToolbar[] = {
    {IDT_NEW, "New", Kind::Plain, L"新規"},
    {0, "", Kind::Separator, L""},
    {IDT_PROPERTY, "Property", Kind::Plain, L"プロパティ"},
    {0, "", Kind::Separator, L""},
    {IDT_PRINT, "Print", Kind::Plain, L"すべて印刷"},
    {0, "", Kind::Separator, L""},
    {IDT_DELETE, "Delete", Kind::Plain, L"(リストから)削除"},
    {IDT_PASTE, "Paste", Kind::Plain, L"貼り付け"},
    {0, "", Kind::Separator, L""},
    {IDT_VW_LARGE, "VW_Large", Kind::Check, L"大きいアイコン"},
    {IDT_VW_SMALL, "VW_Small", Kind::Check, L"小さいアイコン"},
    {IDT_VW_LIST, "VW_List", Kind::Check, L"一覧"},
    {IDT_VW_DETAIL, "VW_Detail", Kind::Check, L"詳細"},
    {0, "", Kind::Separator, L""},
    {IDT_MAIL, "Mail", Kind::Plain, L"電子メールで報告"},
    {IDT_INET, "Inet", Kind::Plain, L"WWW"},
    {IDT_INFO, "Info", Kind::Plain, L"バージョン情報"},
};

// The pictures of iltToolBar in the order of its keys.
const std::string_view kPictureKeys[] = {"Delete", "Property", "New",       "Inet",    "Info",     "Mail",
                                         "Paste",  "Print",    "VW_Detail", "VW_List", "VW_Large", "VW_Small"};

int PictureOf(std::string_view key) {
  for (std::size_t i = 0; i < std::size(kPictureKeys); ++i)
    if (kPictureKeys[i] == key) return static_cast<int>(i);
  return -1;
}

// The tool tip the toolbar shows for a button, asked of its tool-tip control (which asks the
// main window with TTN_GETDISPINFO).
std::wstring TipOf(HWND toolbar, int id) {
  HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
  if (!tips) return L"(no tool tips)";
  wchar_t text[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = toolbar;
  info.uId = static_cast<UINT_PTR>(id);
  info.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
  return text;
}

TEST_F(MainWindowMenus, ToolbarPositionsKindsPicturesAndTips) {
  HWND toolbar = window_.Toolbar();
  ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(std::size(kToolbar)));
  auto* pictures = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
  ASSERT_TRUE(pictures);
  EXPECT_EQ(ImageList_GetImageCount(pictures), 12);
  for (std::size_t i = 0; i < std::size(kToolbar); ++i) {
    const ButtonRow& want = kToolbar[i];
    SCOPED_TRACE(::testing::Message() << "position " << i + 1 << " " << want.key);
    TBBUTTON b{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
    if (want.kind == Kind::Separator) {
      EXPECT_TRUE(b.fsStyle & BTNS_SEP);
      continue;
    }
    EXPECT_FALSE(b.fsStyle & BTNS_SEP);
    EXPECT_EQ(b.idCommand, want.id);
    EXPECT_EQ((b.fsStyle & BTNS_CHECK) != 0, want.kind == Kind::Check);
    EXPECT_EQ(b.iBitmap, PictureOf(want.key)) << "the picture with the button's key";
    EXPECT_LE(SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(want.id), 0), 0) << "no caption";
    EXPECT_EQ(TipOf(toolbar, want.id), want.tip);
  }
}

// A click on each plain button performs the command of its key.
TEST_F(MainWindowMenus, ToolbarClicksAreRoutedByKey) {
  TempDir dir;
  WriteTextFile(dir / L"a.cwj", "document");
  WriteTextFile(dir / L"b.cwj", "document");
  window_.OwnClipboard().offers = true;
  window_.OwnClipboard().files = std::vector<std::string>{U8(dir / L"b.cwj")};
  auto reset = [&] {
    window_.Command(IDM_FILE_NEW);
    window_.Add(dir / L"a.cwj");
    window_.LeftClick(window_.ItemPoint(0));  // a current entry, marked
    window_.Handlers().calls.clear();
  };
  struct Case {
    int id;
    std::vector<std::string> calls;
    int entriesAfter;
  };
  const Case cases[] = {
      {IDT_NEW, {}, 0},
      {IDT_PROPERTY, {"Property " + U8(dir / L"a.cwj")}, 1},
      {IDT_PRINT, {"PrintAll"}, 1},
      {IDT_DELETE, {}, 0},
      {IDT_PASTE, {"Paste"}, 2},
      {IDT_MAIL, {"SendMail"}, 1},
      {IDT_INET, {"Web"}, 1},
      {IDT_INFO, {"About"}, 1},
  };
  ASSERT_TRUE(window_.PumpUntil([&] { return window_.ButtonEnabled(IDT_PASTE); }, 1s));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    reset();
    ASSERT_TRUE(window_.ButtonEnabled(c.id));
    window_.ClickButton(c.id);
    EXPECT_EQ(window_.Handlers().calls, c.calls);
    EXPECT_EQ(window_.ItemCount(), c.entriesAfter);
  }
}

}  // namespace
}  // namespace velmok::testing
