// Folders the walk could not read: told once after the whole drop, paste or command line, and
// a share that went away is not waited for again.

#include <gtest/gtest.h>

#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/memory_file_system.h"
#include "intake/intake.h"
#include "intake/unreadable_folders.h"
#include "resource.h"

namespace velmok {
namespace {

using fakes::ListedClipboard;

constexpr char kHeader[] = "次のフォルダを読み取れなかったため、中のファイルはリストに追加されていません。\r\n";

struct World {
  fakes::MemoryFileSystem files;
  fakes::FakeMainView view;
  fakes::FakeLogFile logFile;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log{logFile, debugger, clock};
  fakes::FakeMessageBoxes messages;
  ListedClipboard clipboard;
  PrintList list;
  Intake intake{list, view, view.CommandsFollow(), files, log, messages};

  World() { view.list = &list; }

  // A folder with `documents` documents, and a subfolder "locked" that cannot be listed.
  void FolderWithALockedOne(const std::string& path, int documents) {
    auto& folder = files.AddFolder(path);
    for (int i = 0; i < documents; ++i) folder.files.push_back({std::to_string(i) + ".cwj", 10, 1});
    folder.subfolders.push_back("locked");
    files.faults[path + "\\locked"] = platform::ListOutcome::Unreadable;
    files.AddFolder(path + "\\locked").files.push_back({"x.cwj", 10, 1});
  }
  std::vector<std::string> LoggedTexts() const { return logFile.Texts(); }
};

TEST(UnreadableFolders, OneMessageAfterEachRoadTheStatusAsEver) {
  struct Case {
    const char* road;
    std::function<void(World&)> take;
    std::string status;
    std::vector<std::string> told;  // in walk order; none: no message
  };
  const std::vector<Case> cases = {
      {"a drop of two folders", [](World& w) { w.intake.DropFiles(std::vector<std::string>{"M:\\a", "M:\\b"}); },
       "2 個のファイルをリストに追加しました。", {"M:\\a\\locked", "M:\\b\\locked"}},
      {"a paste",
       [](World& w) {
         w.clipboard.files = std::vector<std::string>{"M:\\b", "M:\\a"};
         w.intake.PasteFiles(w.clipboard);
       },
       "3 個のファイルをリストに追加しました。", {"M:\\b\\locked", "M:\\a\\locked"}},
      {"the command line", [](World& w) { w.intake.CommandLineIntake("\"M:\\a\" M:\\b M:\\fine"); },
       "1 個のファイルをリストに追加しました。", {"M:\\a\\locked", "M:\\b\\locked"}},
      {"one path", [](World& w) { w.intake.AddClarisFile("M:\\a"); }, "3 個のファイルをリストに追加しました。",
       {"M:\\a\\locked"}},
      {"the same folder twice in one drop",
       [](World& w) { w.intake.DropFiles(std::vector<std::string>{"M:\\a", "M:\\a"}); },
       "印刷可能なファイルが見つかりませんでした。", {"M:\\a\\locked"}},
      {"nothing unreadable", [](World& w) { w.intake.DropFiles(std::vector<std::string>{"M:\\fine"}); },
       "1 個のファイルをリストに追加しました。", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.road);
    World w;
    w.FolderWithALockedOne("M:\\a", 3);
    w.FolderWithALockedOne("M:\\b", 2);
    w.files.AddFolder("M:\\fine").files.push_back({"f.cwj", 10, 1});
    w.log.InitDebugLog(1);
    w.view.enabled[IDM_PRINT_ALLPRINT] = false;
    bool printableAtTheMessage = false;
    w.messages.onShow = [&w, &printableAtTheMessage] { printableAtTheMessage = w.view.IsEnabled(IDM_PRINT_ALLPRINT); };
    c.take(w);
    EXPECT_EQ(w.view.status, c.status);
    if (c.told.empty()) {
      EXPECT_TRUE(w.messages.shown.empty());
      continue;
    }
    ASSERT_EQ(w.messages.shown.size(), 1u) << "one message for the whole road";
    EXPECT_EQ(w.messages.shown[0].first, UnreadableFoldersMessage(c.told));
    EXPECT_EQ(w.messages.shown[0].second, platform::MessageBoxes::Icon::Exclamation);
    const auto texts = w.LoggedTexts();
    for (const auto& folder : c.told)
      EXPECT_NE(std::find(texts.begin(), texts.end(), "Unreadable=" + folder), texts.end()) << folder;
    EXPECT_TRUE(printableAtTheMessage) << "the command states are computed before the message";
  }
}

TEST(UnreadableFolders, TheMessageNamesTenAndCountsTheRest) {
  const struct {
    std::size_t folders;
    std::size_t named;
    const char* rest;
  } cases[] = {{1, 1, nullptr}, {10, 10, nullptr}, {11, 10, "ほか 1 個のフォルダ"}, {250, 10, "ほか 240 個のフォルダ"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folders);
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < c.folders; ++i) folders.push_back("\\\\srv\\docs\\" + std::to_string(i));
    std::string expected = std::string(kHeader) + "\r\n";
    for (std::size_t i = 0; i < c.named; ++i) expected += (i ? "\r\n" : "") + folders[i];
    if (c.rest) expected += std::string("\r\n") + c.rest;
    EXPECT_EQ(UnreadableFoldersMessage(folders), expected);
  }
}

// Nothing of a listing that broke off is taken, so that the message tells the truth about it.
TEST(UnreadableFolders, AListingThatBreaksOffAddsNothingOfItsFolder) {
  World w;
  auto& folder = w.files.AddFolder("M:\\half");
  folder.files = {{"1.cwj", 10, 1}, {"2.cwj", 10, 1}};
  folder.subfolders = {"sub"};
  w.files.AddFolder("M:\\half\\sub").files.push_back({"3.cwj", 10, 1});
  w.files.faults["M:\\half"] = platform::ListOutcome::Unreadable;
  w.intake.AddClarisFile("M:\\half");
  EXPECT_TRUE(w.list.Empty());
  EXPECT_EQ(w.view.status, "印刷可能なファイルが見つかりませんでした。");
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].first, UnreadableFoldersMessage({"M:\\half"}));
}

