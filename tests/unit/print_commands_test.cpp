#include "printing/print_commands.h"

#include <gtest/gtest.h>

#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/memory_file_system.h"
#include "fakes/print_list_builder.h"
#include "fakes/scripted_claris.h"
#include "printing/claris_paths.h"
#include "printing/documents_present.h"
#include "core/texts.h"
#include "printing/frm_progress_logic.h"

namespace velmok {
namespace {

class RecordingProgressView final : public ProgressView {
 public:
  std::vector<std::string> calls;
  std::string warning;
  bool warningVisible = true;
  std::string button;
  bool buttonEnabled = true;
  void MakeTopmost() override { calls.push_back("topmost"); }
  void SetWarningText(std::string_view text) override { warning = text; }
  void SetWarningVisible(bool visible) override { warningVisible = visible; }
  void SetButton(std::string_view caption, bool enabled) override {
    button = caption;
    buttonEnabled = enabled;
  }
  void RemoveCloseItem() override { calls.push_back("remove close"); }
  void PostClose() override { calls.push_back("post close"); }
  void Close() override { calls.push_back("close"); }
};

struct ProgressWorld {
  RecordingProgressView view;
  fakes::RecordingDisplay display;
  fakes::FakeClock clock;
  fakes::FakePump pump{clock};
  ProgressServices services{display, pump, clock};
  PrintState state;
  fakes::FakeSessionDuties duties;
  RunSessionHold session{duties};
  std::function<bool(int&)> run;
  int runs = 0;
  FrmProgressLogic logic{view, services, state, session, [this](int& printed) {
                           ++runs;
                           return run(printed);
                         }};
};

TEST(FrmProgress, SuccessClosesTheWindowFailureTurnsItIntoAReport) {
  ProgressWorld w;
  w.run = [](int& printed) {
    printed = 3;
    return true;
  };
  w.logic.Form_Load();
  EXPECT_EQ(w.view.calls, std::vector<std::string>{"topmost"});
  EXPECT_EQ(w.view.button, "緊急操作中止(&X)");
  EXPECT_EQ(w.view.warning, "※マウス・キーボードに触れないでください。");
  w.logic.Form_Activate();
  EXPECT_EQ(w.state.LastPrintResult, 3);
  EXPECT_EQ(w.view.calls.back(), "post close");
  w.logic.Form_Activate();
  EXPECT_EQ(w.runs, 1) << "only the first activation runs";

  // The same window object, shown again for the next command: a new run, stop not requested.
  w.services.SetCancelRequested(true);
  w.run = [&](int& printed) {
    EXPECT_FALSE(w.services.CancelRequested());
    printed = 1;
    return false;
  };
  w.logic.Form_Load();
  w.logic.Form_Activate();
  EXPECT_EQ(w.runs, 2);
  EXPECT_EQ(w.state.LastPrintResult, -1);
  EXPECT_EQ(w.view.warning, "※処理が中断されました。");
  EXPECT_EQ(w.view.button, "閉じる(&X)");
  EXPECT_TRUE(w.view.buttonEnabled);
  EXPECT_FALSE(w.logic.CloseAllowed());
  w.logic.Timer1_Timer();
  EXPECT_FALSE(w.view.warningVisible) << "the report blinks too";
  w.logic.Timer1_Timer();
  EXPECT_TRUE(w.view.warningVisible);
  w.logic.cmdCancel_Click();
  EXPECT_EQ(w.view.calls.back(), "close");
  EXPECT_TRUE(w.logic.CloseAllowed());
}

TEST(FrmProgress, TheStopButtonWorksOnceAndNoRunStartsBesideAnother) {
  ProgressWorld w;
  w.run = [&](int&) {
    w.logic.cmdCancel_Click();  // the user presses the button while the run pumps events
    EXPECT_TRUE(w.services.CancelRequested());
    EXPECT_FALSE(w.view.buttonEnabled);
    w.logic.Form_Activate();    // an activation during the run starts nothing
    return w.services.DoEventsEx() == 0;
  };
  w.logic.Form_Load();
  w.logic.Form_Activate();
  EXPECT_EQ(w.runs, 1);
  EXPECT_EQ(w.state.LastPrintResult, -1);
  EXPECT_EQ(w.display.text, "\r\n中断要求が発生しました。\r\n");
  EXPECT_EQ(w.view.button, "閉じる(&X)");
}

TEST(FrmProgress, AStopPressedJustBeforeTheRunStartsIsNotLost) {
  ProgressWorld w;
  w.run = [&](int&) { return w.services.DoEventsEx() == 0; };
  w.logic.Form_Load();
  w.logic.cmdCancel_Click();  // between the window's showing and its first activation
  EXPECT_FALSE(w.view.buttonEnabled);
  w.logic.Form_Activate();
  EXPECT_EQ(w.state.LastPrintResult, -1);
  EXPECT_EQ(w.display.text, "\r\n中断要求が発生しました。\r\n");
}

// A question whether the session may end (a log-off, a shut-down the user then cancels, an
// installer's Restart Manager) is answered "not now" while a run is under way, and the run goes on;
// only the session's real end stops it, before its next keystroke. The machine is kept awake and the
// windows give their reason from the window's showing until the run has ended, and no longer.
TEST(FrmProgress, ASessionEndIsRefusedDuringARunWhichStopsOnlyWhenTheSessionEnds) {
  for (const bool sessionEnds : {false, true}) {
    SCOPED_TRACE(sessionEnds ? "the session ends" : "the session goes on");
    ProgressWorld w;
    w.session.AddWindow(1);
    w.run = [&](int& printed) {
      EXPECT_FALSE(w.logic.QueryEndSession()) << "refused while the run is under way";
      EXPECT_TRUE(w.duties.awake && w.duties.reasons.count(1));
      EXPECT_FALSE(w.services.CancelRequested()) << "a question is no stop";
      EXPECT_TRUE(w.view.buttonEnabled);
      if (sessionEnds) w.logic.StopForGood();
      printed = 3;
      return w.services.DoEventsEx() == 0;
    };
    w.logic.Form_Load();
    EXPECT_FALSE(w.logic.QueryEndSession()) << "a run about to start counts as under way";
    w.logic.Form_Activate();
    EXPECT_EQ(w.state.LastPrintResult, sessionEnds ? -1 : 3);
    EXPECT_TRUE(w.logic.QueryEndSession()) << "neither the report nor the closing message holds the session";
    EXPECT_EQ(w.duties.asleepCalls, 1);
    EXPECT_TRUE(!w.duties.awake && w.duties.reasons.empty());
    if (sessionEnds) {
      w.logic.StopForGood();
      EXPECT_EQ(w.view.button, "閉じる(&X)") << "a stop after the run changes nothing";
      EXPECT_TRUE(w.view.buttonEnabled);
    }
  }
  ProgressWorld gone;  // a window closed before its run started
  gone.logic.Form_Load();
  gone.logic.Form_Unload();
  EXPECT_TRUE(gone.logic.QueryEndSession());
  EXPECT_FALSE(gone.duties.awake);
}

struct CommandWorld {
  PrintList list;
  fakes::FakeMainView view;
  fakes::FakeWindowSystem windows;
  ClarisProbes probes{windows};
  fakes::FakeMessageBoxes messages;
  PrintState state;
  struct Session final : PrintSession {
    std::vector<std::string> calls;
    std::function<void()> onShow;
    void HideMainWindow() override { calls.push_back("hide"); }
    void ShowProgressModal() override {
      calls.push_back("progress");
      if (onShow) onShow();
    }
    void ShowMainWindow() override { calls.push_back("show"); }
    // The main window's status line.
    fakes::FakeMainView* view = nullptr;
    void SetStatusText(std::string_view text) override { view->SetStatusText(text); }
  } session;
  fakes::FakeAnsiPaths ansi;
  fakes::MemoryFileSystem files;
  PrintCommands commands{list, probes, files, ansi, messages, session, state};

