#include "mainwindow/frm_main_logic.h"

#include <gtest/gtest.h>

#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/print_list_builder.h"
#include "mainwindow/command_state.h"
#include "mainwindow/commands.h"
#include "resource.h"

namespace velmok {
namespace {

class RecordingHandlers final : public MainWindowHandlers {
 public:
  std::vector<std::string> calls;
  void Paste() override { calls.push_back("Paste"); }
  void ShowFileProperty(const std::string& path) override { calls.push_back("Property " + path); }
  void PrintAll() override { calls.push_back("PrintAll"); }
  void PrintSelected() override { calls.push_back("PrintSelected"); }
  void SendMail() override { calls.push_back("SendMail"); }
  void OpenMakersWebPage() override { calls.push_back("Web"); }
  void ShowAbout() override { calls.push_back("About"); }
  void LogLevelChosen(int index) override { calls.push_back("LogLevel " + std::to_string(index)); }
  void RestoreLogLevel() override { calls.push_back("RestoreLogLevel"); }
  void SaveLogLevel() override { calls.push_back("SaveLogLevel"); }
  bool printRunUnderWay = false;
  bool PrintRunUnderWay() const override { return printRunUnderWay; }
  bool runHoldsSession = false;
  bool PrintRunHoldsSession() const override { return runHoldsSession; }
};

struct World {
  PrintList list;
  fakes::FakeMainView view;
  RecordingHandlers handlers;
  FrmMainLogic logic{list, view, handlers};

