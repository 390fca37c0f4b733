#include "printing/probes.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "fakes/fakes.h"

namespace velmok {
namespace {

TEST(ClarisProbes, MainTitleAndTitleSearch) {
  fakes::FakeWindowSystem windows;
  ClarisProbes probes(windows);

  EXPECT_EQ(probes.GetClarisMainTitle(), "");
  const auto main = windows.Add({"CLW4MainClass", "", 7});
  EXPECT_EQ(probes.GetClarisMainTitle(), "");  // an untitled main window counts as none
  windows.windows[main].title = "ｸﾗﾘｽﾜｰｸｽ 4.0 - [見積.cwj]";
  EXPECT_EQ(probes.GetClarisMainTitle(), "ｸﾗﾘｽﾜｰｸｽ 4.0 - [見積.cwj]");
  EXPECT_EQ(probes.ClarisProcess(), 7u);

  EXPECT_EQ(probes.FindWindowByTitle("印刷"), "");
  windows.Add({"SomeoneElsesDialog", "印刷", 9});
  EXPECT_EQ(probes.FindWindowByTitle("印刷"), "印刷");  // any program's window counts
}

TEST(ClarisProbes, TitlesAreCutToTheProbesLimits) {
  fakes::FakeWindowSystem windows;
  ClarisProbes probes(windows);
  const std::string longTitle(300, 'x');
  windows.Add({"CLW4MainClass", longTitle, 1});
  windows.Add({"Other", longTitle, 2});
  EXPECT_EQ(probes.GetClarisMainTitle().size(), 255u);
  EXPECT_EQ(probes.FindWindowByTitle(longTitle).size(), 260u);
}

struct StartupWorld {
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log{file, debugger, clock};
  fakes::FakeInstanceLock instance;
  fakes::FakeWindowSystem windows;
  ClarisProbes probes{windows};
  fakes::FakeMessageBoxes messages;

  StartupOutcome Run() { return Main({log, instance, probes, messages}); }
};

TEST(Startup, RefusalsInTheirOrderOnlyTheFirstReported) {
  struct Case {
    const char* name;
    bool secondInstance;
    const char* clarisTitle;  // nullptr: not running
    bool printWindow;
    StartupOutcome outcome;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"clear", false, nullptr, false, StartupOutcome::ShowMainWindow, {}},
      {"second", true, "ｸﾗﾘｽﾜｰｸｽ 4.0", true, StartupOutcome::AnotherInstance, {}},
      {"claris", false, "ｸﾗﾘｽﾜｰｸｽ 4.0", false, StartupOutcome::ClarisRunning,
       {"クラリスワークスを閉じてから実行してください"}},
      {"both", false, "ｸﾗﾘｽﾜｰｸｽ 4.0", true, StartupOutcome::ClarisRunning,
       {"クラリスワークスを閉じてから実行してください"}},
      {"untitled claris", false, "", false, StartupOutcome::ShowMainWindow, {}},
      {"print window", false, nullptr, true, StartupOutcome::PrintWindowOpen,
       {"他のアプリケーションを閉じてから実行してください"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartupWorld w;
    w.file.created = platform::LocalDate{2026, 12, 1};
    w.instance.heldElsewhere = c.secondInstance;
    if (c.clarisTitle) w.windows.Add({"CLW4MainClass", c.clarisTitle, 3});
    if (c.printWindow) w.windows.Add({"#32770", "印刷", 4});
    EXPECT_EQ(w.Run(), c.outcome);
    std::vector<std::string> shown;
    for (const auto& [text, icon] : w.messages.shown) {
      shown.push_back(text);
      EXPECT_EQ(icon, platform::MessageBoxes::Icon::Information);
    }
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(w.file.deletes, 1) << "the daily reset comes first, whatever follows";
    EXPECT_TRUE(w.file.lines.empty()) << "start-up writes nothing to the log";
  }
}

// A first copy that runs elevated, or as another user in the session, keeps its token out of a
// second copy's reach: the system refuses to open it, and that, too, means it exists.
TEST(Startup, ASecondStartEndsSilentlyWhenTheTokenExistsWhetherOrNotItMayBeOpened) {
  const struct {
    platform::TokenAnswer answer;
    StartupOutcome outcome;
  } cases[] = {
      {platform::TokenAnswer::Made, StartupOutcome::ShowMainWindow},
      {platform::TokenAnswer::Exists, StartupOutcome::AnotherInstance},
      {platform::TokenAnswer::AccessDenied, StartupOutcome::AnotherInstance},
      {platform::TokenAnswer::Failed, StartupOutcome::ShowMainWindow},  // tells nothing: rather run
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    StartupWorld w;
    w.instance.answer = c.answer;
    EXPECT_EQ(w.Run(), c.outcome);
    EXPECT_TRUE(w.messages.shown.empty());
  }
}

}  // namespace
}  // namespace velmok