  explicit CommandWorld(int entries) {
    session.view = &view;
    for (int i = 1; i <= entries; ++i) Add("C:\\d\\" + std::to_string(i) + ".cwj");
  }
  // A listed document, there on disk.
  void Add(const std::string& path) {
    list.Add(fakes::MakeEntry(path));
    files.AddFile(path);
  }
};

TEST(PrintCommands, RefusalsAndTargets) {
  {
    SCOPED_TRACE("empty list");
    CommandWorld w(0);
    w.state.TargetFiles = {"stale"};
    w.commands.mnuPrint_SelectedPrint_Click();
    EXPECT_EQ(w.view.status, "処理対象のファイルがありません。");
    EXPECT_TRUE(w.state.TargetFiles.empty());
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_TRUE(w.session.calls.empty());
  }
  {
    SCOPED_TRACE("ClarisWorks running");
    CommandWorld w(2);
    w.state.TargetFiles = {"stale"};
    w.windows.Add({"CLW4MainClass", "ｸﾗﾘｽﾜｰｸｽ 4.0", 7});
    w.commands.mnuPrint_AllPrint_Click();
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].first, "開いているクラリスワークスを閉じてください");
    EXPECT_TRUE(w.state.TargetFiles.empty());
    EXPECT_EQ(w.view.status, "");
    EXPECT_TRUE(w.session.calls.empty());
  }
  {
    SCOPED_TRACE("selected entries in list order, after a sort");
    CommandWorld w(3);
    w.list.ChangeSortOrder(0);  // by name, descending: 3, 2, 1
    w.list.SetSelected(2, true);
    w.list.SetSelected(0, true);
    w.session.onShow = [&] { w.state.LastPrintResult = 2; };
    w.commands.mnuListViewPopup_SelectedPrint_Click();
    EXPECT_EQ(w.state.TargetFiles, (std::vector<std::string>{"C:\\d\\3.cwj", "C:\\d\\1.cwj"}));
    EXPECT_EQ(w.session.calls, (std::vector<std::string>{"hide", "progress", "show"}));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].first, "印刷が終了しました。");
    EXPECT_EQ(w.view.status, "2個のファイルを正常に印刷しました。");
    EXPECT_EQ(w.list.Count(), 3u) << "a run never changes the list";
    EXPECT_TRUE(w.list.IsSelected(0));
  }
  {
    SCOPED_TRACE("nothing selected: a run of no documents");
    CommandWorld w(2);
    w.session.onShow = [&] { w.state.LastPrintResult = static_cast<int>(w.state.TargetFiles.size()); };
    w.commands.mnuPrint_SelectedPrint_Click();
    EXPECT_TRUE(w.state.TargetFiles.empty());
    EXPECT_EQ(w.view.status, "0個のファイルを正常に印刷しました。");
  }
  {
    SCOPED_TRACE("failed run");
    CommandWorld w(2);
    w.session.onShow = [&] { w.state.LastPrintResult = -1; };
    w.commands.mnuPrint_AllPrint_Click();
    EXPECT_EQ(w.state.TargetFiles.size(), 2u);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.view.status, "印刷に失敗しました。");
  }
}

