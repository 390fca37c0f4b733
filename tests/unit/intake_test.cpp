#include "intake/intake.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/disk_file_system.h"
#include "fakes/fake_main_view.h"
#include "fakes/fakes.h"
#include "fakes/memory_file_system.h"
#include "intake/entry_texts.h"
#include "resource.h"

namespace velmok {
namespace {

namespace fs = std::filesystem;

TEST(EntryTexts, QualificationByTheLastFourCharacters) {
  struct Case {
    const char* name;
    bool qualifies;
  };
  const Case cases[] = {
      {"a.cwj", true},    {"A.CWJ", true},       {"b.Cwj", true},      {".cwj", true},
      {"見積.cwj", true}, {"a.cwj.bak", false},  {"a.cwjx", false},    {"cwj", false},
      {"wj", false},      {"", false},           {"a.ｃｗｊ", false},   {"a_cwj", false},
      {"書.cwj", true},   {"ab.cwk", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsClarisDocumentName(c.name), c.qualifies);
  }
}

TEST(EntryTexts, SizeAndTime) {
  const std::pair<std::uint64_t, const char*> sizes[] = {
      {0, "0 KB"}, {999, "0 KB"}, {1000, "1 KB"}, {1999, "1 KB"}, {1234567, "1234 KB"},
      {18446744073709551615ull, "18446744073709551 KB"}};
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(FormatSize(bytes), text);
  EXPECT_EQ(FormatModifiedTime({1999, 3, 7, 21, 5, 59, 0}), "1999/03/07 21:05");
  EXPECT_EQ(FormatModifiedTime({2001, 2, 3, 4, 5, 0, 0}), "2001/02/03 04:05");
}

TEST(IntakePaths, JoinPathAddsOneSeparator) {
  EXPECT_EQ(JoinPath("T:\\", "sub"), "T:\\sub");
  EXPECT_EQ(JoinPath("T:\\a", "sub"), "T:\\a\\sub");
}

// A real folder tree on disk under a scratch folder, seen as drive T:.
class IntakeOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("velmok-intake-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
    view.list = &list;
  }
  void TearDown() override { fs::remove_all(root_); }

  void File(const std::string& relative, std::size_t bytes = 10) {
    const fs::path p = root_ / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << std::string(bytes, 'x');
  }

  fs::path root_;
  fakes::DiskFileSystem disk{""};
  fakes::FakeMainView view;
  fakes::FakeLogFile logFile;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log{logFile, debugger, clock};
  fakes::FakeMessageBoxes messages;
  PrintList list;

  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < list.Count(); ++i) keys.push_back(list.At(i).Key());
    return keys;
  }
  // The logged texts without their stamps.
  std::vector<std::string> LoggedTexts() const { return logFile.Texts(); }
};

TEST_F(IntakeOnDisk, WalkOrderFilesBeforeSubfoldersAndTheEntryTexts) {
  disk = fakes::DiskFileSystem(root_.string());
  File("docs/a.cwj", 1234567);
  File("docs/b.txt");
  File("docs/sub/c.cwj", 999);
  fs::last_write_time(root_ / "docs/a.cwj", fs::file_time_type::clock::now());
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  log.InitDebugLog(1);
  logFile.lines.clear();

  intake.AddClarisFile("T:\\docs");

  EXPECT_EQ(Keys(), (std::vector<std::string>{"T:\\docs\\a.cwj", "T:\\docs\\sub\\c.cwj"}));
  EXPECT_EQ(list.At(0).Size(), "1234 KB");
  EXPECT_EQ(list.At(1).Size(), "0 KB");
  EXPECT_EQ(list.At(1).Folder(), "T:\\docs\\sub");
  EXPECT_EQ(list.At(1).Name(), "c.cwj");
  EXPECT_EQ(intake.AddedCount(), 2);
  EXPECT_EQ(view.status, "2 個のファイルをリストに追加しました。");
  EXPECT_EQ(view.busyCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.statusRepaints, 2) << "one repaint per folder entered";

  const auto texts = LoggedTexts();
  const auto foldcol = std::find(texts.begin(), texts.end(), "obj.foldcol=T:\\docs\\sub");
  ASSERT_NE(foldcol, texts.end());
  for (const char* before : {"Check=T:\\docs\\a.cwj", "Check=T:\\docs\\b.txt"})
    EXPECT_LT(std::find(texts.begin(), texts.end(), before), foldcol) << before;
  const std::vector<std::string> forA = {"Check=T:\\docs\\a.cwj", "File is cwj", "ERRcheck=", "Key=T:\\docs\\a.cwj"};
  EXPECT_TRUE(std::search(texts.begin(), texts.end(), forA.begin(), forA.end()) != texts.end());
}