// A share that goes away in the middle of the walk: one wait for the network's time-out, not one
// for each folder still to be walked there. Everything elsewhere is walked as ever.
TEST(UnreadableFolders, AShareThatGoesAwayIsWaitedForOnce) {
  World w;
  auto& top = w.files.AddFolder("\\\\srv\\docs");
  for (int i = 0; i < 20; ++i) {
    const std::string name = "d" + std::to_string(i);
    top.subfolders.push_back(name);
    w.files.AddFolder("\\\\srv\\docs\\" + name).files.push_back({"doc.cwj", 10, 1});
  }
  w.files.AddFolder("L:\\local").files.push_back({"here.cwj", 10, 1});
  w.files.lostShare = fakes::MemoryFileSystem::Share{"\\\\srv\\docs", 5};  // after d0 to d3

  w.intake.DropFiles(std::vector<std::string>{"\\\\srv\\docs", "L:\\local", "\\\\srv\\docs\\d12"});

  EXPECT_EQ(w.files.askedAfterLoss, std::vector<std::string>{"\\\\srv\\docs\\d4"});
  EXPECT_EQ(w.list.Count(), 5u) << "d0 to d3, and the local folder";
  EXPECT_NE(w.list.Find("L:\\local\\here.cwj"), nullptr);
  ASSERT_EQ(w.messages.shown.size(), 1u);
  std::vector<std::string> told;
  for (int i = 4; i < 20; ++i) told.push_back("\\\\srv\\docs\\d" + std::to_string(i));
  EXPECT_EQ(w.messages.shown[0].first, UnreadableFoldersMessage(told)) << "d12 once, as the walk met it";

  // The next road asks again: the share may be back.
  w.files.lostShare.reset();
  w.intake.AddClarisFile("\\\\srv\\docs\\d12");
  EXPECT_NE(w.list.Find("\\\\srv\\docs\\d12\\doc.cwj"), nullptr);
}

// Below a link the walk may be on another share: when that one goes away, only what lies below
// the link is given up.
TEST(UnreadableFolders, AShareLostBehindALinkGivesUpOnlyWhatLiesBelowTheLink) {
  World w;
  w.files.AddFolder("L:\\tree").subfolders = {"toShare", "more"};
  w.files.links.insert("L:\\tree\\toShare");
  auto& linked = w.files.AddFolder("L:\\tree\\toShare");
  linked.subfolders = {"s1", "s2", "s3"};
  linked.files.push_back({"a.cwj", 10, 1});
  for (const char* s : {"s1", "s2", "s3"})
    w.files.AddFolder(std::string("L:\\tree\\toShare\\") + s).files.push_back({"x.cwj", 10, 1});
  w.files.AddFolder("L:\\tree\\more").files.push_back({"m.cwj", 10, 1});
  w.files.lostShare = fakes::MemoryFileSystem::Share{"L:\\tree\\toShare", 3};  // after the link and s1

  w.intake.AddClarisFile("L:\\tree");

  EXPECT_FALSE(w.files.askedAfterLoss.empty());
  for (const auto& asked : w.files.askedAfterLoss) EXPECT_EQ(asked, "L:\\tree\\toShare\\s2") << "only where it was lost";
  EXPECT_NE(w.list.Find("L:\\tree\\more\\m.cwj"), nullptr) << "the local folder beside the link";
  EXPECT_EQ(w.list.Count(), 3u);
  ASSERT_EQ(w.messages.shown.size(), 1u);
  EXPECT_EQ(w.messages.shown[0].first, UnreadableFoldersMessage({"L:\\tree\\toShare\\s2", "L:\\tree\\toShare\\s3"}));
}

}  // namespace
}  // namespace velmok