  explicit World(int entries = 0) {
    for (int i = 1; i <= entries; ++i)
      list.Add(fakes::MakeEntry("C:\\d\\" + std::to_string(i) + ".cwj", "2001/02/03 04:05", "12 KB"));
  }
};

// The list-dependent elements, as RefreshMenus leaves them.
struct States {
  bool editDelete, popupDelete, property, printAll, printSelected;
  friend bool operator==(const States&, const States&) = default;
};

States Read(const fakes::FakeMainView& v) {
  const States s{v.IsEnabled(IDM_EDIT_DELETE), v.IsEnabled(IDM_POPUP_DELETE), v.IsEnabled(IDM_FILE_PROPERTY),
                 v.IsEnabled(IDM_PRINT_ALLPRINT), v.IsEnabled(IDM_PRINT_SELECTEDPRINT)};
  // Twins always follow their element.
  EXPECT_EQ(v.IsEnabled(IDT_DELETE), s.editDelete);
  EXPECT_EQ(v.IsEnabled(IDM_POPUP_PROPERTY), s.property);
  EXPECT_EQ(v.IsEnabled(IDT_PROPERTY), s.property);
  EXPECT_EQ(v.IsEnabled(IDT_PRINT), s.printAll);
  EXPECT_EQ(v.IsEnabled(IDM_POPUP_SELECTEDPRINT), s.printSelected);
  return s;
}

TEST(RefreshMenus, EnablingRules) {
  struct Case {
    const char* name;
    int entries;
    std::vector<std::size_t> selected;
    std::optional<std::size_t> current;
    States expected;
  };
  const std::vector<Case> cases = {
      {"empty list", 0, {}, std::nullopt, {false, false, false, false, false}},
      {"entries, nothing marked, no current", 3, {}, std::nullopt, {false, false, false, true, false}},
      {"current without selection mark", 3, {}, 1, {true, true, true, true, true}},
      {"marks but no current (after select all)", 3, {0, 1, 2}, std::nullopt, {true, false, false, true, true}},
      {"one mark and a current", 3, {2}, 0, {true, true, true, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World w(c.entries);
    for (auto i : c.selected) w.list.SetSelected(i, true);
    w.list.SetCurrent(c.current);
    w.logic.RefreshMenus();
    EXPECT_EQ(Read(w.view), c.expected);
    EXPECT_EQ(lvwPrintFilesAnySelected(w.list), c.expected.editDelete);
    EXPECT_TRUE(w.view.IsEnabled(IDM_EDIT_PASTE)) << "paste belongs to the clipboard watch";
  }
}

TEST(FrmMainLogic, ChangeViewKeepsBothMenusAndTheButtonsInStep) {
  World w;
  const struct {
    int command;
    int view;
  } steps[] = {
      {IDM_POPUP_VIEW0 + 2, 2},   // 一覧 from the pop-up menu
      {IDT_VW_DETAIL, 3},         // toolbar
      {IDT_VW_DETAIL, 3},         // pressing the pressed button again: still details, still pressed
      {IDM_VIEW_CHANGEVIEW0, 0},  // menu
      {IDT_VW_SMALL, 1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.command);
    w.view.checked[kViewButtons[static_cast<std::size_t>(s.view)]] = false;  // the toolbar released it on click
    w.logic.Execute(s.command);
    EXPECT_EQ(static_cast<int>(w.view.mode), s.view);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(w.view.IsChecked(IDM_VIEW_CHANGEVIEW0 + i), i == s.view);
      EXPECT_EQ(w.view.IsChecked(IDM_POPUP_VIEW0 + i), i == s.view);
      EXPECT_EQ(w.view.IsChecked(kViewButtons[static_cast<std::size_t>(i)]), i == s.view);
    }
  }
}

TEST(FrmMainLogic, ViewAndSortLeaveTheCommandStatesAlone) {
  World w(2);
  w.logic.RefreshMenus();
  const auto before = w.view.enabled;
  w.list.SetCurrent(0);
  w.logic.Execute(IDM_VIEW_CHANGEVIEW0 + 1);
  w.logic.Execute(IDM_POPUP_SORT0 + 2);
  w.logic.ColumnClick(3);
  EXPECT_EQ(w.view.enabled, before);
}

TEST(FrmMainLogic, ToolbarRoutingByKey) {
  struct Case {
    int button;
    std::string expectedCall;  // handler call, or "" for a window-side effect checked separately
  };
  const Case cases[] = {
      {IDT_PRINT, "PrintAll"}, {IDT_PASTE, "Paste"}, {IDT_MAIL, "SendMail"},
      {IDT_INET, "Web"},       {IDT_INFO, "About"},
  };
  for (const auto& c : cases) {
    World w(1);
    w.logic.Execute(c.button);
    ASSERT_EQ(w.handlers.calls.size(), 1u) << c.button;
    EXPECT_EQ(w.handlers.calls[0], c.expectedCall);
  }
  EXPECT_EQ(RouteToolbarKey("new"), std::nullopt) << "keys compare exactly";
  EXPECT_EQ(RouteToolbarKey("Bogus"), std::nullopt);
  for (const auto& b : kToolbarButtons) {
    if (b.kind == ToolbarButtonKind::Separator) continue;
    EXPECT_EQ(ToolbarKeyOf(b.id), b.key);
    EXPECT_TRUE(RouteToolbarKey(b.key).has_value()) << b.key;
  }
}

TEST(FrmMainLogic, DisabledElementsPerformNothing) {
  World w(2);
  w.logic.RefreshMenus();  // no current, no marks
  w.logic.Execute(IDM_FILE_PROPERTY);
  w.logic.Execute(IDM_POPUP_DELETE);
  w.logic.Execute(IDM_PRINT_SELECTEDPRINT);
  w.logic.ClipboardWatch(false);
  w.logic.Execute(IDM_EDIT_PASTE);
  w.logic.Execute(IDT_PASTE);
  EXPECT_TRUE(w.handlers.calls.empty());
  EXPECT_EQ(w.view.status, "");

  w.logic.ClipboardWatch(true);
  w.logic.Execute(IDM_POPUP_PASTE);
  w.list.SetCurrent(1);
  w.logic.RefreshMenus();
  w.logic.Execute(IDM_POPUP_PROPERTY);
  EXPECT_EQ(w.handlers.calls, (std::vector<std::string>{"Paste", "Property C:\\d\\2.cwj"}));
}

// While a print run holds the program, the main window is hidden; whatever still reaches it
// (a command posted by another program, an accelerator, a close) does nothing, so that after the
// run everything is exactly as before.
TEST(FrmMainLogic, NothingHappensWhileAPrintRunHoldsTheProgram) {
  World w(3);
  w.list.SetCurrent(1);
  w.list.SetSelected(2, true);
  w.logic.ClipboardWatch(true);
  w.logic.RefreshMenus();
  const fakes::FakeMainView before = w.view;
  w.handlers.printRunUnderWay = true;

  std::vector<int> every;
  for (int id = IDM_FILE_NEW; id <= IDM_FILE_CLOSE; ++id) every.push_back(id);
  for (int id = IDM_EDIT_DELETE; id <= IDM_EDIT_CHANGE; ++id) every.push_back(id);
  for (int i = 0; i < 4; ++i)
    for (int base : {IDM_VIEW_CHANGEVIEW0, IDM_VIEW_SORTORDER0, IDM_POPUP_VIEW0, IDM_POPUP_SORT0})
      every.push_back(base + i);
  for (int id : {IDM_PRINT_ALLPRINT, IDM_PRINT_SELECTEDPRINT, IDM_DEBUG_LOGGINGLEVEL0, IDM_DEBUG_LOGGINGLEVEL0 + 1,
                 IDM_DEBUG_SENDMAIL, IDM_HELP_INFO})
    every.push_back(id);
  for (int id = IDM_POPUP_DELETE; id <= IDM_POPUP_PROPERTY; ++id) every.push_back(id);
  for (int id = IDT_NEW; id <= IDT_INFO; ++id) every.push_back(id);
  for (int id : every) w.logic.Execute(id);
  w.logic.ColumnClick(0);
  w.logic.ListButtonDown(2);
  w.logic.ListButtonUp(2);

  EXPECT_TRUE(w.handlers.calls.empty());
  EXPECT_EQ(w.list.Count(), 3u);
  EXPECT_EQ(w.list.Current(), std::optional<std::size_t>(1));
  EXPECT_TRUE(w.list.IsSelected(2));
  EXPECT_EQ(w.view.closes, 0);
  EXPECT_EQ(w.view.popups, 0);
  EXPECT_EQ(w.view.listChanges, before.listChanges);
  EXPECT_EQ(w.view.status, before.status);
  EXPECT_EQ(w.view.enabled, before.enabled);
  EXPECT_EQ(w.view.checked, before.checked);
  EXPECT_FALSE(w.logic.CloseAllowed());
  EXPECT_TRUE(w.logic.QueryEndSession()) << "the run's report or closing message holds no session";
  w.handlers.runHoldsSession = true;
  EXPECT_FALSE(w.logic.QueryEndSession()) << "log-off waits until the run has been stopped";

  w.handlers.printRunUnderWay = w.handlers.runHoldsSession = false;
  EXPECT_TRUE(w.logic.CloseAllowed());
  EXPECT_TRUE(w.logic.QueryEndSession());
  w.logic.Execute(IDM_FILE_NEW);
  EXPECT_EQ(w.list.Count(), 0u) << "after the run, commands work again";
}

TEST(FrmMainLogic, PointerEvents) {
  World w(3);
  w.list.SetCurrent(1);
  w.list.SetSelected(2, true);
  w.logic.ListButtonDown(1);
  EXPECT_FALSE(w.list.Current().has_value()) << "a press clears the current entry";
  EXPECT_TRUE(w.list.IsSelected(2)) << "marks stay";

  // The list view then makes the clicked entry current; the item click shows its time and size.
  w.list.SetCurrent(0);
  w.logic.ListItemClick(0);
  EXPECT_EQ(w.view.status, "更新日時: 2001/02/03 04:05 サイズ: 12 KB");
  EXPECT_TRUE(w.view.IsEnabled(IDM_FILE_PROPERTY));

  // Right-click on empty space: the press cleared the current entry, the release opens the
  // pop-up with delete and property off, print selected still on for the remaining mark.
  w.logic.ListButtonDown(2);
  w.logic.ListButtonUp(2);
  EXPECT_EQ(w.view.popups, 1);
  EXPECT_FALSE(w.view.IsEnabled(IDM_POPUP_DELETE));
  EXPECT_FALSE(w.view.IsEnabled(IDM_POPUP_PROPERTY));
  EXPECT_TRUE(w.view.IsEnabled(IDM_POPUP_SELECTEDPRINT));

  for (int button : {1, 4}) {
    w.logic.ListButtonUp(button);
    EXPECT_EQ(w.view.popups, 1) << "only the right button opens the menu";
  }
}

TEST(FrmMainLogic, EditingCommandsReportAndRefresh) {
  World w(6);
  for (std::size_t i : {1u, 2u, 4u}) w.list.SetSelected(i, true);
  w.logic.Execute(IDM_EDIT_DELETE);
  EXPECT_EQ(w.view.status, "3個のファイルをリストから削除しました。");
  EXPECT_EQ(w.list.Count(), 3u);
  EXPECT_FALSE(w.view.IsEnabled(IDM_EDIT_DELETE));

  w.list.SetCurrent(0);
  w.logic.RefreshMenus();
  w.logic.Execute(IDT_DELETE);  // a current entry without a mark: enabled, removes nothing
  EXPECT_EQ(w.view.status, "0個のファイルをリストから削除しました。");
  EXPECT_EQ(w.list.Current(), 0u);

  w.logic.Execute(IDM_EDIT_ALLSELECT);
  EXPECT_TRUE(w.view.IsEnabled(IDM_EDIT_DELETE));
  EXPECT_FALSE(w.view.IsEnabled(IDM_POPUP_DELETE));
  w.logic.Execute(IDM_EDIT_CHANGE);
  EXPECT_FALSE(w.view.IsEnabled(IDM_PRINT_SELECTEDPRINT));
  EXPECT_TRUE(w.view.IsEnabled(IDM_PRINT_ALLPRINT));

  w.logic.Execute(IDT_NEW);
  EXPECT_TRUE(w.list.Empty());
  EXPECT_EQ(w.view.status, "リストビューにファイルまたはフォルダを追加してください。");
  EXPECT_FALSE(w.view.IsEnabled(IDM_PRINT_ALLPRINT));

  w.logic.Execute(IDM_FILE_CLOSE);
  EXPECT_EQ(w.view.closes, 1);
}

}  // namespace
}  // namespace velmok