TEST_F(IntakeOnDisk, DeepDocumentsHiddenFoldersAndSingleFiles) {
  disk = fakes::DiskFileSystem(root_.string());
  File("tree/one/two/three/deep.cwj");
  File("tree/.hidden/h.cwj");
  File("single.cwj");
  File("note.txt");
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  log.InitDebugLog(1);

  intake.AddClarisFile("T:\\tree");
  EXPECT_EQ(intake.AddedCount(), 2);
  EXPECT_EQ(disk.identifications, 1) << "a tree without links costs one identity: its volume's";
  EXPECT_NE(list.Find("T:\\tree\\one\\two\\three\\deep.cwj"), nullptr);
  EXPECT_NE(list.Find("T:\\tree\\.hidden\\h.cwj"), nullptr);

  const int repaints = view.statusRepaints;
  logFile.lines.clear();
  intake.AddClarisFile("T:\\single.cwj");
  EXPECT_EQ(view.statusRepaints, repaints) << "a single document: no 検索中 text";
  EXPECT_EQ(view.status, "1 個のファイルをリストに追加しました。");
  EXPECT_EQ(list.At(list.Count() - 1).Folder(), "T:");

  logFile.lines.clear();
  intake.AddClarisFile("T:\\note.txt");
  EXPECT_EQ(LoggedTexts(), (std::vector<std::string>{"Check=T:\\note.txt"}));
  EXPECT_EQ(view.status, "印刷可能なファイルが見つかりませんでした。");

  intake.AddClarisFile("T:\\nothing-here");
  EXPECT_EQ(view.status, "印刷可能なファイルが見つかりませんでした。");
}

TEST_F(IntakeOnDisk, DuplicatesAreSkippedAndNotCounted) {
  disk = fakes::DiskFileSystem(root_.string());
  for (const char* f : {"d/1.cwj", "d/2.cwj", "d/3.cwj", "d/4.cwj"}) File(f);
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  intake.AddClarisFile("T:\\d\\2.cwj");
  intake.AddClarisFile("T:\\d");
  EXPECT_EQ(intake.AddedCount(), 3);
  EXPECT_EQ(list.Count(), 4u);
  intake.AddClarisFile("T:\\d");
  EXPECT_EQ(view.status, "印刷可能なファイルが見つかりませんでした。");
  EXPECT_EQ(list.Count(), 4u);
}

TEST_F(IntakeOnDisk, LinksLeadingBackUpAreNotWalkedTwice) {
  disk = fakes::DiskFileSystem(root_.string());
  File("loop/a.cwj");
  File("loop/inner/b.cwj");
  fs::create_directory_symlink(root_ / "loop", root_ / "loop/inner/back");
  fs::create_directory_symlink(root_ / "loop/inner", root_ / "loop/again");
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  intake.AddClarisFile("T:\\loop");
  // Each real folder is walked once, through whichever name the file system lists first.
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_NE(list.Find("T:\\loop\\a.cwj"), nullptr);
  // The guard lives for one intake: starting inside, the link back up leads to the top folder,
  // which is entered once more in this intake, and the walk still ends.
  intake.AddClarisFile("T:\\loop\\inner");
  EXPECT_LE(disk.listings, 8);
}

