#include "core/debug_log.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace velmok {
namespace {

struct LogWorld {
  fakes::FakeLogFile file;
  fakes::FakeDebuggerOutput debugger;
  fakes::FakeClock clock;
  DebugLog log{file, debugger, clock};
};

TEST(DebugLogFormat, FileLineFieldsAndMilliseconds) {
  struct Case {
    std::int32_t fraction100ns;
    const char* expected;
  };
  const Case cases[] = {
      {450'000, " 1 26/12/06 06:21:32.045 OLEDragDrop"},
      {70'000, " 1 26/12/06 06:21:32.007 OLEDragDrop"},   // leading zeros
      {0, " 1 26/12/06 06:21:32.000 OLEDragDrop"},
      {1'234'999, " 1 26/12/06 06:21:32.123 OLEDragDrop"},  // 123.4999 rounds down
      {1'235'000, " 1 26/12/06 06:21:32.124 OLEDragDrop"},  // 123.5 rounds up
      {9'996'000, " 1 26/12/06 06:21:32.1000 OLEDragDrop"},  // 999.6 rounds to 1000: at least three digits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fraction100ns);
    const platform::LocalDateTime now{2026, 12, 6, 6, 21, 32, c.fraction100ns};
    EXPECT_EQ(FormatLogFileLine(now, 1, " ", "OLEDragDrop"), c.expected);
  }
  EXPECT_EQ(FormatLogFileLine({1999, 3, 7, 21, 5, 9, 0}, 12, "#", "x"), "#12 99/03/07 21:05:09.000 x");
  EXPECT_EQ(FormatLogFileLine({2026, 12, 6, 0, 0, 0, 0}, 1, " ", ""), "");
  EXPECT_EQ(FormatDebuggerLine(1, " ", "OLEDragDrop"), " 1 OLEDragDrop");
}

TEST(DebugLog, LevelZeroWritesNothingAnywhere) {
  LogWorld w;
  w.log.WriteDebugLog("FILE=C:\\a.cwj");
  w.log.WriteDebugLog("");
  EXPECT_TRUE(w.file.lines.empty());
  EXPECT_FALSE(w.file.created.has_value());
  EXPECT_TRUE(w.debugger.lines.empty());
}

TEST(DebugLog, GatingByMessageLevelAndEmptyText) {
  struct Case {
    int debugLevel;
    std::string text;
    int level;
    std::vector<std::string> file;
    std::vector<std::string> debugger;
  };
  const std::vector<Case> cases = {
      {1, "FILE=C:\\書類\\a.cwj", 1, {" 1 26/12/06 06:21:32.045 FILE=C:\\書類\\a.cwj"}, {" 1 FILE=C:\\書類\\a.cwj"}},
      {1, "", 1, {""}, {}},                       // an empty line, nothing to the debugger
      {1, "deep", 2, {}, {" 2 deep"}},            // debugger only
      {2, "deep", 2, {" 2 26/12/06 06:21:32.045 deep"}, {" 2 deep"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + "/" + std::to_string(c.level));
    LogWorld w;
    w.log.InitDebugLog(c.debugLevel);
    w.file.lines.clear();
    w.debugger.lines.clear();
    w.log.WriteDebugLog(c.text, c.level);
    EXPECT_EQ(w.file.lines, c.file);
    EXPECT_EQ(w.debugger.lines, c.debugger);
  }
}

TEST(DebugLog, SwitchingOnMarksTheChangeSwitchingOffWritesNothing) {
  LogWorld w;
  w.log.InitDebugLog(1);
  EXPECT_EQ(w.log.DebugLevel(), 1);
  ASSERT_EQ(w.file.lines.size(), 2u);
  EXPECT_EQ(w.file.lines[0], "");
  EXPECT_EQ(w.file.lines[1], " 1 26/12/06 06:21:32.045 デバッグメッセージ初期化完了 Level = 1");
  EXPECT_EQ(w.debugger.lines, std::vector<std::string>{" 1 デバッグメッセージ初期化完了 Level = 1"});

  w.log.InitDebugLog(0);
  EXPECT_EQ(w.log.DebugLevel(), 0);
  EXPECT_EQ(w.file.lines.size(), 2u);
}

TEST(DebugLog, DailyResetByCreationDate) {
  struct Case {
    std::optional<platform::LocalDate> created;
    int deletes;
  };
  const Case cases[] = {
      {std::nullopt, 0},
      {platform::LocalDate{2026, 12, 6}, 0},  // today: kept
      {platform::LocalDate{2026, 12, 5}, 1},  // yesterday
      {platform::LocalDate{2025, 12, 6}, 1},  // same day of another year
      {platform::LocalDate{2026, 12, 7}, 1},  // a clock set back still counts as another day
  };
  for (const auto& c : cases) {
    LogWorld w;
    w.file.created = c.created;
    w.log.InitLogFile();
    EXPECT_EQ(w.file.deletes, c.deletes);
  }
}

TEST(DebugLog, TodaysLogSurvivesTodaysRestartsOnAFileSystemThatTunnels) {
  struct Case {
    const char* name;
    int secondsBetweenDeleteAndFirstLine;
  };
  const Case cases[] = {{"created at once: NTFS gives the old date back", 0},
                        {"created within the 15 s", 14},
                        {"created later", 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeClock clock;
    fakes::FakeLogFile file;
    file.clock = &clock;
    fakes::FakeDebuggerOutput debugger;
    clock.now = {2026, 12, 5, 17, 0, 0, 0};
    DebugLog yesterday(file, debugger, clock);
    yesterday.InitDebugLog(1);
    ASSERT_EQ(file.CreationDate(), (platform::LocalDate{2026, 12, 5}));

    // The first start of the day deletes yesterday's log and writes today's first lines.
    clock.now = {2026, 12, 6, 8, 30, 0, 0};
    DebugLog first(file, debugger, clock);
    first.InitLogFile();
    EXPECT_EQ(file.deletes, 1);
    clock.now.second += c.secondsBetweenDeleteAndFirstLine;
    first.InitDebugLog(1);
    first.WriteDebugLog("FILE=C:\\a.cwj");
    EXPECT_EQ(file.CreationDate(), (platform::LocalDate{2026, 12, 6}));

    // A later start the same day keeps the lines the user wants to send.
    clock.now = {2026, 12, 6, 9, 0, 0, 0};
    DebugLog second(file, debugger, clock);
    second.InitLogFile();
    EXPECT_EQ(file.deletes, 1);
    EXPECT_EQ(file.lines.size(), 3u);
  }
}

TEST(DebugLog, OnlyAFileThisCallCreatedIsStamped) {
  LogWorld w;
  w.log.InitDebugLog(1);  // creates the file with its first line
  w.log.WriteDebugLog("more");
  EXPECT_EQ(w.file.stamps, 1);
}

TEST(DebugLogFormat, ControlCharactersInANameCannotBeginALine) {
  struct Case {
    std::string text;
    const char* escaped;
  };
  const Case cases[] = {
      {"FILE=C:\\a.cwj\r\n 1 26/12/06 06:21:33.000 FILE=C:\\forged.cwj",
       "FILE=C:\\a.cwj<0D><0A> 1 26/12/06 06:21:33.000 FILE=C:\\forged.cwj"},
      {"a\tb", "a<09>b"},
      {std::string("a\x01\x1F\x7F" "b"), "a<01><1F><7F>b"},
      {"C:\\書類\\ü.cwj", "C:\\書類\\ü.cwj"},  // everything else as it is
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.escaped);
    EXPECT_EQ(FormatLogFileLine({2026, 12, 6, 6, 21, 32, 0}, 1, " ", c.text),
              std::string(" 1 26/12/06 06:21:32.000 ") + c.escaped);
    EXPECT_EQ(FormatDebuggerLine(1, " ", c.text), std::string(" 1 ") + c.escaped);
  }
}

TEST(DebugLog, InstalledLogIsTheProcessWideOne) {
  LogWorld w;
  EXPECT_EQ(DebugLevel(), 0);
  WriteDebugLog("before");  // no log installed: nothing happens
  InstallDebugLog(&w.log);
  w.log.InitDebugLog(1);
  WriteDebugLog("Key=C:\\a.cwj");
  EXPECT_EQ(DebugLevel(), 1);
  EXPECT_EQ(w.file.lines.back(), " 1 26/12/06 06:21:32.045 Key=C:\\a.cwj");
  InstallDebugLog(nullptr);
}

}  // namespace
}  // namespace velmok
