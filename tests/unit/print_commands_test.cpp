#include "printing/print_commands.h"

#include <gtest/gtest.h>

#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/print_list_builder.h"
#include "fakes/scripted_claris.h"
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
  fakes::FakePump pump;
  fakes::FakeClock clock;
  ProgressServices services{display, pump, clock};
  PrintState state;
  std::function<bool(int&)> run;
  int runs = 0;
  FrmProgressLogic logic{view, services, state, [this](int& printed) {
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

struct CommandWorld {
  PrintList list;
  fakes::FakeMainView view;
  fakes::FakeWindowSystem windows;
  fakes::FakeKeyboard keyboard;
  ClarisProbes probes{windows, keyboard};
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
  } session;
  fakes::FakeAnsiPaths ansi;
  PrintCommands commands{list, view, probes, ansi, messages, session, state};

  explicit CommandWorld(int entries) {
    for (int i = 1; i <= entries; ++i) list.Add(fakes::MakeEntry("C:\\d\\" + std::to_string(i) + ".cwj"));
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