TEST_F(IntakeOnDisk, ALinkWhoseIdentityCannotBeReadIsNotFollowed) {
  disk = fakes::DiskFileSystem(root_.string());
  File("loop/a.cwj");
  File("loop/inner/b.cwj");
  File("loop/plain/c.cwj");
  fs::create_directory_symlink(root_ / "loop", root_ / "loop/inner/back");
  // Every folder through the link, and one plain folder, keep their identity to themselves.
  disk.identityUnreadable = [](std::string_view path) {
    return path.find("\\back") != std::string_view::npos || path.find("\\plain") != std::string_view::npos;
  };
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  intake.AddClarisFile("T:\\loop");
  EXPECT_EQ(list.Count(), 3u) << "each document once";
  EXPECT_NE(list.Find("T:\\loop\\plain\\c.cwj"), nullptr) << "a plain folder is entered all the same";
  EXPECT_LE(disk.listings, 4);
  ASSERT_EQ(messages.shown.size(), 1u) << "what lies behind the link is missing, and told";
  EXPECT_NE(messages.shown[0].first.find("\r\nT:\\loop\\inner\\back"), std::string::npos);
}

TEST_F(IntakeOnDisk, UnreadableFoldersAreToldFilesWithoutATimeAreListedWithoutOne) {
  disk = fakes::DiskFileSystem(root_.string());
  File("f/ok.cwj");
  File("f/notime.cwj");
  File("f/locked/x.cwj");
  File("f/open/y.cwj");
  disk.unlistable.insert("T:\\f\\locked");
  disk.timeless.insert("T:\\f\\notime.cwj");
  Intake intake(list, view, view.CommandsFollow(), disk, log, messages);
  log.InitDebugLog(1);
  intake.AddClarisFile("T:\\f");
  EXPECT_EQ(intake.AddedCount(), 3);
  EXPECT_NE(list.Find("T:\\f\\ok.cwj"), nullptr);
  EXPECT_NE(list.Find("T:\\f\\open\\y.cwj"), nullptr);
  ASSERT_NE(list.Find("T:\\f\\notime.cwj"), nullptr);
  EXPECT_EQ(list.Find("T:\\f\\notime.cwj")->Modified(), "");
  EXPECT_EQ(view.status, "3 個のファイルをリストに追加しました。");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first,
            "次のフォルダを読み取れなかったため、中のファイルはリストに追加されていません。\r\n\r\nT:\\f\\locked");
  EXPECT_EQ(messages.shown[0].second, platform::MessageBoxes::Icon::Exclamation);
  const auto texts = LoggedTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Unreadable=T:\\f\\locked"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "NoTime=T:\\f\\notime.cwj"), texts.end());
}

TEST(Intake, TenThousandFoldersDeepNeedNoDeepStack) {
  fakes::MemoryFileSystem mem;
  std::string path = "M:\\root";
  for (int depth = 0; depth < 10000; ++depth) {
    auto& folder = mem.AddFolder(path);
    folder.subfolders.push_back("d");
    if (depth % 1000 == 999) folder.files.push_back({"doc.cwj", 1000, 42});
    path += "\\d";
  }
  mem.AddFolder(path).files.push_back({"bottom.cwj", 5000, 7});
  fakes::FakeMainView view;
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log(file, debugger, clock);
  fakes::FakeMessageBoxes messages;
  PrintList list;
  view.list = &list;
  Intake intake(list, view, view.CommandsFollow(), mem, log, messages);
  intake.AddClarisFile("M:\\root");
  EXPECT_EQ(intake.AddedCount(), 11);
  EXPECT_EQ(list.At(10).Name(), "bottom.cwj");
  EXPECT_EQ(list.At(10).Size(), "5 KB");
  EXPECT_EQ(mem.listings, 10001);
}