// The outcome is reported in its order: the message box first, then the status line.
TEST(PrintCommands, TheMessageBoxComesBeforeTheStatusLine) {
  CommandWorld w(1);
  struct Boxes final : platform::MessageBoxes {
    fakes::FakeMainView* view = nullptr;
    std::vector<std::string> statusWhenShown;
    void ShowOk(std::string_view, Icon) override { statusWhenShown.push_back(view->status); }
  } boxes;
  boxes.view = &w.view;
  PrintCommands commands{w.list, w.probes, w.files, w.ansi, boxes, w.session, w.state};
  w.view.status = "before";
  w.session.onShow = [&] { w.state.LastPrintResult = 1; };
  commands.mnuPrint_AllPrint_Click();
  EXPECT_EQ(boxes.statusWhenShown, std::vector<std::string>{"before"});
  EXPECT_EQ(w.view.status, "1個のファイルを正常に印刷しました。");
}

TEST(PrintCommands, ARunNeverStartsInsideAnotherNorReportsAnEarlierSuccess) {
  {
    SCOPED_TRACE("commands given while the run is under way");
    CommandWorld w(3);
    w.session.onShow = [&] {
      EXPECT_TRUE(w.commands.RunUnderWay());
      const auto targets = w.state.TargetFiles;
      w.commands.mnuPrint_SelectedPrint_Click();
      w.commands.mnuPrint_AllPrint_Click();
      w.commands.ExecPrint();
      EXPECT_EQ(w.state.TargetFiles, targets) << "the documents of the run stay as they are";
      w.state.LastPrintResult = 3;
    };
    w.commands.mnuPrint_AllPrint_Click();
    EXPECT_EQ(w.session.calls, (std::vector<std::string>{"hide", "progress", "show"}));
    EXPECT_EQ(w.messages.shown.size(), 1u);
    EXPECT_FALSE(w.commands.RunUnderWay());
  }
  {
    SCOPED_TRACE("a run that never starts");
    CommandWorld w(2);
    w.state.LastPrintResult = 5;  // the last run's success
    w.commands.mnuPrint_AllPrint_Click();
    EXPECT_EQ(w.view.status, "印刷に失敗しました。");
    EXPECT_TRUE(w.messages.shown.empty());
  }
}

