#include "mainwindow/search_status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/memory_file_system.h"
#include "intake/intake.h"

namespace velmok {
namespace {

TEST(SearchStatus, HeldBackFoldersShowOnceTheirTimeHasCome) {
  struct Step {
    char what;  // 'o' offer, 't' tick, 'b' begin
    std::int64_t at;
    const char* text;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"the first folder at once", {{'o', 1000, "A"}}, {"A"}},
      {"fast folders: most are left out, the last one shows when due",
       {{'o', 0, "A"}, {'o', 10, "B"}, {'o', 20, "C"}, {'t', 39, ""}, {'t', 40, ""}, {'t', 60, ""}},
       {"A", "C"}},
      {"a slow folder right after a fast one shows while its own listing goes on",
       {{'o', 0, "fast"}, {'o', 5, "slow"}, {'t', 30, ""}, {'t', 45, ""}, {'t', 900, ""}},
       {"fast", "slow"}},
      {"a folder entered 40 ms or more after the last shown shows at once",
       {{'o', 0, "A"}, {'o', 40, "B"}, {'o', 200, "C"}},
       {"A", "B", "C"}},
      {"a tick with nothing held back shows nothing", {{'o', 0, "A"}, {'t', 100, ""}, {'t', 200, ""}}, {"A"}},
      {"each path of a drop starts afresh",
       {{'o', 0, "first path"}, {'o', 10, "held"}, {'b', 11, ""}, {'o', 12, "second path"}, {'t', 100, ""}},
       {"first path", "second path"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> shown;
    SearchStatusThrottle throttle([&](std::string_view text) { shown.emplace_back(text); });
    for (const auto& s : c.steps) {
      if (s.what == 'o') throttle.Offer(s.text, s.at);
      if (s.what == 't') throttle.Tick(s.at);
      if (s.what == 'b') throttle.Begin();
    }
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(SearchStatus, TheWalkBeginsEachPathAfreshAndGoesOnAfterEveryFolder) {
  fakes::MemoryFileSystem mem;
  mem.AddFolder("M:\\a").subfolders = {"x", "y"};
  mem.AddFolder("M:\\a\\x");
  mem.AddFolder("M:\\a\\y");
  mem.AddFolder("M:\\b");
  fakes::FakeMainView view;
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log(file, debugger, clock);
  fakes::FakeMessageBoxes messages;
  PrintList list;
  Intake intake(list, view, view.CommandsFollow(), mem, log, messages);
  std::vector<std::string> statusAtTicks;
  view.onSearchTick = [&] { statusAtTicks.push_back(view.status); };
  intake.DropFiles(std::vector<std::string>{"M:\\a", "M:\\b"});
  EXPECT_EQ(view.searchesBegun, 2);
  // After each folder's listing the walk gives the view its chance, the folder shown by then.
  EXPECT_EQ(statusAtTicks, (std::vector<std::string>{"検索中: M:\\a", "検索中: M:\\a\\x", "検索中: M:\\a\\y",
                                                     "検索中: M:\\b"}));
}

}  // namespace
}  // namespace velmok