// The intake over an in-memory file system, its log on.
struct MemoryIntake {
  fakes::MemoryFileSystem mem;
  fakes::FakeMainView view;
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log{file, debugger, clock};
  fakes::FakeMessageBoxes messages;
  PrintList list;
  Intake intake{list, view, view.CommandsFollow(), mem, log, messages};
  MemoryIntake() {
    view.list = &list;
    log.InitDebugLog(1);
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < list.Count(); ++i) keys.push_back(list.At(i).Key());
    return keys;
  }
  bool Logged(const std::string& text) const {
    const auto texts = file.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

// A document is one entry by whichever of its names it comes: its "\\?\" form, its short name,
// another letter case, or a path through a share that shows its folder again. Each name alone gives
// the key of its one form; a short name stands for the long one (REPORT~2.CWJ is report.cwjx, no
// document).
TEST(Intake, OneFileByAnyOfItsNamesIsOneEntry) {
  auto fill = [](fakes::MemoryFileSystem& mem) {
    auto& docs = mem.AddFolder("C:\\Docs");
    docs.files.push_back({"Report.cwj", 10, 1});
    docs.files.push_back({"report.cwjx", 10, 1});
    mem.longNames["C:\\DOCS\\REPORT~1.CWJ"] = "C:\\Docs\\Report.cwj";
    mem.longNames["C:\\Docs\\REPORT~2.CWJ"] = "C:\\Docs\\report.cwjx";
    mem.AddFolder("\\\\server\\share").subfolders.push_back("Docs");
    mem.sameAs["\\\\server\\share\\Docs"] = "C:\\Docs";
  };
  const struct {
    std::string name;
    std::vector<std::string> keys;
  } alone[] = {
      {"\\\\?\\C:\\Docs\\Report.cwj", {"C:\\Docs\\Report.cwj"}},
      {"C:\\DOCS\\REPORT~1.CWJ", {"C:\\Docs\\Report.cwj"}},
      {"C:\\Docs\\REPORT~2.CWJ", {}},
      {"\\\\server\\share", {"\\\\server\\share\\Docs\\Report.cwj"}},
  };
  for (const auto& c : alone) {
    SCOPED_TRACE(c.name);
    MemoryIntake m;
    fill(m.mem);
    m.intake.AddClarisFile(c.name);
    EXPECT_EQ(m.Keys(), c.keys);
  }
  MemoryIntake m;
  fill(m.mem);
  fakes::ListedClipboard clipboard;
  clipboard.files = {"C:\\Docs\\Report.cwj", "\\\\?\\C:\\Docs\\Report.cwj", "C:\\DOCS\\REPORT~1.CWJ",
                     "c:\\docs\\report.CWJ", "\\\\server\\share"};
  m.intake.PasteFiles(clipboard);
  EXPECT_EQ(m.Keys(), (std::vector<std::string>{"C:\\Docs\\Report.cwj"}));
  EXPECT_TRUE(m.Logged("ERRcheck=Report.cwj")) << "the share's path is the same document";
}

// A folder that shows a folder above it again, as a plain folder (a link made on the server, a
// bind mount), is not entered: each document once, and no folder told as unreadable.
TEST(Intake, AFolderThatLeadsBackUpIsWalkedOnce) {
  MemoryIntake m;
  auto& top = m.mem.AddFolder("M:\\t");
  top.files.push_back({"a.cwj", 10, 1});
  top.subfolders.push_back("inner");
  auto& inner = m.mem.AddFolder("M:\\t\\inner");
  inner.files.push_back({"b.cwj", 10, 1});
  inner.subfolders.push_back("up");
  m.mem.sameAs["M:\\t\\inner\\up"] = "M:\\t";
  m.intake.AddClarisFile("M:\\t");
  EXPECT_EQ(m.Keys(), (std::vector<std::string>{"M:\\t\\a.cwj", "M:\\t\\inner\\b.cwj"}));
  EXPECT_EQ(m.mem.listings, 3);
  EXPECT_TRUE(m.Logged("Entered=M:\\t\\inner\\up"));
  EXPECT_TRUE(m.messages.shown.empty());
}

// A file list of many documents of one folder (a file manager's select all and copy) is read from
// one listing of that folder, in the list's order and by the list's spelling; only what the
// listing lacks is asked for one by one.
TEST(Intake, AFileListOfOneFolderIsReadFromOneListingOfIt) {
  MemoryIntake m;
  auto& big = m.mem.AddFolder("M:\\big");
  std::vector<std::string> paths;
  std::vector<std::string> keys;
  for (int i = 0; i < 300; ++i) {
    big.files.push_back({"d" + std::to_string(i) + ".cwj", 1000u * static_cast<unsigned>(i), i});
    paths.insert(paths.begin(), "M:\\big\\d" + std::to_string(i) + ".cwj");
  }
  paths[0] = "M:\\big\\D299.CWJ";
  keys = paths;
  big.subfolders.push_back("sub");
  m.mem.AddFolder("M:\\big\\sub").files.push_back({"s.cwj", 10, 1});
  m.mem.AddFolder("M:\\other").files.push_back({"o.cwj", 10, 1});
  for (const char* more : {"M:\\big\\sub", "M:\\big\\gone.cwj", "M:\\other\\o.cwj"}) paths.push_back(more);
  keys.push_back("M:\\big\\sub\\s.cwj");
  keys.push_back("M:\\other\\o.cwj");
  fakes::ListedClipboard clipboard;
  clipboard.files = paths;
  m.intake.PasteFiles(clipboard);
  EXPECT_EQ(m.Keys(), keys);
  EXPECT_EQ(m.list.Find("M:\\big\\d7.cwj")->Size(), "7 KB");
  EXPECT_EQ(m.mem.descriptions, 2) << "the name the listing lacks and the other folder's document";
  EXPECT_EQ(m.mem.listings, 2) << "the big folder once, and the subfolder walked";
  EXPECT_EQ(m.view.status, "1 個のファイルをリストに追加しました。");
}

TEST(Intake, DropPasteAndCommandLineRoads) {
  fakes::MemoryFileSystem mem;
  auto& a = mem.AddFolder("M:\\a");
  for (const char* n : {"1.cwj", "2.cwj", "3.cwj"}) a.files.push_back({n, 10, 1});
  mem.AddFolder("M:\\empty");
  mem.AddFolder("M:\\b").files.push_back({"x.cwj", 10, 1});
  mem.AddFolder("M:\\b").files.push_back({"y.cwj", 10, 1});
  fakes::FakeMainView view;
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log(file, debugger, clock);
  log.InitDebugLog(1);
  file.lines.clear();
  fakes::FakeMessageBoxes messages;
  PrintList list;
  view.list = &list;
  Intake intake(list, view, view.CommandsFollow(), mem, log, messages);

  // A drop of a folder with three new documents, then one with none: the status tells of the last.
  intake.DropFiles(std::vector<std::string>{"M:\\a", "M:\\empty"});
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(view.status, "印刷可能なファイルが見つかりませんでした。");
  ASSERT_GE(file.lines.size(), 3u);
  EXPECT_EQ(file.lines[0].substr(25), "OLEDragDrop");
  EXPECT_EQ(file.lines[1].substr(25), "VBCFFILES=True");
  EXPECT_EQ(file.lines[2].substr(25), "FILE=M:\\a");

  file.lines.clear();
  intake.DropFiles(std::nullopt);  // text dropped, not files
  ASSERT_EQ(file.lines.size(), 1u);
  EXPECT_EQ(file.lines[0].substr(25), "OLEDragDrop");

  // Two new documents in one drop: the count of the last path's call.
  intake.DropFiles(std::vector<std::string>{"M:\\b\\x.cwj", "M:\\b\\y.cwj"});
  EXPECT_EQ(view.status, "1 個のファイルをリストに追加しました。");
  EXPECT_EQ(list.Count(), 5u);

  fakes::FakeMainView fresh;
  PrintList other;
  fresh.list = &other;
  Intake start(other, fresh, fresh.CommandsFollow(), mem, log, messages);
  start.CommandLineIntake("");
  EXPECT_EQ(fresh.status, "") << "no arguments: the status keeps the window's starting text";
  EXPECT_FALSE(fresh.IsEnabled(IDM_PRINT_ALLPRINT)) << "the command states are computed all the same";
  start.CommandLineIntake("\"M:\\a\"");
  EXPECT_EQ(fresh.status, "3 個のファイルをリストに追加しました。");
  EXPECT_TRUE(fresh.IsEnabled(IDM_PRINT_ALLPRINT));
  // Documents dropped on the program's icon come unquoted, one after the other.
  start.CommandLineIntake("M:\\b\\x.cwj M:\\b\\y.cwj");
  EXPECT_EQ(other.Count(), 5u);
  EXPECT_EQ(fresh.status, "1 個のファイルをリストに追加しました。") << "the last path's count";
}

}  // namespace
}  // namespace velmok