TEST(PrintCommands, DocumentsClarisWorksCannotReadGoByTheirShortNameOrNotAtAll) {
  const std::string readable = "C:\\d\\a.cwj";
  const std::string mueller = "C:\\d\\b_Müller.cwj";
  const std::string hangul = "C:\\d\\c_한글.cwj";
  const std::string deep = "C:\\" + std::string(300, 'x') + "\\d.cwj";
  struct Case {
    const char* name;
    std::vector<std::string> documents;
    std::map<std::string, std::string> shortForms;
    std::vector<std::string> handed;     // empty: refused
    std::vector<std::string> refused;
  };
  const std::vector<Case> cases = {
      {"every path readable, handed over as it stands", {readable, "C:\\d\\見積 (案).cwj"}, {},
       {readable, "C:\\d\\見積 (案).cwj"}, {}},
      {"short names stand in", {readable, mueller, deep},
       {{mueller, "C:\\d\\B_M_~1.CWJ"}, {deep, "C:\\XXXXXX~1\\D.CWJ"}},
       {readable, "C:\\d\\B_M_~1.CWJ", "C:\\XXXXXX~1\\D.CWJ"}, {}},
      {"no short name", {readable, hangul, mueller}, {{mueller, "C:\\d\\B_M_~1.CWJ"}}, {}, {hangul}},
      {"a short name ClarisWorks cannot read either", {mueller, deep}, {{mueller, "C:\\d\\Müller~1.cwj"}}, {},
       {mueller, deep}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommandWorld w(0);
    for (const auto& d : c.documents) w.Add(d);
    w.ansi.shortForms = c.shortForms;
    w.view.status = "unchanged";
    w.session.onShow = [&] { w.state.LastPrintResult = static_cast<int>(w.state.TargetFiles.size()); };
    w.commands.mnuPrint_AllPrint_Click();
    if (c.refused.empty()) {
      EXPECT_EQ(w.state.TargetFiles, c.documents) << "the run shows the documents' own names";
      EXPECT_EQ(w.state.ClarisPaths, c.handed);
      continue;
    }
    EXPECT_TRUE(w.session.calls.empty()) << "refused before anything is sent";
    EXPECT_TRUE(w.state.TargetFiles.empty());
    EXPECT_EQ(w.view.status, "unchanged");
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].second, platform::MessageBoxes::Icon::Information);
    EXPECT_EQ(w.messages.shown[0].first, UnreachableDocumentsMessage(c.refused));
    for (const auto& r : c.refused) EXPECT_NE(w.messages.shown[0].first.find(r), std::string::npos) << r;
  }
}

// Chosen documents deleted or replaced by a folder since they were listed, or named like a device,
// are refused before ClarisWorks is started, named in a box (before those ClarisWorks cannot
// read); documents not chosen do not count.
TEST(PrintCommands, DocumentsNoLongerThereOrNamedLikeADeviceAreRefusedBeforeAnythingStarts) {
  const std::string a = "C:\\d\\a.cwj", b = "C:\\d\\b.cwj", aux = "C:\\d\\aux.cwj", hangul = "C:\\d\\한.cwj";
  for (const bool selectedOnly : {false, true}) {
    SCOPED_TRACE(selectedOnly ? "print selected: only the first" : "print all");
    CommandWorld w(0);
    for (const auto& d : {a, b, aux, hangul}) w.Add(d);
    {
      auto& files = w.files.AddFolder("C:\\d").files;  // the folder as listed
      files.erase(files.begin() + 1);                    // b deleted
    }
    w.list.SetSelected(0, true);
    if (selectedOnly) {
      w.commands.mnuPrint_SelectedPrint_Click();
      EXPECT_EQ(w.session.calls.size(), 3u) << "printed";
      continue;
    }
    w.commands.mnuPrint_AllPrint_Click();
    EXPECT_TRUE(w.session.calls.empty()) << "refused before anything is started";
    EXPECT_TRUE(w.state.TargetFiles.empty());
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[0].first, DocumentsNotThereMessage({b, aux}));
    EXPECT_NE(w.messages.shown[0].first.find("\r\n" + b + "\r\n" + aux), std::string::npos);
    EXPECT_EQ(w.messages.shown[1].first, UnreachableDocumentsMessage({hangul}));
  }
  CommandWorld folder(0);
  folder.Add(a);
  folder.files.AddFolder("C:\\d").files.clear();
  folder.files.AddFolder(a);
  folder.commands.mnuPrint_AllPrint_Click();
  EXPECT_EQ(folder.messages.shown.at(0).first, DocumentsNotThereMessage({a})) << "a folder in the document's place";
}

TEST(DocumentsPresent, NamesOfDevicesInAnyCaseWithAnyExtension) {
  for (const char* device : {"aux.cwj", "CON.cwj", "nul.CWJ", "Prn.cwj", "com1.cwj", "LpT9.cwj", "com\u00B9.cwj",
                             "aux .cwj", "con.backup.cwj", "nul"})
    EXPECT_TRUE(NamesADevice(device)) << device;
  for (const char* name : {"com10.cwj", "com0.cwj", "lpt.cwj", "console.cwj", "xnul.cwj", "com\u00B4.cwj", "ＡＵＸ.cwj"})
    EXPECT_FALSE(NamesADevice(name)) << name;
}

TEST(ClarisPaths, TheRefusalNamesTenDocumentsAndCountsTheRest) {
  const auto many = [](int n) {
    std::vector<std::string> v;
    for (int i = 1; i <= n; ++i) v.push_back("C:\\d\\" + std::to_string(i) + "_한.cwj");
    return v;
  };
  const std::string intro = UnreachableDocumentsMessage({});
  EXPECT_EQ(UnreachableDocumentsMessage(many(1)), intro + "\r\nC:\\d\\1_한.cwj");
  const std::string eleven = UnreachableDocumentsMessage(many(11));
  EXPECT_NE(eleven.find("11_한.cwj"), std::string::npos) << "eleven are all named: a count of one helps nobody";
  EXPECT_EQ(eleven.find("ほか"), std::string::npos);
  const std::string fifteen = UnreachableDocumentsMessage(many(15));
  EXPECT_NE(fifteen.find("10_한.cwj"), std::string::npos);
  EXPECT_EQ(fifteen.find("11_한.cwj"), std::string::npos);
  EXPECT_EQ(fifteen.substr(fifteen.size() - std::string("\r\nほか 5 個のファイル").size()), "\r\nほか 5 個のファイル");
}

TEST(PrintQueue, JobsMinusOne) {
  struct Case {
    std::uint32_t jobs;
    int expected;
  };
  for (const auto& c : {Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{6, 5}, Case{7, 6}}) {
    fakes::ScriptedQueue q;
    q.jobs = {c.jobs};
    EXPECT_EQ(GetWaitingJobCount(q), c.expected) << c.jobs;
    EXPECT_EQ(GetWaitingJobCount(q), c.expected) << "the same queue answers the same";
    EXPECT_EQ(q.opens, 2);
    EXPECT_EQ(q.closes, 2);
  }
  // The queue grew between the two calls: the second reports nothing.
  struct Growing final : PrintQueue {
    bool HasDefaultPrinter() override { return true; }
    void Open() override {}
    std::uint32_t QueryBytesNeeded() override { return 100; }
    std::uint32_t Enumerate(std::uint32_t) override { return 0; }
    void Close() override {}
  } growing;
  EXPECT_EQ(GetWaitingJobCount(growing), -1);
  struct NoPrinter final : PrintQueue {
    int opened = 0;
    bool HasDefaultPrinter() override { return false; }
    void Open() override { ++opened; }
    std::uint32_t QueryBytesNeeded() override { return 100; }
    std::uint32_t Enumerate(std::uint32_t) override { return 9; }
    void Close() override {}
  } none;
  EXPECT_EQ(GetWaitingJobCount(none), 0);
  EXPECT_EQ(none.opened, 0) << "nothing is opened without a default printer";
}

}  // namespace
}  // namespace velmok
